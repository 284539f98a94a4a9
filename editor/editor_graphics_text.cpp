// EditorGraphics: font resources, the font cache and text.
#include "editor/editor_graphics.h"

#include <mutex>

#include "editor/font_cache.h"
#include "editor/font_faces.h"
#include "editor/platform_fonts.h"
#include "raster/platform_font.h"
#include "raster/text_flags.h"

namespace corvalen::editor {
namespace {

// The platform's font quality codes for the layout's quality values.
int platformQuality(std::int8_t quality) {
    switch (quality) {
        case kQualityPlain: return 3;
        case kQualityAntialiased: return 4;
        case kQualitySubpixel: return 5;
        default: return 0;
    }
}

unsigned alignmentFlags(std::int8_t alignment) {
    switch (alignment) {
        case kAlignCentre: return raster::kTextCentre;
        case kAlignRight: return raster::kTextRight;
        default: return raster::kTextLeft;
    }
}

// Pixels a glyph may reach beyond its advance on either side.
constexpr int kTextOverhang = 2;

// Pixels back to layout units (multiplying: a negative value must not be shifted left).
int toLayout(int pixels, int shift) { return pixels * (1 << shift); }

}  // namespace

bool EditorGraphics::installFontResource(int id) {
    const ResourceBytes bytes = findModuleResource(ResourceType::TrueType, id);
    if (bytes.empty()) return false;
    return installPrivateFont(id, bytes);
}

bool EditorGraphics::registerFontResource(int id) {
    return processFontCache().registerOnce(
        id, [this](int resourceId) { return installFontResource(resourceId); });
}

raster::CachedFont* EditorGraphics::resolveFont(TextStyle& style) {
    if (style.cachedFont != nullptr) return style.cachedFont;

    const int shift = effectiveShift();
    FontCache& cache = processFontCache();
    const std::uint64_t key = FontCache::keyFor(style.size, shift, style.orientation, style.style);
    if (raster::CachedFont* cached = cache.find(key, style.faceName)) {
        style.cachedFont = cached;
        return cached;
    }

    ensureSystemFaces();
    raster::FontRequest request;
    request.faceName = platformFaceName(style.faceName);
    request.height = style.size >> shift;
    request.escapement = style.orientation * 10;
    request.weight = (style.style & kTextStyleBold) != 0 ? 700 : 400;
    request.italic = (style.style & kTextStyleItalic) != 0;
    request.quality = platformQuality(style.quality);
    std::unique_ptr<raster::PlatformFont> platformFont = raster::createPlatformFont(request);
    if (platformFont == nullptr) return nullptr;

    auto font = std::make_unique<raster::CachedFont>();
    font->setPlatformFont(platformFont.release(),
                          raster::kFontOwnsPlatformFont | raster::kFontForcePlatformRendering);
    style.cachedFont = cache.insert(key, style.faceName, std::move(font));
    return style.cachedFont;
}

LayoutRect EditorGraphics::textExtent(TextStyle& style, const char* text, const LayoutRect& rect) {
    if (text == nullptr || text[0] == '\0') return {};
    raster::CachedFont* font = resolveFont(style);
    if (font == nullptr) return {};
    const int shift = effectiveShift();
    const raster::Rect target{rect.left >> shift, rect.top >> shift, rect.right >> shift,
                              rect.bottom >> shift};
    raster::Rect measured = target;
    {
        // Measuring fills the font's glyph cache, which another editor may be using.
        const std::lock_guard<std::recursive_mutex> guard(font->drawingLock());
        font->drawText(nullptr, text, -1, &measured, raster::kTextMeasureOnly);
    }
    const int width = measured.right - measured.left;
    // Placed as drawText places it; glyphs may reach a little past their advances.
    int x = target.left;
    if (style.alignment == kAlignCentre) {
        x = target.left + (target.right - target.left - width) / 2;
    } else if (style.alignment == kAlignRight) {
        x = target.right - width;
    }
    return {toLayout(x - kTextOverhang, shift), toLayout(target.top, shift),
            toLayout(x + width + kTextOverhang, shift), toLayout(measured.bottom, shift)};
}

int EditorGraphics::drawText(TextStyle& style, const char* text, const LayoutRect& rect) {
    raster::CachedFont* font = resolveFont(style);
    if (font == nullptr) return 0;
    const int shift = effectiveShift();
    if (text == nullptr || text[0] == '\0') return toLayout(font->lineHeight(), shift);

    // Another editor of the process may be drawing with this font on its own thread.
    const std::lock_guard<std::recursive_mutex> guard(font->drawingLock());
    font->setTextColour(style.colour);
    unsigned flags = alignmentFlags(style.alignment) | raster::kTextNoClip;
    if ((style.colour >> 24) < 0xFF) flags |= raster::kTextUseColourAlpha;
    raster::Rect target{rect.left >> shift, rect.top >> shift, rect.right >> shift,
                        rect.bottom >> shift};
    return toLayout(font->drawText(&drawBitmap_, text, -1, &target, flags), shift);
}

}  // namespace corvalen::editor
