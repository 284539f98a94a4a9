// Windows: the "PNG" and "TTF" resources of the plug-in library itself.
#include "editor/win/module_resources_win.h"

#include <windows.h>

namespace corvalen::editor {
namespace {

// The module this code is linked into (the DLL inside a host, the executable in tests),
// not the host's executable.
HMODULE ownModule() {
    static const HMODULE module = [] {
        HMODULE found = nullptr;
        GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&ownModule), &found);
        return found;
    }();
    return module;
}

}  // namespace

void* ownModuleHandle() { return ownModule(); }

ResourceBytes findResourceInModule(void* module, ResourceType type, int id) {
    if (module == nullptr || id <= 0 || id > 0xFFFF) return {};
    const HMODULE handle = static_cast<HMODULE>(module);
    const char* typeName = type == ResourceType::Png ? "PNG" : "TTF";
    HRSRC info = FindResourceA(handle, MAKEINTRESOURCEA(id), typeName);
    if (info == nullptr) return {};
    const DWORD size = SizeofResource(handle, info);
    HGLOBAL loaded = LoadResource(handle, info);
    if (loaded == nullptr || size == 0) return {};
    const void* data = LockResource(loaded);
    if (data == nullptr) return {};
    return {static_cast<const unsigned char*>(data), static_cast<std::size_t>(size)};
}

ResourceBytes findModuleResource(ResourceType type, int id) {
    return findResourceInModule(ownModule(), type, id);
}

void* loadResourceModule(const char* path) {
    return LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

void releaseResourceModule(void* module) {
    if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

std::string platformFaceFor(const char* faceName) {
    HDC context = CreateCompatibleDC(nullptr);
    if (context == nullptr) return {};
    HFONT font = CreateFontA(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                             faceName);
    std::string face;
    if (font != nullptr) {
        HGDIOBJ previous = SelectObject(context, font);
        char name[LF_FACESIZE] = {};
        if (GetTextFaceA(context, LF_FACESIZE, name) > 0) face = name;
        SelectObject(context, previous);
        DeleteObject(font);
    }
    DeleteDC(context);
    return face;
}

}  // namespace corvalen::editor
