#include <direct.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <wchar.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/extended_length_path.h"
#include "engine/file_access.h"
#include "engine/utf8_to_utf16.h"

namespace corvalen {

namespace {

// A path as the wide calls take it: UTF-16, in the extended form when it is long.
struct WidePath {
    std::wstring text;
    bool lengthened = false;  // made extended here (not handed over in that form)
};

bool ToWide(const std::string& utf8Path, WidePath& wide) {
    std::u16string units;
    if (!Utf8ToUtf16(utf8Path, units)) return false;
    const std::u16string extended = ExtendedLengthPath(units);
    wide.text.assign(extended.begin(), extended.end());  // wchar_t is a UTF-16 unit on Windows
    wide.lengthened = extended != units;
    return true;
}

bool IsRegularFile(const struct _stat64& status) { return (status.st_mode & _S_IFREG) != 0; }

// The path's file status: through the wide call for UTF-8, which is what the editor gives;
// a path that is not UTF-8 (saved in a project as code-page bytes) goes to the narrow call
// unchanged, which reads it in the system code page. The C library's status query refuses a
// path holding '?', so a path lengthened here (\\?\...) is looked up through the directory
// search, which takes it; in the extended form no name reaches a device (CON is a plain name).
bool StatusOf(const std::string& path, const WidePath* wide, struct _stat64& status) {
    if (wide == nullptr) return _stat64(path.c_str(), &status) == 0;
    if (!wide->lengthened) return _wstat64(wide->text.c_str(), &status) == 0;
    _wfinddata64_t found{};
    const std::intptr_t search = _wfindfirst64(wide->text.c_str(), &found);
    if (search == -1) return false;
    _findclose(search);
    status = {};
    status.st_mode =
        static_cast<unsigned short>((found.attrib & _A_SUBDIR) != 0 ? _S_IFDIR : _S_IFREG);
    status.st_size = found.size;
    return true;
}

}  // namespace

// Only regular files: a path restored from a project could name a device such as CON or a
// pipe, whose reading would never end while the instance lock holds the audio.
std::FILE* OpenFileForReading(const std::string& utf8Path) {
    WidePath wide;
    const WidePath* widePath = ToWide(utf8Path, wide) ? &wide : nullptr;
    struct _stat64 status;
    if (!StatusOf(utf8Path, widePath, status) || !IsRegularFile(status)) return nullptr;
    std::FILE* file = widePath != nullptr ? _wfopen(wide.text.c_str(), L"rb")
                                          : std::fopen(utf8Path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    if (_fstat64(_fileno(file), &status) != 0 || !IsRegularFile(status)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool PathExists(const std::string& utf8Path) {
    WidePath wide;
    const WidePath* widePath = ToWide(utf8Path, wide) ? &wide : nullptr;
    struct _stat64 status;
    return StatusOf(utf8Path, widePath, status);
}

std::FILE* OpenFileForWriting(const std::string& utf8Path) {
    WidePath wide;
    return ToWide(utf8Path, wide) ? _wfopen(wide.text.c_str(), L"wb")
                                  : std::fopen(utf8Path.c_str(), "wb");
}

bool FolderExists(const std::string& utf8Path) {
    WidePath wide;
    const WidePath* widePath = ToWide(utf8Path, wide) ? &wide : nullptr;
    struct _stat64 status;
    return StatusOf(utf8Path, widePath, status) && (status.st_mode & _S_IFDIR) != 0;
}

bool CreateFolder(const std::string& utf8Path) {
    WidePath wide;
    const int made = ToWide(utf8Path, wide) ? _wmkdir(wide.text.c_str()) : _mkdir(utf8Path.c_str());
    return made == 0 || FolderExists(utf8Path);
}

bool RemoveFile(const std::string& utf8Path) {
    WidePath wide;
    return (ToWide(utf8Path, wide) ? _wremove(wide.text.c_str()) : std::remove(utf8Path.c_str())) ==
           0;
}

}  // namespace corvalen
