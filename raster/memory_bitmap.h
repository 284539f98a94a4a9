// A bitmap in a heap buffer it owns: the kind decoded images live in.
#pragma once

#include <cstddef>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

class MemoryBitmap final : public RasterBitmap {
public:
    // An empty (0 x 0) bitmap, or one resized to width x height (0 x 0 when that fails).
    MemoryBitmap() = default;
    MemoryBitmap(int width, int height);
    ~MemoryBitmap() override;

    std::uint32_t* bits() override;
    int width() const override { return width_; }
    int height() const override { return height_; }
    // Width rounded up to a multiple of 4.
    int rowSpan() const override;
    // Keeps a buffer that is large enough; grows a smaller one with a quarter to spare.
    // A non-positive width or height frees the buffer; a failed allocation leaves 0 x 0.
    bool resize(int width, int height) override;

    // Bytes the buffer holds (for tests of the growth rule).
    std::size_t allocatedBytes() const { return allocatedBytes_; }

private:
    void release();

    unsigned char* buffer_ = nullptr;  // as allocated; bits() is its 64-byte aligned start
    int width_ = 0;
    int height_ = 0;
    std::size_t allocatedBytes_ = 0;  // usable bytes after the alignment slack
};

}  // namespace corvalen::raster
