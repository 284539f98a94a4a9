// Copying and blending one bitmap into another.
#pragma once

#include "raster/blend_mode.h"
#include "raster/raster_bitmap.h"

namespace corvalen::raster {

// Editor thread. Draws the source rectangle of src (null = the whole source; left and top
// inclusive, right and bottom exclusive) at (x, y) in dest, clipped to both bitmaps.
// mode 0 (copy): alpha 1.0 copies, 0.5 averages, other alphas blend every byte including
// alpha. mode kUseSourceAlpha: each pixel is weighted by its own alpha (times alpha).
// Nothing happens with a missing bitmap, alpha <= 0 or an empty clipped area.
void blit(RasterBitmap* dest, RasterBitmap* src, int x, int y, const Rect* sourceRect, float alpha,
          int mode);

}  // namespace corvalen::raster
