// Decoding PNG images from memory into 0xAARRGGBB bitmaps.
#pragma once

#include <cstddef>
#include <memory>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

// Any thread (no shared state). Decodes every PNG colour type, bit depth and interlacing
// to 8-bit ARGB. With dest, resizes it to the image and decodes into it; without, creates
// a MemoryBitmap that the caller owns. Returns the bitmap, or null on any failure (bad
// signature, corrupt data, a size that did not take); a bitmap created here is freed then.
RasterBitmap* decodePng(const void* bytes, std::size_t length, RasterBitmap* dest = nullptr);

// The same, always into a new MemoryBitmap.
std::unique_ptr<RasterBitmap> decodePngToNew(const void* bytes, std::size_t length);

}  // namespace corvalen::raster
