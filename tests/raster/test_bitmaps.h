// Helpers shared by the raster tests.
#pragma once

#include <cstdint>

#include "raster/raster_bitmap.h"

namespace corvalen::raster::testing {

inline std::uint32_t& at(RasterBitmap& bitmap, int x, int y) {
    return bitmap.bits()[static_cast<long>(y) * bitmap.rowSpan() + x];
}

inline void fillWith(RasterBitmap& bitmap, std::uint32_t value) {
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) at(bitmap, x, y) = value;
}

inline int laneOf(std::uint32_t v, int lane) { return static_cast<int>((v >> (8 * lane)) & 0xFFu); }

inline std::uint32_t fromLanes(int b, int g, int r, int a) {
    return static_cast<std::uint32_t>(b) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(a) << 24;
}

// Division truncating toward zero, written out so the reference does not lean on the
// same operator the library uses.
inline int truncatedDivide(int n, int d) { return n >= 0 ? n / d : -((-n) / d); }

}  // namespace corvalen::raster::testing
