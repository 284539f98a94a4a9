// One kind of text in the editor: face, size, colour, style and alignment, with the font
// it resolved to.
#pragma once

#include <cstdint>

#include "raster/cached_font.h"

namespace corvalen::editor {

constexpr std::uint8_t kTextStyleBold = 1;
constexpr std::uint8_t kTextStyleItalic = 2;

constexpr std::int8_t kAlignLeft = 0;
constexpr std::int8_t kAlignCentre = 1;
constexpr std::int8_t kAlignRight = 2;

// Font quality as the layout states it; mapped to the platform codes 0, 3, 4, 5.
constexpr std::int8_t kQualityDefault = 0;
constexpr std::int8_t kQualityPlain = 1;
constexpr std::int8_t kQualityAntialiased = 2;
constexpr std::int8_t kQualitySubpixel = 3;

struct TextStyle {
    // Borrowed from the process-wide FontCache; null until first use. Owners clear it when
    // the scale changes (text controls do in their rescale).
    raster::CachedFont* cachedFont = nullptr;
    // A face name the layout uses ("Bahnschrift", "Agency FB", "Consolas", "Arial").
    const char* faceName = "";
    // Platform font height in layout units, before the scale shift.
    int size = 0;
    std::uint32_t colour = 0xFF000000;  // 0xAARRGGBB
    std::uint8_t style = 0;             // kTextStyleBold | kTextStyleItalic
    std::int8_t alignment = kAlignLeft;
    std::int8_t quality = kQualityDefault;
    int orientation = 0;  // degrees
};

}  // namespace corvalen::editor
