// Antialiased filled discs (the graph's band markers).
#pragma once

#include <cstdint>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

// Editor thread. Fills the disc of radius r around (cx, cy), in pixel coordinates where
// pixel (i, j) is centred on (i, j) as for lines; edge pixels are weighted by coverage.
// alpha is scaled by the colour's alpha / 255. Nothing at alpha 0, a negative radius, or a disc
// lying more than 2 pixels outside the bitmap.
void fillCircle(RasterBitmap* dest, float cx, float cy, float r, std::uint32_t colour, float alpha);

}  // namespace corvalen::raster
