// The bitmap interface every drawing operation of the raster library works on.
//
// Pixels are 32-bit words 0xAARRGGBB with straight (not premultiplied) alpha, stored
// little-endian (bytes blue, green, red, alpha in memory). Rows are top-down, each
// rowSpan() pixels long; the first row is at bits().
#pragma once

#include <cstdint>

namespace corvalen::raster {

// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The platform drawing context that draws into a bitmap's pixels: an HDC on Windows,
// never available in the native build. Portable code only passes it around.
using DeviceContext = void*;

class RasterBitmap {
public:
    RasterBitmap() = default;
    RasterBitmap(const RasterBitmap&) = delete;
    RasterBitmap& operator=(const RasterBitmap&) = delete;

    // Every kind of bitmap (memory, system, a wrapper of pixels it does not own) answers
    // these, so drawing code never asks which kind it draws into.
    virtual ~RasterBitmap() = default;
    // First pixel, or null when the bitmap has no pixels.
    virtual std::uint32_t* bits() = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Pixels from the start of one row to the start of the next (>= width).
    virtual int rowSpan() const = 0;
    // True when rows are stored bottom-up; false for every kind this library makes.
    virtual bool isFlipped() const { return false; }
    // True when the size changed. The pixel contents afterwards are not defined.
    virtual bool resize(int width, int height) = 0;
    // Platform context drawing into the pixels, or null.
    virtual DeviceContext deviceContext() { return nullptr; }

    // True when there are pixels to draw into or read from.
    bool hasPixels() { return bits() != nullptr && width() > 0 && height() > 0; }
};

}  // namespace corvalen::raster
