// The mode word of blits and fills.
#pragma once

namespace corvalen::raster {

// Low byte: the combine operation. Only copy is built; the other combine operations
// (add, dodge, multiply, overlay, HSV adjust, channel copies) are not used by the editor
// and draw nothing.
constexpr int kCombineMask = 0xFF;
constexpr int kCombineCopy = 0;
// Use the source pixel's alpha (for fills: the colour's alpha).
constexpr int kUseSourceAlpha = 0x10000;

}  // namespace corvalen::raster
