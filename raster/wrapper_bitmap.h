// A bitmap over pixels owned elsewhere; the editor's 0 x 0 missing-image placeholder.
#pragma once

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

class WrapperBitmap final : public RasterBitmap {
public:
    WrapperBitmap() = default;
    WrapperBitmap(std::uint32_t* pixels, int width, int height, int rowSpan, bool flipped = false)
        : pixels_(pixels), width_(width), height_(height), rowSpan_(rowSpan), flipped_(flipped) {}

    std::uint32_t* bits() override { return pixels_; }
    int width() const override { return width_; }
    int height() const override { return height_; }
    int rowSpan() const override { return rowSpan_; }
    bool isFlipped() const override { return flipped_; }
    // The pixels belong to someone else: a wrapper cannot change its size.
    bool resize(int, int) override { return false; }

private:
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int rowSpan_ = 0;
    bool flipped_ = false;
};

}  // namespace corvalen::raster
