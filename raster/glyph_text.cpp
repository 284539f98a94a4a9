// CachedFont's own text drawing: glyph coverage maps blended into the destination.
#include <algorithm>

#include "raster/cached_font.h"
#include "raster/pixel_blend.h"
#include "raster/row_access.h"
#include "raster/utf8_reader.h"

namespace corvalen::raster {
namespace {

// The byte rule of glyph blending: coverage c of text byte t over destination byte d.
class GlyphBlender {
public:
    GlyphBlender(std::uint32_t colour, float alpha)
        : colour_(colour), opaque_(alpha >= 1.0f), a256_(pixel::alpha256(alpha)) {}

    std::uint32_t blend(std::uint32_t d, int c) const {
        // At full strength the weight is 255 - c; otherwise 256 - a256 x c / 256.
        const int keep = opaque_ ? 255 - c : 256 - a256_ * c / 256;
        return pixel::mixAll(colour_, d, keep);
    }

private:
    std::uint32_t colour_;
    bool opaque_;
    int a256_;
};

// Reads text character by character, with carriage returns dropped and line feeds either
// breaking lines or (single line) reading as spaces.
class TextWalker {
public:
    TextWalker(const char* text, int length, bool singleLine)
        : reader_(text, static_cast<std::size_t>(length)), singleLine_(singleLine) {}

