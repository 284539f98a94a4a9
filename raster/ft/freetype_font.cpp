// The native glyph source: FreeType renders each character as 8-bit coverage in a cell
// as tall as the line, with the baseline at the font's ascent, just as the Windows
// renderer reads its glyphs back from GDI.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "raster/ft/registered_faces.h"
#include "raster/platform_font.h"

namespace corvalen::raster {
namespace {

constexpr int kBoldWeight = 600;

// The font's Windows ascent and descent in font units, or FreeType's ascender and descender
// for a font without them.
const TT_OS2* windowsMetrics(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0 ? os2 : nullptr;
}

double cellHeightUnits(FT_Face face) {
    const TT_OS2* os2 = windowsMetrics(face);
    return os2 != nullptr ? static_cast<double>(os2->usWinAscent) + os2->usWinDescent
                          : static_cast<double>(face->ascender) - face->descender;
}

FT_Long cellAscentUnits(FT_Face face) {
    const TT_OS2* os2 = windowsMetrics(face);
    return os2 != nullptr ? static_cast<FT_Long>(os2->usWinAscent) : face->ascender;
}

class FreeTypeFont final : public PlatformFont {
public:
    ~FreeTypeFont() override {
        if (face_ != nullptr) FT_Done_Face(face_);
        if (library_ != nullptr) FT_Done_FreeType(library_);
    }

    bool open(const ft::RegisteredFace& registered, const FontRequest& request) {
        bytes_ = registered.bytes;
        // A negative height asks for the character height on the platform; natively both
        // signs mean the cell.
        const int height = request.height < 0 ? -request.height : request.height;
        if (!bytes_ || height <= 0) return false;
        if (FT_Init_FreeType(&library_) != 0) return false;
        if (FT_New_Memory_Face(library_, bytes_->data(), static_cast<FT_Long>(bytes_->size()), 0,
                               &face_) != 0)
            return false;
        // The request's height is the cell height, measured as the platform measures it:
        // from the font's Windows ascent and descent, which for many faces span more than
        // the ascender and descender FreeType's own cell request uses (Roboto: 2701 units
        // against 2400, so text would come out an eighth too large). The em is a whole
        // number of pixels, rounded as the platform rounds it.
        const double cellUnits = cellHeightUnits(face_);
        if (cellUnits <= 0.0) return false;
        const double em = std::round(face_->units_per_EM * static_cast<double>(height) / cellUnits);
        if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(std::max(1.0, em))) != 0)
            return false;
        lineHeight_ = height;
        ascent_ = static_cast<int>(std::lround(
            static_cast<double>(FT_MulFix(cellAscentUnits(face_), face_->size->metrics.y_scale)) /
            64.0));
        emboldenFace_ =
            request.weight >= kBoldWeight && (face_->style_flags & FT_STYLE_FLAG_BOLD) == 0;
        slantFace_ = request.italic && (face_->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
        monochrome_ = request.quality == 3;  // "not antialiased"
        return true;
    }

    int lineHeight() override { return lineHeight_; }

    bool renderGlyph(char32_t c, GlyphImage& out) override {
        out = GlyphImage{};
        if (face_ == nullptr) return false;
        const FT_UInt index = FT_Get_Char_Index(face_, c);
        const FT_Int32 loadFlags = monochrome_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
        if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | loadFlags) != 0) return false;
        FT_GlyphSlot slot = face_->glyph;
        if (slantFace_) FT_GlyphSlot_Oblique(slot);
        if (emboldenFace_) emboldenAcross(slot);
        if (FT_Render_Glyph(slot, monochrome_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
            return false;
        out.advance = static_cast<int>(std::lround(static_cast<double>(slot->advance.x) / 64.0));
        const FT_Bitmap& bitmap = slot->bitmap;
        const int width = static_cast<int>(bitmap.width);
        const int rows = static_cast<int>(bitmap.rows);
        if (width <= 0 || rows <= 0) return true;  // a space: advance only
        out.width = width;
        out.height = lineHeight_;
        out.xOffset = slot->bitmap_left;
        out.coverage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(lineHeight_),
                            0);
        const int top = ascent_ - slot->bitmap_top;  // cell row of the bitmap's first row
        bool anyInk = false;
        for (int y = 0; y < rows; ++y) {
            const int cellRow = top + y;
            if (cellRow < 0 || cellRow >= lineHeight_) continue;
            const unsigned char* source =
                bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            std::uint8_t* target =
                out.coverage.data() + static_cast<std::ptrdiff_t>(cellRow) * width;
            for (int x = 0; x < width; ++x) {
                const std::uint8_t value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                               ? ((source[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0)
                                               : source[x];
                target[x] = value;
                anyInk = anyInk || value != 0;
            }
        }
        if (!anyInk) {
            out.width = out.height = out.xOffset = 0;
            out.coverage.clear();
        }
        return true;
    }

private:
    // A bold request for a face without a bold style, drawn as the platform draws it: the
    // strokes thickened sideways by a twelfth of the em, the glyphs' height and advance
    // left alone. (FreeType's own emboldening also grows glyphs upwards and widens every
    // advance, which drew bold text taller and up to a tenth wider than the platform.)
    void emboldenAcross(FT_GlyphSlot slot) const {
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
        const FT_Pos strength = FT_MulFix(face_->units_per_EM, face_->size->metrics.y_scale) / 12;
        FT_Outline_EmboldenXY(&slot->outline, strength, 0);
    }

    std::shared_ptr<const std::vector<unsigned char>> bytes_;
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    int lineHeight_ = 0;
    int ascent_ = 0;
    bool emboldenFace_ = false;
    bool slantFace_ = false;
    bool monochrome_ = false;
};

}  // namespace

std::unique_ptr<PlatformFont> createPlatformFont(const FontRequest& request) {
    const ft::RegisteredFace registered =
        ft::findFace(request.faceName, request.weight, request.italic);
    if (!registered.bytes) return nullptr;
    auto font = std::make_unique<FreeTypeFont>();
    if (!font->open(registered, request)) return nullptr;
    return font;
}

}  // namespace corvalen::raster
