// The Windows glyph source. Glyphs are drawn by GDI in white on black into the shared
// scratch DIB section and read back as coverage; text can also be drawn by GDI itself
// (platform rendering) straight into a destination's device context.
#include "raster/win/gdi_font.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "raster/blit.h"
#include "raster/font_scratch.h"
#include "raster/text_flags.h"

namespace corvalen::raster {
namespace {

constexpr int kLocalTextBuffer = 999;  // characters converted without a heap buffer

COLORREF toColorRef(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFFu, (argb >> 8) & 0xFFu, argb & 0xFFu);
}

// Selects a font into a device context for one scope.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    ~SelectedFont() { SelectObject(dc_, previous_); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// UTF-8 as UTF-16 for the wide text calls; invalid UTF-8 leaves it empty so that the
// caller draws the narrow text as it is.
class WideText {
public:
    WideText(const char* text, int length) {
        const int needed =
            MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
        if (needed <= 0) return;
        wchar_t* target = local_;
        if (needed > kLocalTextBuffer) {
            heap_.resize(static_cast<std::size_t>(needed));
            target = heap_.data();
        }
        count_ = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, target, needed);
        data_ = count_ > 0 ? target : nullptr;
    }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    const wchar_t* data() const { return data_; }
    int count() const { return count_; }

private:
    wchar_t local_[kLocalTextBuffer + 1] = {};
    std::vector<wchar_t> heap_;
    const wchar_t* data_ = nullptr;
    int count_ = 0;
};

class GdiFont final : public PlatformFont {
public:
    GdiFont(HFONT font, bool owns) : font_(font), owns_(owns) {}
    ~GdiFont() override {
        if (owns_ && font_ != nullptr) DeleteObject(font_);
    }

    int lineHeight() override {
        if (lineHeight_ < 0) {
            font_scratch::Lease scratch(font_scratch::Scratch::Glyph);
            HDC dc = static_cast<HDC>(scratch.bitmap().deviceContext());
            TEXTMETRICW metrics{};
            if (dc != nullptr && font_ != nullptr) {
                const SelectedFont selected(dc, font_);
                if (GetTextMetricsW(dc, &metrics)) lineHeight_ = static_cast<int>(metrics.tmHeight);
            }
            if (lineHeight_ < 0) lineHeight_ = 0;
        }
        return lineHeight_;
    }

    bool renderGlyph(char32_t c, GlyphImage& out) override;

    bool canDrawText() const override { return font_ != nullptr; }

    int drawText(RasterBitmap& dest, const char* text, int length, Rect& rect, unsigned flags,
                 const PlatformTextStyle& style) override;

    void* nativeHandle() override { return font_; }

private:
    int drawInto(HDC dc, const char* text, int length, RECT& area, unsigned flags,
                 const PlatformTextStyle& style);

    HFONT font_;
    bool owns_;
    int lineHeight_ = -1;
};

bool GdiFont::renderGlyph(char32_t c, GlyphImage& out) {
    out = GlyphImage{};
    const int height = lineHeight();  // before the lease: it takes one itself
    if (height <= 0) return false;
    font_scratch::Lease lease(font_scratch::Scratch::Glyph);
    SystemBitmap& scratch = lease.bitmap();
    const int side = 2 * height + 8;
    if (scratch.width() < side || scratch.height() < side)
        scratch.resize(std::max(scratch.width(), side), std::max(scratch.height(), side));
    HDC dc = static_cast<HDC>(scratch.deviceContext());
    if (dc == nullptr || scratch.bits() == nullptr) return false;

    wchar_t units[2];
    int count = 1;
    if (c < 0x10000) {
        units[0] = static_cast<wchar_t>(c);
    } else {
        const char32_t v = c - 0x10000;
        units[0] = static_cast<wchar_t>(0xD800 + (v >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
        count = 2;
    }
    const SelectedFont selected(dc, font_);
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc, units, count, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int advance = static_cast<int>(measured.right - measured.left);
    // Overhangs (italics, some bold faces) reach past the measured box on both sides.
    const int leftMargin = height / 16 + 2;
    const int rightMargin = height / 8 + 2;
    const int width = leftMargin + advance + rightMargin;
    if (width > scratch.width()) {
        scratch.resize(width, scratch.height());
        if (scratch.bits() == nullptr) return false;
    }
    std::uint32_t* bits = scratch.bits();
    const int span = scratch.rowSpan();
    GdiFlush();
    for (int y = 0; y < height; ++y)
        std::fill_n(bits + static_cast<std::ptrdiff_t>(y) * span, width, 0xFF000000u);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    RECT area{leftMargin, 0, width, height};
    DrawTextW(dc, units, count, &area, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    GdiFlush();

    out.advance = advance;
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width) *
                                       static_cast<std::size_t>(height));
    bool anyInk = false;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = bits + static_cast<std::ptrdiff_t>(y) * span;
        for (int x = 0; x < width; ++x) {
            const auto red = static_cast<std::uint8_t>((row[x] >> 16) & 0xFFu);
            coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)] = red;
            anyInk = anyInk || red != 0;
        }
    }
    if (anyInk) {
        out.width = width;
        out.height = height;
        out.xOffset = -leftMargin;
        out.coverage = std::move(coverage);
    }
    return true;
}