    // False at the end of the text. lineBreak is set for a line feed.
    bool next(char32_t& c, bool& lineBreak) {
        while (!reader_.done()) {
            c = reader_.next();
            if (c == U'\r') continue;
            lineBreak = c == U'\n' && !singleLine_;
            if (c == U'\n' && singleLine_) c = U' ';
            return true;
        }
        return false;
    }

private:
    Utf8Reader reader_;
    bool singleLine_;
};

struct ClipBox {
    int left, top, right, bottom;
};

// The width in pixels of the text up to the next line break or its end; `more` tells
// whether a line follows. Characters without a glyph take no room.
template <typename GlyphLookup>
int measureLine(TextWalker& walker, GlyphLookup& glyphFor, bool& more) {
    int width = 0;
    char32_t c = 0;
    bool lineBreak = false;
    more = false;
    while (walker.next(c, lineBreak)) {
        if (lineBreak) {
            more = true;
            break;
        }
        if (const GlyphEntry* glyph = glyphFor(c)) width += glyph->advance;
    }
    return width;
}

struct TextExtent {
    int widest = 0;
    int lines = 0;
};

template <typename GlyphLookup>
TextExtent measureText(TextWalker walker, GlyphLookup& glyphFor) {
    TextExtent extent;
    bool more = true;
    while (more) {
        extent.widest = std::max(extent.widest, measureLine(walker, glyphFor, more));
        ++extent.lines;
    }
    return extent;
}

// Where a line of `width` pixels starts, and where text of `height` pixels starts, in area.
int alignedLeft(const Rect& area, int width, unsigned flags) {
    if ((flags & kTextCentre) != 0) return area.left + (area.right - area.left - width) / 2;
    if ((flags & kTextRight) != 0) return area.right - width;
    return area.left;
}

int alignedTop(const Rect& area, int height, unsigned flags) {
    if ((flags & kTextVerticalCentre) != 0) return area.top + (area.bottom - area.top - height) / 2;
    if ((flags & kTextBottom) != 0) return area.bottom - height;
    return area.top;
}

// The destination, cut to the text's area unless the flags say not to clip.
ClipBox clipFor(const PixelRows& rows, const Rect& area, unsigned flags) {
    ClipBox clip{0, 0, rows.width, rows.height};
    if ((flags & kTextNoClip) == 0) {
        clip.left = std::max(clip.left, area.left);
        clip.top = std::max(clip.top, area.top);
        clip.right = std::min(clip.right, area.right);
        clip.bottom = std::min(clip.bottom, area.bottom);
    }
    return clip;
}

// An opaque background: the glyph's box (its advance and its ink, one line high) filled first.
void fillGlyphBox(const PixelRows& rows, const ClipBox& clip, int x, int y, int lineHeight,
                  const GlyphEntry& glyph, std::uint32_t colour) {
    const int boxLeft = std::max(clip.left, x + std::min(0, glyph.xOffset));
    const int inkRight = std::max(glyph.advance, glyph.xOffset + glyph.width);
    const int boxRight = std::min(clip.right, x + inkRight);
    const int boxBottom = std::min(clip.bottom, y + lineHeight);
    for (int row = std::max(clip.top, y); row < boxBottom; ++row)
        for (int col = boxLeft; col < boxRight; ++col) rows.row(row)[col] = colour;
}

// The glyph's coverage map blended in at pen position x on the line starting at y.
void blendGlyph(const PixelRows& rows, const ClipBox& clip, int x, int y, const GlyphEntry& glyph,
                const std::uint8_t* map, const GlyphBlender& blender) {
    const int left = x + glyph.xOffset;
    const int fromRow = std::max(0, clip.top - y);
    const int toRow = std::min(glyph.height, clip.bottom - y);
    const int fromCol = std::max(0, clip.left - left);
    const int toCol = std::min(glyph.width, clip.right - left);
    for (int gy = fromRow; gy < toRow; ++gy) {
        std::uint32_t* out = rows.row(y + gy);
        const std::uint8_t* coverage = map + static_cast<std::ptrdiff_t>(gy) * glyph.width;
        for (int gx = fromCol; gx < toCol; ++gx) {
            if (coverage[gx] != 0) out[left + gx] = blender.blend(out[left + gx], coverage[gx]);
        }
    }
}

}  // namespace

int CachedFont::drawWithGlyphs(RasterBitmap* dest, const char* text, int length, Rect* rect,
                               unsigned flags) {
    const bool singleLine = (flags & kTextSingleLine) != 0;
    const int lineStep = lineHeight_ + extraLineSpacing_;
    auto lookup = [this](char32_t c) { return glyphFor(c); };

    const TextExtent extent = measureText(TextWalker(text, length, singleLine), lookup);
    const int textHeight = lineHeight_ + (extent.lines - 1) * lineStep;

    Rect whole{0, 0, dest != nullptr ? dest->width() : 0, dest != nullptr ? dest->height() : 0};
    Rect& area = rect != nullptr ? *rect : whole;
    if ((flags & kTextMeasureOnly) != 0) {
        area.right = area.left + extent.widest;
        area.bottom = area.top + textHeight;
        return textHeight;
    }
    const PixelRows rows(dest);
    float alpha = std::min(alpha_, 1.0f);
    if ((flags & kTextUseColourAlpha) != 0) alpha *= static_cast<float>(textColour_ >> 24) / 255.0f;
    if (!rows.valid() || !(alpha > 0.0f)) return textHeight;
    const ClipBox clip = clipFor(rows, area, flags);
    if (clip.right <= clip.left || clip.bottom <= clip.top) return textHeight;

    const GlyphBlender blender(textColour_, alpha);
    const bool opaqueBackground = backgroundMode_ == 2;
    TextWalker walker(text, length, singleLine);
    TextWalker lineScanner = walker;  // runs one line ahead, for each line's alignment
    int y = alignedTop(area, textHeight, flags);
    bool more = true;
    while (more) {
        int x = alignedLeft(area, measureLine(lineScanner, lookup, more), flags);
        char32_t c = 0;
        bool lineBreak = false;
        while (walker.next(c, lineBreak) && !lineBreak) {
            const GlyphEntry* glyph = glyphFor(c);
            if (glyph == nullptr) continue;
            if (opaqueBackground) {
                fillGlyphBox(rows, clip, x, y, lineHeight_, *glyph, backgroundColour_);
            }
            if (glyph->width > 0 && glyph->height > 0) {
                blendGlyph(rows, clip, x, y, *glyph, glyphs_.coverage(*glyph), blender);
            }
            x += glyph->advance;
        }
        y += lineStep;
    }
    return textHeight;
}

}  // namespace corvalen::raster
