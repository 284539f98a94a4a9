// Loads the plug-in DLL with LoadLibrary, exactly as a DAW does.
#include <windows.h>

#include <vector>

#include "tools/host/plugin_library.h"

namespace corvalen::host {
namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

class WindowsPluginLibrary final : public PluginLibrary {
public:
    WindowsPluginLibrary(HMODULE module, PluginEntry entry) : module_(module), entry_(entry) {}
    ~WindowsPluginLibrary() override { FreeLibrary(module_); }
    WindowsPluginLibrary(const WindowsPluginLibrary&) = delete;
    WindowsPluginLibrary& operator=(const WindowsPluginLibrary&) = delete;

    PluginEntry Entry() const override { return entry_; }

private:
    HMODULE module_;
    PluginEntry entry_;
};

}  // namespace

std::unique_ptr<PluginLibrary> OpenPluginLibrary(const std::string& path, std::string& error) {
    const std::string windowsPath = ToWindowsPath(path);
    HMODULE module = LoadLibraryW(Widen(windowsPath).c_str());
    if (module == nullptr) {
        error = "LoadLibrary failed for " + windowsPath + " (error " +
                std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    FARPROC symbol = GetProcAddress(module, "VSTPluginMain");
    if (symbol == nullptr) {
        FreeLibrary(module);
        error = "no VSTPluginMain in " + windowsPath;
        return nullptr;
    }
    // The exported symbol is a function of this exact signature.
    PluginEntry entry = reinterpret_cast<PluginEntry>(reinterpret_cast<void*>(symbol));
    return std::make_unique<WindowsPluginLibrary>(module, entry);
}

}  // namespace corvalen::host
