#include <sys/stat.h>
#include <wchar.h>

#include <cstdio>

#include "engine/file_access.h"
#include "engine/utf8_to_utf16.h"

namespace corvalen {

namespace {

bool WidePath(const std::string& utf8Path, std::wstring& wide) {
  std::u16string units;
  if (!Utf8ToUtf16(utf8Path, units)) return false;
  wide.assign(units.begin(), units.end());  // wchar_t is a UTF-16 unit on Windows
  return true;
}

}  // namespace

std::FILE* OpenFileForReading(const std::string& utf8Path) {
  std::wstring wide;
  if (!WidePath(utf8Path, wide)) return nullptr;
  return _wfopen(wide.c_str(), L"rb");
}

bool PathExists(const std::string& utf8Path) {
  std::wstring wide;
  if (!WidePath(utf8Path, wide)) return false;
  struct _stat64 status;
  return _wstat64(wide.c_str(), &status) == 0;
}

}  // namespace corvalen
