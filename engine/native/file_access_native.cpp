#include <sys/stat.h>

#include "engine/file_access.h"

namespace corvalen {

std::FILE* OpenFileForReading(const std::string& utf8Path) {
  return std::fopen(utf8Path.c_str(), "rb");
}

bool PathExists(const std::string& utf8Path) {
  struct stat status;
  return ::stat(utf8Path.c_str(), &status) == 0;
}

}  // namespace corvalen
