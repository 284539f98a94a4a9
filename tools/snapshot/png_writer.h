// Writing a bitmap to a PNG file (native tools only).
#pragma once

#include <string>

#include "raster/raster_bitmap.h"

namespace corvalen::tools {

// Writes bitmap as an 8-bit RGBA PNG; false (with a message in error) on failure.
bool writePng(raster::RasterBitmap& bitmap, const std::string& path, std::string& error);

}  // namespace corvalen::tools
