// Native text through the FreeType glyph source, with fonts from the Debian packages the
// setup script installs.
#include <gtest/gtest.h>

#include <cstdio>

#include "raster/cached_font.h"
#include "raster/ft/font_registry.h"
#include "raster/memory_bitmap.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::fillWith;

constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

bool exists(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (f != nullptr) std::fclose(f);
    return f != nullptr;
}

class FreeTypeText : public ::testing::Test {
protected:
    void SetUp() override {
        if (!exists(kSans) || !exists(kSansBold)) GTEST_SKIP() << "DejaVu fonts are not installed";
        clearRegisteredFonts();
        ASSERT_TRUE(registerFontFile("Bahnschrift", 400, false, kSans));
        ASSERT_TRUE(registerFontFile("Bahnschrift", 700, false, kSansBold));
    }
    void TearDown() override { clearRegisteredFonts(); }

    // Dark pixels inside and outside a box.
    static void countInk(MemoryBitmap& page, const Rect& box, int& inside, int& outside) {
        inside = outside = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const bool dark = (at(page, x, y) & 0xFF) < 128;
                const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                (in ? inside : outside) += dark;
            }
    }
};

TEST_F(FreeTypeText, DrawsTextInsideItsMeasuredBox) {
    FontRequest request;
    request.faceName = "Bahnschrift";
    request.height = 20;
    std::unique_ptr<PlatformFont> face = createPlatformFont(request);
    ASSERT_NE(face, nullptr);
    CachedFont font;
    font.setPlatformFont(face.release(), kFontOwnsPlatformFont | kFontForcePlatformRendering);
    EXPECT_EQ(font.lineHeight(), 20);
    EXPECT_FALSE(font.usesPlatformRendering(0));  // natively glyphs are always ours

    Rect measured{10, 5, 0, 0};
    EXPECT_EQ(font.drawText(nullptr, "Hello", -1, &measured, kTextMeasureOnly), 20);
    EXPECT_GT(measured.right - measured.left, 30);
    EXPECT_LT(measured.right - measured.left, 80);

    MemoryBitmap page(120, 40);
    fillWith(page, 0xFFFFFFFFu);
    font.setTextColour(0xFF000000u);
    Rect rect{10, 5, 110, 35};
    EXPECT_EQ(font.drawText(&page, "Hello", -1, &rect, kTextLeft), 20);
    int inside = 0, outside = 0;
    countInk(page, Rect{10, 5, measured.right + 1, 25}, inside, outside);
    EXPECT_GT(inside, 40);
    EXPECT_EQ(outside, 0);
}

TEST_F(FreeTypeText, BoldRequestPicksTheBoldFaceAndUnknownNamesFallBack) {
    FontRequest regular;
    regular.faceName = "Bahnschrift";
    regular.height = 30;
    FontRequest bold = regular;
    bold.weight = 700;
    FontRequest unknown = regular;
    unknown.faceName = "No Such Face";
    std::unique_ptr<PlatformFont> thin = createPlatformFont(regular);
    std::unique_ptr<PlatformFont> thick = createPlatformFont(bold);
    std::unique_ptr<PlatformFont> substitute = createPlatformFont(unknown);
    ASSERT_NE(thin, nullptr);
    ASSERT_NE(thick, nullptr);
    ASSERT_NE(substitute, nullptr);
    auto ink = [](PlatformFont& f) {
        GlyphImage image;
        EXPECT_TRUE(f.renderGlyph(U'W', image));
        int sum = 0;
        for (std::uint8_t c : image.coverage) sum += c;
        return sum;
    };
    EXPECT_GT(ink(*thick), ink(*thin) * 11 / 10);
    EXPECT_EQ(ink(*substitute), ink(*thin));
    GlyphImage space;
    EXPECT_TRUE(thin->renderGlyph(U' ', space));
    EXPECT_EQ(space.width, 0);
    EXPECT_GT(space.advance, 0);
}

TEST(FreeTypeCell, HeightIsTheWindowsCellOfTheFont) {
    // Roboto's Windows ascent and descent (2146 + 555 of 2048 units per em) span more than
    // its hhea ascender and descender (1900 + 500). A cell of 36 pixels is therefore an em of
    // round(2048 * 36 / 2701) = 27 pixels, as on the platform, with the baseline at
    // round(2146 * 27 / 2048) = 28; a capital (1456 units) stands 19.2 pixels tall on it.
    // Sized by the hhea span instead, the em would be 30.7 pixels and the capital 21.8.
    constexpr const char* kRoboto =
        "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf";
    if (!exists(kRoboto)) GTEST_SKIP() << "Roboto is not installed";
    clearRegisteredFonts();
    ASSERT_TRUE(registerFontFile("Bahnschrift", 400, false, kRoboto));
    FontRequest request;
    request.faceName = "Bahnschrift";
    request.height = 36;
    std::unique_ptr<PlatformFont> font = createPlatformFont(request);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->lineHeight(), 36);
    GlyphImage capital;
    ASSERT_TRUE(font->renderGlyph(U'H', capital));
    int first = -1, last = -1;
    for (int row = 0; row < capital.height; ++row) {
        for (int x = 0; x < capital.width; ++x) {
            if (capital.coverage[static_cast<std::size_t>(row * capital.width + x)] < 128) continue;
            if (first < 0) first = row;
            last = row;
        }
    }
    EXPECT_EQ(last, 27);  // the row just above the baseline
    EXPECT_GE(last - first + 1, 19);
    EXPECT_LE(last - first + 1, 20);

    // Bold from the regular face: thicker strokes, the same height and advance.
    request.weight = 700;
    std::unique_ptr<PlatformFont> bold = createPlatformFont(request);
    ASSERT_NE(bold, nullptr);
    GlyphImage thick;
    ASSERT_TRUE(bold->renderGlyph(U'H', thick));
    auto inkRows = [](const GlyphImage& glyph, int& top, int& bottom) {
        int sum = 0;
        top = bottom = -1;
        for (int row = 0; row < glyph.height; ++row) {
            for (int x = 0; x < glyph.width; ++x) {
                const int value = glyph.coverage[static_cast<std::size_t>(row * glyph.width + x)];
                sum += value;
                if (value < 128) continue;
                if (top < 0) top = row;
                bottom = row;
            }
        }
        return sum;
    };
    int thinTop = 0, thinBottom = 0, thickTop = 0, thickBottom = 0;
    const int thinInk = inkRows(capital, thinTop, thinBottom);
    const int thickInk = inkRows(thick, thickTop, thickBottom);
    EXPECT_GT(thickInk, thinInk * 5 / 4);
    EXPECT_EQ(thickTop, thinTop);
    EXPECT_EQ(thickBottom, thinBottom);
    EXPECT_EQ(thick.advance, capital.advance);
    clearRegisteredFonts();
}

TEST(FreeTypeRegistry, NothingRegisteredMeansNoFont) {
    clearRegisteredFonts();
    FontRequest request;
    request.faceName = "Arial";
    request.height = 12;
    EXPECT_EQ(createPlatformFont(request), nullptr);
    const unsigned char notAFont[16] = {1, 2, 3};
    EXPECT_FALSE(registerFontFace("Arial", 400, false, notAFont, sizeof notAFont));
    EXPECT_FALSE(registerFontFile("Arial", 400, false, "/nonexistent.ttf"));
}

}  // namespace
}  // namespace corvalen::raster
