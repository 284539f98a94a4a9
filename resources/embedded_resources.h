// Native build only: the images and fonts built into the program, the native counterpart
// of the DLL's "PNG" and "TTF" resources. The editor reaches them through its resource
// interface (editor/module_resources.h), never directly.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvalen::resources {

struct EmbeddedResource {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// Any thread. The bytes of resource id of type "PNG" or "TTF"; empty when there is none.
// The bytes live as long as the program.
EmbeddedResource embeddedResource(const char* type, int id);

}  // namespace corvalen::resources
