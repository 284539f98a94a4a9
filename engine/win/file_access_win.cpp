#include <stdio.h>
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

bool IsRegularFile(const struct _stat64& status) { return (status.st_mode & _S_IFREG) != 0; }

}  // namespace

// Only regular files: a path restored from a project could name a device such as CON or a
// pipe, whose reading would never end while the instance lock holds the audio.
std::FILE* OpenFileForReading(const std::string& utf8Path) {
  std::wstring wide;
  if (!WidePath(utf8Path, wide)) return nullptr;
  struct _stat64 status;
  if (_wstat64(wide.c_str(), &status) != 0 || !IsRegularFile(status)) return nullptr;
  std::FILE* file = _wfopen(wide.c_str(), L"rb");
  if (file == nullptr) return nullptr;
  if (_fstat64(_fileno(file), &status) != 0 || !IsRegularFile(status)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

bool PathExists(const std::string& utf8Path) {
  std::wstring wide;
  if (!WidePath(utf8Path, wide)) return false;
  struct _stat64 status;
  return _wstat64(wide.c_str(), &status) == 0;
}

}  // namespace corvalen
