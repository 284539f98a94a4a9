// The face names the layout asks for and the embedded fonts that stand in for them, so the
// editor looks the same on every machine. Resource ids match resources/fonts.txt.
#pragma once

#include <array>

namespace corvalen::editor {

struct EmbeddedFontFace {
    int resourceId;          // "TTF" resource
    const char* layoutFace;  // the name text styles use
    const char* family;      // the family name inside the font file (what the platform knows)
    int weight;              // 400 regular, 700 bold
};

constexpr int kFontAgencyFb = 240;
constexpr int kFontConsolas = 250;
constexpr int kFontBahnschrift = 260;

constexpr std::array<EmbeddedFontFace, 3> kEmbeddedFontFaces = {{
    {kFontAgencyFb, "Agency FB", "Roboto Condensed", 700},
    {kFontConsolas, "Consolas", "DejaVu Sans Mono", 700},
    {kFontBahnschrift, "Bahnschrift", "Roboto", 400},
}};

// The face to ask the platform for: the embedded family for a layout face that has one,
// otherwise the name unchanged ("Arial" comes from the system). Never null.
const char* platformFaceName(const char* layoutFace);

// The embedded face carried by a font resource, or null.
const EmbeddedFontFace* embeddedFontFace(int resourceId);

}  // namespace corvalen::editor
