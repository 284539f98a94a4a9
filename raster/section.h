// The platform half of SystemBitmap: a memory device context and 32-bit top-down
// sections selected into it. Windows: a memory DC and DIB sections. Native: no context,
// sections are aligned heap buffers. Internal.
#pragma once

#include <cstdint>

#include "raster/raster_bitmap.h"

namespace corvalen::raster::section {

// Null natively (or when the platform refuses).
DeviceContext createContext();
void deleteContext(DeviceContext context);

struct Section {
    void* handle = nullptr;  // null when creation failed
    std::uint32_t* bits = nullptr;
    void* previous = nullptr;  // object the context held before this section
};

// A width x height section, selected into the context when there is one.
Section create(DeviceContext context, int width, int height);
// Selects previous back into the context and frees the section.
void release(DeviceContext context, void* handle, void* previous);

}  // namespace corvalen::raster::section
