#include <direct.h>
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

// The path's file status: through the wide call for UTF-8, which is what the editor gives;
// a path that is not UTF-8 (saved in a project as code-page bytes) goes to the narrow call
// unchanged, which reads it in the system code page.
bool StatusOf(const std::string& path, const std::wstring* wide, struct _stat64& status) {
    return (wide != nullptr ? _wstat64(wide->c_str(), &status) : _stat64(path.c_str(), &status)) ==
           0;
}

}  // namespace

// Only regular files: a path restored from a project could name a device such as CON or a
// pipe, whose reading would never end while the instance lock holds the audio.
std::FILE* OpenFileForReading(const std::string& utf8Path) {
    std::wstring wide;
    const std::wstring* widePath = WidePath(utf8Path, wide) ? &wide : nullptr;
    struct _stat64 status;
    if (!StatusOf(utf8Path, widePath, status) || !IsRegularFile(status)) return nullptr;
    std::FILE* file =
        widePath != nullptr ? _wfopen(wide.c_str(), L"rb") : std::fopen(utf8Path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    if (_fstat64(_fileno(file), &status) != 0 || !IsRegularFile(status)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool PathExists(const std::string& utf8Path) {
    std::wstring wide;
    const std::wstring* widePath = WidePath(utf8Path, wide) ? &wide : nullptr;
    struct _stat64 status;
    return StatusOf(utf8Path, widePath, status);
}

std::FILE* OpenFileForWriting(const std::string& utf8Path) {
    std::wstring wide;
    return WidePath(utf8Path, wide) ? _wfopen(wide.c_str(), L"wb")
                                    : std::fopen(utf8Path.c_str(), "wb");
}

bool FolderExists(const std::string& utf8Path) {
    std::wstring wide;
    const std::wstring* widePath = WidePath(utf8Path, wide) ? &wide : nullptr;
    struct _stat64 status;
    return StatusOf(utf8Path, widePath, status) && (status.st_mode & _S_IFDIR) != 0;
}

bool CreateFolder(const std::string& utf8Path) {
    std::wstring wide;
    const int made = WidePath(utf8Path, wide) ? _wmkdir(wide.c_str()) : _mkdir(utf8Path.c_str());
    return made == 0 || FolderExists(utf8Path);
}

bool RemoveFile(const std::string& utf8Path) {
    std::wstring wide;
    return (WidePath(utf8Path, wide) ? _wremove(wide.c_str()) : std::remove(utf8Path.c_str())) == 0;
}

}  // namespace corvalen
