// A glyph source with known coverage, for testing text layout and blending exactly.
#pragma once

#include <vector>

#include "raster/platform_font.h"

namespace corvalen::raster::testing {

// Letters are solid blocks 3 pixels wide and as tall as the line, advancing 4; a space
// advances 4 with no pixels; 'G' is a 256-wide gradient whose column x has coverage x.
// Other characters are 2-wide blocks advancing 3. Characters in `refused` cannot render.
class FakeFont final : public PlatformFont {
public:
    explicit FakeFont(int lineHeight, bool drawsText = false, int* destroyed = nullptr)
        : lineHeight_(lineHeight), drawsText_(drawsText), destroyed_(destroyed) {}
    ~FakeFont() override {
        if (destroyed_ != nullptr) ++*destroyed_;
    }

    int lineHeight() override { return lineHeight_; }

    bool renderGlyph(char32_t c, GlyphImage& out) override {
        rendered.push_back(c);
        for (char32_t r : refused)
            if (r == c) return false;
        out = GlyphImage{};
        if (c == U' ') {
            out.advance = 4;
            return true;
        }
        const bool gradient = c == U'G';
        const bool letter = (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
        out.width = gradient ? 256 : letter ? 3 : 2;
        out.height = lineHeight_;
        out.advance = gradient ? 256 : letter ? 4 : 3;
        out.coverage.resize(static_cast<std::size_t>(out.width * out.height));
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                out.coverage[static_cast<std::size_t>(y * out.width + x)] =
                    static_cast<std::uint8_t>(gradient ? x : 255);
        return true;
    }

    bool canDrawText() const override { return drawsText_; }

    int drawText(RasterBitmap&, const char*, int, Rect&, unsigned,
                 const PlatformTextStyle&) override {
        ++platformDraws;
        return lineHeight_;
    }

    std::vector<char32_t> rendered;
    std::vector<char32_t> refused;
    int platformDraws = 0;

private:
    int lineHeight_;
    bool drawsText_;
    int* destroyed_;
};

}  // namespace corvalen::raster::testing
