// A platform font with a glyph cache: the editor's text drawing.
#pragma once

#include <cstdint>
#include <mutex>

#include "raster/glyph_cache.h"
#include "raster/platform_font.h"
#include "raster/raster_bitmap.h"
#include "raster/text_flags.h"

namespace corvalen::raster {

// Font flags (setPlatformFont).
constexpr unsigned kFontRenderAsciiAtOnce = 4;     // render characters 0..127 up front
constexpr unsigned kFontOwnsPlatformFont = 0x200;  // delete the font when replaced/destroyed
constexpr unsigned kFontForcePlatformRendering = 0x400;

class CachedFont {
public:
    // Editor thread. Each font keeps the shared glyph scratch bitmaps alive.
    CachedFont();
    CachedFont(const CachedFont&) = delete;
    CachedFont& operator=(const CachedFont&) = delete;

    ~CachedFont();
    // Replaces the platform font (deleting the old one when owned and different), measures
    // the line height and clears the glyph cache; flag 4 renders ASCII at once.
    void setPlatformFont(PlatformFont* font, unsigned flags);
    // Returns the previous text colour.
    std::uint32_t setTextColour(std::uint32_t colour);
    void setBackgroundColour(std::uint32_t colour);
    // 1 transparent, 2 opaque (glyph boxes filled with the background colour first).
    void setBackgroundMode(int mode);
    // Text always combines as copy (mode 0, the only one the editor uses); alpha scales
    // every glyph.
    void setCombineMode(int mode, float alpha);
    // Editor thread. Draws UTF-8 text (length -1: up to the terminator) into rect, aligned
    // and clipped by flags (text_flags.h); returns the text height. With kTextMeasureOnly,
    // rect's right and bottom become the text's extent and nothing is drawn. A font without
    // a platform font draws nothing and returns 0.
    int drawText(RasterBitmap* dest, const char* text, int length, Rect* rect, unsigned flags);
    std::uint32_t textColour() const { return textColour_; }
    PlatformFont* platformFont() const { return font_; }
    int lineHeight() const { return lineHeight_; }
    void setExtraLineSpacing(int pixels) { extraLineSpacing_ = pixels; }

    // True when drawText with these flags goes through the platform's own text call.
    bool usesPlatformRendering(unsigned textFlags) const;
    const GlyphCache& glyphs() const { return glyphs_; }

    // A font may be shared by editors painting on different threads (the editor keeps one
    // cache of fonts per process). setPlatformFont, the colour and mode setters and drawText
    // take this lock for their own duration; a caller that sets a colour and then draws holds
    // it across both, so another thread's colour cannot slip in between. Re-entrant. The line
    // height is fixed once the font is set and is read without it.
    std::recursive_mutex& drawingLock() { return lock_; }

private:
    int drawWithPlatform(RasterBitmap* dest, const char* text, int length, Rect* rect,
                         unsigned flags);
    int drawWithGlyphs(RasterBitmap* dest, const char* text, int length, Rect* rect,
                       unsigned flags);
    const GlyphEntry* glyphFor(char32_t c);
    void releaseFont();

    std::uint32_t textColour_ = 0;
    std::uint32_t backgroundColour_ = 0xFFFFFFFF;
    int backgroundMode_ = 1;
    int combineMode_ = 0;
    float alpha_ = 1.0f;
    unsigned flags_ = 0;
    int lineHeight_ = 0;
    int extraLineSpacing_ = 0;
    PlatformFont* font_ = nullptr;
    GlyphCache glyphs_;
    std::recursive_mutex lock_;
};

}  // namespace corvalen::raster
