// Row addressing that honours a bitmap's span and storage order. Internal.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

struct PixelRows {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int span = 0;
    bool flipped = false;

    // Null bits or an empty size leaves the view invalid.
    explicit PixelRows(RasterBitmap* bitmap) {
        if (bitmap == nullptr) return;
        std::uint32_t* b = bitmap->bits();
        const int w = bitmap->width();
        const int h = bitmap->height();
        const int s = bitmap->rowSpan();
        if (b == nullptr || w <= 0 || h <= 0 || s < w) return;
        bits = b;
        width = w;
        height = h;
        span = s;
        flipped = bitmap->isFlipped();
    }

    bool valid() const { return bits != nullptr; }

    std::uint32_t* row(int y) const {
        const int stored = flipped ? height - 1 - y : y;
        return bits + static_cast<std::ptrdiff_t>(stored) * span;
    }
};

}  // namespace corvalen::raster
