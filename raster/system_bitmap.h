// A bitmap backed by a platform section that a device context draws into: on Windows a
// 32-bit top-down DIB section selected into its own memory DC; natively a plain aligned
// buffer with no device context. The editor's draw bitmap and the glyph renderer's
// scratch bitmaps are of this kind.
#pragma once

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

class SystemBitmap final : public RasterBitmap {
public:
    // Creates the memory device context (Windows); the bitmap starts 0 x 0 without pixels.
    SystemBitmap();
    SystemBitmap(int width, int height);
    // Restores the context's previous object, deletes the section, then the context.
    ~SystemBitmap() override;

    std::uint32_t* bits() override { return bits_; }
    int width() const override { return width_; }
    int height() const override { return height_; }
    // The section's allocated width: a multiple of 4, and never less than it was, since a
    // section that is already large enough is kept.
    int rowSpan() const override { return allocatedWidth_; }
    // A section is never shrunk. Below 1 x 1 there is no section and the result is false.
    bool resize(int width, int height) override;
    DeviceContext deviceContext() override { return context_; }

    int allocatedHeight() const { return allocatedHeight_; }

private:
    void releaseSection();

    int width_ = 0;
    int height_ = 0;
    DeviceContext context_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int allocatedWidth_ = 0;
    int allocatedHeight_ = 0;
    void* section_ = nullptr;   // platform section handle (owned)
    void* previous_ = nullptr;  // object selected into the context before the section
};

}  // namespace corvalen::raster
