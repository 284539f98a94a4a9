#include <sys/stat.h>

#include "engine/file_access.h"

namespace corvalen {

namespace {

bool IsRegularFile(const struct stat& status) { return S_ISREG(status.st_mode); }

}  // namespace

// Only regular files: a path restored from a project could name a device or a pipe, whose
// opening or reading would never end while the instance lock holds the audio.
std::FILE* OpenFileForReading(const std::string& utf8Path) {
    struct stat status;
    if (::stat(utf8Path.c_str(), &status) != 0 || !IsRegularFile(status)) return nullptr;
    std::FILE* file = std::fopen(utf8Path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    if (::fstat(fileno(file), &status) != 0 || !IsRegularFile(status)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool PathExists(const std::string& utf8Path) {
    struct stat status;
    return ::stat(utf8Path.c_str(), &status) == 0;
}

std::FILE* OpenFileForWriting(const std::string& utf8Path) {
    return std::fopen(utf8Path.c_str(), "wb");
}

bool FolderExists(const std::string& utf8Path) {
    struct stat status;
    return ::stat(utf8Path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool CreateFolder(const std::string& utf8Path) {
    return ::mkdir(utf8Path.c_str(), 0777) == 0 || FolderExists(utf8Path);
}

bool RemoveFile(const std::string& utf8Path) { return std::remove(utf8Path.c_str()) == 0; }

}  // namespace corvalen
