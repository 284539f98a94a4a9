#include "raster/cached_font.h"

#include <cstring>

#include "raster/font_scratch.h"

namespace corvalen::raster {
namespace {

constexpr int kLargestGlyphLine = 255;        // taller lines always use the platform's text call
constexpr unsigned kFontLayoutFlags = 0x1F7;  // effects, vertical layout, ASCII-at-once

}  // namespace

CachedFont::CachedFont() { font_scratch::addFont(); }

CachedFont::~CachedFont() {
    releaseFont();
    font_scratch::removeFont();
}

void CachedFont::releaseFont() {
    if ((flags_ & kFontOwnsPlatformFont) != 0) delete font_;
    font_ = nullptr;
}

void CachedFont::setPlatformFont(PlatformFont* font, unsigned flags) {
    const std::lock_guard<std::recursive_mutex> guard(lock_);
    if (font != font_) releaseFont();
    flags_ = flags;
    font_ = font;
    lineHeight_ = font_ != nullptr ? font_->lineHeight() : 0;
    glyphs_.clear();
    if (font_ != nullptr && (flags_ & kFontRenderAsciiAtOnce) != 0) {
        for (char32_t c = 0; c < 128; ++c) glyphFor(c);
    }
}

std::uint32_t CachedFont::setTextColour(std::uint32_t colour) {
    const std::lock_guard<std::recursive_mutex> guard(lock_);
    const std::uint32_t old = textColour_;
    textColour_ = colour;
    return old;
}

void CachedFont::setBackgroundColour(std::uint32_t colour) {
    const std::lock_guard<std::recursive_mutex> guard(lock_);
    backgroundColour_ = colour;
}

void CachedFont::setBackgroundMode(int mode) {
    const std::lock_guard<std::recursive_mutex> guard(lock_);
    backgroundMode_ = mode;
}

void CachedFont::setCombineMode(int mode, float alpha) {
    const std::lock_guard<std::recursive_mutex> guard(lock_);
    combineMode_ = mode;
    alpha_ = alpha;
}

const GlyphEntry* CachedFont::glyphFor(char32_t c) {
    if (const GlyphEntry* cached = glyphs_.find(c)) return cached;
    if (font_ == nullptr) return nullptr;
    GlyphImage image;
    // A glyph the font cannot render is remembered as empty, so it is skipped without
    // asking the platform again at every repaint.
    if (!font_->renderGlyph(c, image)) image = GlyphImage{};
    return glyphs_.insert(c, image);
}

bool CachedFont::usesPlatformRendering(unsigned textFlags) const {
    if (font_ == nullptr || !font_->canDrawText()) return false;
    // The glyph store keeps lines of up to 255 pixels; taller text is left to the platform.
    if (lineHeight_ > kLargestGlyphLine) return true;
    if ((flags_ & kFontForcePlatformRendering) == 0) return false;
    if ((textFlags & kTextUseColourAlpha) != 0) return false;
    if ((flags_ & kFontLayoutFlags) != 0) return false;
    if (extraLineSpacing_ != 0 && (textFlags & kTextSingleLine) == 0) return false;
    // Wine's platform text differs from Windows' (and ignores the DIB alpha); glyphs drawn
    // by the library look the same everywhere.
    return !runningUnderWine();
}

int CachedFont::drawText(RasterBitmap* dest, const char* text, int length, Rect* rect,
                         unsigned flags) {
    const std::lock_guard<std::recursive_mutex> guard(lock_);
    if (font_ == nullptr || text == nullptr) return 0;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (dest != nullptr && usesPlatformRendering(flags))
        return drawWithPlatform(dest, text, length, rect, flags);
    return drawWithGlyphs(dest, text, length, rect, flags);
}

int CachedFont::drawWithPlatform(RasterBitmap* dest, const char* text, int length, Rect* rect,
                                 unsigned flags) {
    Rect whole{0, 0, dest->width(), dest->height()};
    Rect& area = rect != nullptr ? *rect : whole;
    PlatformTextStyle style;
    style.textColour = textColour_;
    style.backgroundColour = backgroundColour_;
    style.backgroundMode = backgroundMode_;
    style.alpha = alpha_;
    return font_->drawText(*dest, text, length, area, flags, style);
}

}  // namespace corvalen::raster
