// Filling a rectangle with one colour.
#pragma once

#include <cstdint>

#include "raster/blend_mode.h"
#include "raster/raster_bitmap.h"

namespace corvalen::raster {

// Editor thread. Fills width x height pixels at (x, y), clipped to dest, with colour
// (0xAARRGGBB). With kUseSourceAlpha the alpha is scaled by the colour's alpha / 255.
// Copy mode blends all four bytes: alpha 1.0 stores the colour word.
void fillRect(RasterBitmap* dest, int x, int y, int width, int height, std::uint32_t colour,
              float alpha, int mode);

}  // namespace corvalen::raster
