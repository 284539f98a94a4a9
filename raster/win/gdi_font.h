// Windows: a platform font over a GDI font handle.
#pragma once

#include <windows.h>

#include <memory>

#include "raster/platform_font.h"

namespace corvalen::raster {

// Wraps an existing GDI font; with ownsFont the handle is deleted with the wrapper.
std::unique_ptr<PlatformFont> adoptGdiFont(HFONT font, bool ownsFont);

}  // namespace corvalen::raster
