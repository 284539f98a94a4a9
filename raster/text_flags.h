// Flags of CachedFont::drawText. They have the values of the platform's text-format flags,
// so platform rendering passes them through unchanged.
#pragma once

namespace corvalen::raster {

constexpr unsigned kTextLeft = 0;
constexpr unsigned kTextCentre = 1;  // horizontal centre
constexpr unsigned kTextRight = 2;
constexpr unsigned kTextVerticalCentre = 4;
constexpr unsigned kTextBottom = 8;
constexpr unsigned kTextSingleLine = 0x20;    // line feeds count as spaces
constexpr unsigned kTextNoClip = 0x100;       // do not clip to the rectangle
constexpr unsigned kTextMeasureOnly = 0x400;  // set the rectangle's extent, draw nothing
constexpr unsigned kTextNoPrefix = 0x800;     // always added for platform rendering
constexpr unsigned kTextUseColourAlpha = 0x40000000;

}  // namespace corvalen::raster
