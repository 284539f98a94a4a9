// The glyph source behind a CachedFont: a platform font that can measure its line height
// and render one character as an 8-bit coverage map. On Windows it is a GDI font (glyphs
// drawn white on black into a scratch DIB section, and text optionally drawn by GDI
// itself); natively it is a FreeType face chosen by face name from the fonts registered
// with raster/ft/font_registry.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

// What the editor asks for when it creates a font (the arguments of CreateFontA).
struct FontRequest {
    const char* faceName = "";
    int height = 0;      // cell height in pixels
    int escapement = 0;  // tenths of a degree (the editor only uses 0)
    int weight = 400;    // 400 regular, 700 bold
    bool italic = false;
    int quality = 0;  // platform quality code: 0 default, 3 plain, 4 antialiased, 5 ClearType
};

// One rendered character. The map's top row is the top of the text line; its height is
// normally the line height.
struct GlyphImage {
    int width = 0;
    int height = 0;
    int xOffset = 0;  // from the pen position to the map's left column (may be negative)
    int advance = 0;  // pen movement after the character
    std::vector<std::uint8_t> coverage;  // width x height, row by row, 0 = untouched
};

// Colours and modes the platform text call needs (copied from the CachedFont).
struct PlatformTextStyle {
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0xFFFFFFFF;
    int backgroundMode = 1;  // 1 transparent, 2 opaque
    float alpha = 1.0f;      // used when the destination has no device context
};

class PlatformFont {
public:
    PlatformFont() = default;
    PlatformFont(const PlatformFont&) = delete;
    PlatformFont& operator=(const PlatformFont&) = delete;
    virtual ~PlatformFont() = default;

    // Editor thread. The text-metric height in pixels; 0 when the font is unusable.
    virtual int lineHeight() = 0;
    // Editor thread. Renders c; false when it cannot (the character is then skipped). A
    // character without pixels succeeds with an empty map and its advance.
    virtual bool renderGlyph(char32_t c, GlyphImage& out) = 0;
    // True when drawText below is real (the platform draws text itself: Windows only).
    virtual bool canDrawText() const { return false; }
    // Editor thread. Draws UTF-8 text with the platform's own text call into the rectangle;
    // flags are the library's text flags (the platform's text-format flags). Returns the
    // text height.
    virtual int drawText(RasterBitmap& dest, const char* text, int length, Rect& rect,
                         unsigned flags, const PlatformTextStyle& style);
    // The platform handle (an HFONT on Windows), or null.
    virtual void* nativeHandle() { return nullptr; }
};

inline int PlatformFont::drawText(RasterBitmap&, const char*, int, Rect&, unsigned,
                                  const PlatformTextStyle&) {
    return 0;
}

// Any thread. Creates the platform font for the request, or null when the platform has
// nothing for it. Natively a face name that was never registered falls back to the first
// registered face (as the platform substitutes a face it does not know); with no font
// registered at all the result is null.
std::unique_ptr<PlatformFont> createPlatformFont(const FontRequest& request);

// True when the process runs under Wine (Windows: the key Software\Wine exists under the
// local machine). Asked once per process; the answer is kept. Always false natively.
bool runningUnderWine();

}  // namespace corvalen::raster
