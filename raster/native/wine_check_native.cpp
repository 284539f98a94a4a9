// A native build never runs under Wine.
#include "raster/platform_font.h"

namespace corvalen::raster {

bool runningUnderWine() { return false; }

}  // namespace corvalen::raster
