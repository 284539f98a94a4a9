// Straight lines, optionally antialiased.
#pragma once

#include <cstdint>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

// Editor thread. Draws from (x1, y1) to (x2, y2), both end points included, clipped to
// dest. Horizontal and vertical lines are fills; other lines step along the major axis in
// 16.16 fixed point from both ends toward the middle. With antialias each step weights the
// two pixels straddling the ideal line by their distance to it.
void drawLine(RasterBitmap* dest, int x1, int y1, int x2, int y2, std::uint32_t colour, float alpha,
              bool antialias);

}  // namespace corvalen::raster
