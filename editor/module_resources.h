// The plug-in library's own images and fonts. On Windows they are "PNG" and "TTF"
// resources of the module this code is linked into (editor/win); natively they are
// embedded in the program (editor/native).
#pragma once

#include <cstddef>

namespace corvalen::editor {

enum class ResourceType { Png, TrueType };

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;

    bool empty() const { return data == nullptr || size == 0; }
};

// Any thread. The bytes of resource id of the given type, read in place: they stay valid
// while the library is loaded and are never freed. Empty when there is no such resource.
ResourceBytes findModuleResource(ResourceType type, int id);

}  // namespace corvalen::editor
