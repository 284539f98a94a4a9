// WinEditorGraphics: the open and save dialogs, the host, plug-in and application-data
// folders, and opening a web address.
// <windows.h> comes first: the other system headers build on it.
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <iterator>
#include <sstream>

#include "editor/win/win_editor_graphics.h"

namespace corvalen::editor {
namespace {

constexpr int kPathCharacters = 260;
constexpr int kModulePathCharacters = 259;
constexpr DWORD kOpenFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;    // 0x1800
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;  // 0x802
constexpr int kShellSuccessAbove = 32;

// UTF-8 of at most kPathCharacters bytes; false (and empty) when it does not convert or fit.
bool toUtf8Path(const wchar_t* wide, std::string& out) {
    char bytes[kPathCharacters + 1] = {};
    const int written = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, bytes,
                                            static_cast<int>(sizeof bytes), nullptr, nullptr);
    if (written == 0) {
        out.clear();
        return false;
    }
    out = bytes;
    return true;
}

std::wstring toWide(const char* text) {
    if (text == nullptr || text[0] == '\0') return {};
    const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide.data(), count);
    wide.resize(static_cast<std::size_t>(count - 1));
    return wide;
}

// "csv txt" -> "*.csv;*.txt"; the first extension is the default one.
std::wstring filterPattern(const std::wstring& extensions, std::wstring& firstExtension) {
    std::wistringstream words(extensions);
    std::wstring word;
    std::wstring pattern;
    while (words >> word) {
        if (firstExtension.empty()) firstExtension = word;
        if (!pattern.empty()) pattern += L';';
        pattern += L"*." + word;
    }
    return pattern;
}

bool moduleFolder(HMODULE module, std::string& folder) {
    wchar_t path[kModulePathCharacters + 1] = {};
    const DWORD length = GetModuleFileNameW(module, path, kModulePathCharacters);
    wchar_t* lastSeparator = length > 0 ? wcsrchr(path, L'\\') : nullptr;
    if (lastSeparator == nullptr) {
        folder.clear();
        return false;
    }
    lastSeparator[1] = L'\0';  // the folder keeps its separator
    return toUtf8Path(path, folder);
}

}  // namespace

bool WinEditorGraphics::promptForFile(std::string& path, int mode, const char* initialFolder,
                                      const char* extensions) {
    if (window_ == nullptr || (mode != 0 && mode != 1)) {
        path.clear();
        return false;
    }
    wchar_t file[kPathCharacters] = {};
    if (!path.empty() && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.c_str(), -1, file,
                                             static_cast<int>(std::size(file))) == 0)
        file[0] = L'\0';
    std::wstring firstExtension;
    const std::wstring pattern = filterPattern(toWide(extensions), firstExtension);
    // Display name and pattern are the same text; the list ends with an empty entry.
    std::wstring filter;
    if (!pattern.empty()) filter = pattern + L'\0' + pattern + L'\0' + L'\0';
    const std::wstring folder = toWide(initialFolder);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = kPathCharacters;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = firstExtension.empty() ? nullptr : firstExtension.c_str();
    dialog.Flags = mode == 0 ? kOpenFlags : kSaveFlags;
    const BOOL chosen = mode == 0 ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    if (!chosen) {
        path.clear();
        return false;
    }
    return toUtf8Path(file, path);
}

bool WinEditorGraphics::hostFolder(std::string& folder) { return moduleFolder(nullptr, folder); }

bool WinEditorGraphics::pluginFolder(std::string& folder) { return moduleFolder(module_, folder); }

bool WinEditorGraphics::applicationDataFolder(std::string& folder) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path))) {
        folder.clear();
        return false;
    }
    return toUtf8Path(path, folder);
}

bool WinEditorGraphics::openWebAddress(const char* address, const char* caption,
                                       const char* question, const char* errorText) {
    if (question != nullptr &&
        MessageBoxA(window_, question, caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    bool opened = false;
    DWORD connection = 0;
    if (address != nullptr && InternetGetConnectedState(&connection, 0)) {
        if (!comInitialised_) {
            // The shell may hand the address to COM servers on this thread.
            comInitialised_ = SUCCEEDED(
                CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        }
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteA(window_, "open", address, nullptr, nullptr, SW_SHOWNORMAL));
        opened = result > kShellSuccessAbove;
    }
    if (!opened && errorText != nullptr) MessageBoxA(window_, errorText, caption, MB_OK);
    return opened;
}

}  // namespace corvalen::editor
