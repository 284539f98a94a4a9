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
        first_ = flipped ? b + static_cast<std::ptrdiff_t>(h - 1) * s : b;
        stride_ = flipped ? -static_cast<std::ptrdiff_t>(s) : s;
    }

    bool valid() const { return bits != nullptr; }

    // Row y counted from the top, whichever way the rows are stored.
    std::uint32_t* row(int y) const { return first_ + y * stride_; }
    // Words from a pixel to the one below it.
    std::ptrdiff_t rowStep() const { return stride_; }

private:
    std::uint32_t* first_ = nullptr;  // the top row
    std::ptrdiff_t stride_ = 0;       // from one row to the one below
};

}  // namespace corvalen::raster