int GdiFont::drawInto(HDC dc, const char* text, int length, RECT& area, unsigned flags,
                      const PlatformTextStyle& style) {
    const SelectedFont selected(dc, font_);
    SetTextColor(dc, toColorRef(style.textColour));
    SetBkMode(dc, style.backgroundMode == 2 ? OPAQUE : TRANSPARENT);
    if (style.backgroundMode == 2) SetBkColor(dc, toColorRef(style.backgroundColour));
    // The library's text flags are the platform's format flags; the colour-alpha flag is
    // ours only.
    const UINT format = (flags & ~kTextUseColourAlpha) | DT_NOPREFIX;
    const WideText wide(text, length);
    const int height = wide.data() != nullptr
                           ? DrawTextW(dc, wide.data(), wide.count(), &area, format)
                           : DrawTextA(dc, text, length, &area, format);
    GdiFlush();
    return height;
}

int GdiFont::drawText(RasterBitmap& dest, const char* text, int length, Rect& rect, unsigned flags,
                      const PlatformTextStyle& style) {
    if (font_ == nullptr || text == nullptr) return 0;
    // -1 would make the conversion include the terminator, which GDI draws as a box.
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (HDC dc = static_cast<HDC>(dest.deviceContext())) {
        GdiFlush();
        RECT area{rect.left, rect.top, rect.right, rect.bottom};
        const int height = drawInto(dc, text, length, area, flags, style);
        if ((flags & kTextMeasureOnly) != 0)
            rect = Rect{area.left, area.top, area.right, area.bottom};
        return height;
    }
    // No device context: draw over a copy of the destination area in the shared fallback
    // section and blend the result back with the font's alpha.
    Rect area{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, dest.width()),
              std::min(rect.bottom, dest.height())};
    font_scratch::Lease lease(font_scratch::Scratch::Fallback);
    SystemBitmap& scratch = lease.bitmap();
    const bool measuring = (flags & kTextMeasureOnly) != 0;
    if (measuring || area.right <= area.left || area.bottom <= area.top) {
        if (!measuring) return 0;
        scratch.resize(std::max(scratch.width(), 1), std::max(scratch.height(), 1));
    } else {
        scratch.resize(area.right - area.left, area.bottom - area.top);
    }
    HDC dc = static_cast<HDC>(scratch.deviceContext());
    if (dc == nullptr || scratch.bits() == nullptr) return 0;
    if (measuring) {
        RECT box{rect.left, rect.top, rect.right, rect.bottom};
        const int height = drawInto(dc, text, length, box, flags, style);
        rect = Rect{box.left, box.top, box.right, box.bottom};
        return height;
    }
    GdiFlush();
    blit(&scratch, &dest, 0, 0, &area, 1.0f, kCombineCopy);
    RECT box{rect.left - area.left, rect.top - area.top, rect.right - area.left,
             rect.bottom - area.top};
    const int height = drawInto(dc, text, length, box, flags, style);
    blit(&dest, &scratch, area.left, area.top, nullptr, style.alpha, kCombineCopy);
    return height;
}

}  // namespace

std::unique_ptr<PlatformFont> adoptGdiFont(HFONT font, bool ownsFont) {
    if (font == nullptr) return nullptr;
    return std::make_unique<GdiFont>(font, ownsFont);
}

std::unique_ptr<PlatformFont> createPlatformFont(const FontRequest& request) {
    HFONT font =
        CreateFontA(request.height, 0, request.escapement, request.escapement, request.weight,
                    request.italic ? TRUE : FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, static_cast<DWORD>(request.quality), DEFAULT_PITCH,
                    request.faceName != nullptr ? request.faceName : "");
    return adoptGdiFont(font, true);
}

}  // namespace corvalen::raster
