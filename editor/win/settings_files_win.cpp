#include <windows.h>

#include <wchar.h>

#include "editor/settings_files.h"

namespace corvalen::editor {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int units =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    return wide;
}

std::string Utf8(const wchar_t* wide) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return std::string();
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();  // the terminating zero
    return utf8;
}

}  // namespace

char PathSeparator() { return '\\'; }

// The wide environment block: a user name or profile folder outside the code page stays
// reachable.
bool EnvironmentFolder(const char* name, std::string& folder) {
    const std::wstring wideName = Wide(name);
    const wchar_t* value = _wgetenv(wideName.c_str());
    folder = value != nullptr ? Utf8(value) : std::string();
    return !folder.empty();
}

}  // namespace corvalen::editor
