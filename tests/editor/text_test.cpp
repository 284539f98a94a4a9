// Font registration, the font cache and text drawing.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/editor_graphics.h"
#include "editor/font_cache.h"
#include "editor/font_faces.h"

namespace corvalen::editor {
namespace {

TextStyle styleOf(const char* face, int size, std::uint32_t colour, std::uint8_t bits) {
    TextStyle style;
    style.faceName = face;
    style.size = size;
    style.colour = colour;
    style.style = bits;
    return style;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& face : kEmbeddedFontFaces) graphics.registerFontResource(face.resourceId);
        graphics.applyScale(1);
        clear(0xFF000000);
    }
    void clear(std::uint32_t colour) {
        raster::SystemBitmap& target = graphics.drawBitmap();
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x)
                target.bits()[y * target.rowSpan() + x] = colour;
        }
    }
    // The largest red byte inside a pixel rectangle, and whether anything changed there.
    std::uint32_t maxRed(int left, int top, int right, int bottom) {
        raster::SystemBitmap& target = graphics.drawBitmap();
        std::uint32_t result = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                result = std::max(result, (target.bits()[y * target.rowSpan() + x] >> 16) & 0xFF);
            }
        }
        return result;
    }

    EditorGraphics graphics;
};

TEST_F(Text, AnEmptyStringMeasuresTheLineHeightInLayoutUnits) {
    // A positive size asks for the font's cell height: 36 units are 18 pixels at half size
    // (the platform's font mapper may round the metrics by a pixel).
    TextStyle style = styleOf("Agency FB", 36, 0xFFFFFFFF, kTextStyleBold);
    const int measured = graphics.drawText(style, "", {0, 0, 200, 50});
    ASSERT_NE(style.cachedFont, nullptr);
    const int pixels = style.cachedFont->lineHeight();
    EXPECT_NEAR(pixels, 18, 1);
    EXPECT_EQ(measured, 2 * pixels);
    EXPECT_EQ(graphics.drawText(style, nullptr, {0, 0, 200, 50}), 2 * pixels);
    EXPECT_EQ(maxRed(0, 0, 100, 25), 0u);  // nothing drawn
}

TEST_F(Text, AtFullSizeTheLineHeightIsTheSize) {
    graphics.applyScale(0);
    TextStyle style = styleOf("Consolas", 28, 0xFF0A1F05, kTextStyleBold);
    const int measured = graphics.drawText(style, "", {0, 0, 200, 50});
    EXPECT_NEAR(measured, 28, 1);
    EXPECT_EQ(measured, style.cachedFont->lineHeight());
}

TEST_F(Text, StylesDifferingInQualityOrAlignmentShareOneFont) {
    TextStyle plain = styleOf("Bahnschrift", 26, 0x7FFFFFFF, 0);
    TextStyle antialiased = plain;
    antialiased.quality = kQualityAntialiased;
    antialiased.alignment = kAlignRight;
    TextStyle bold = plain;
    bold.style = kTextStyleBold;
    TextStyle larger = plain;
    larger.size = 28;

    raster::CachedFont* font = graphics.resolveFont(plain);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(graphics.resolveFont(antialiased), font);
    EXPECT_NE(graphics.resolveFont(bold), font);
    EXPECT_NE(graphics.resolveFont(larger), font);
}

TEST_F(Text, SizesThatShiftToTheSamePixelHeightShareOneFont) {
    TextStyle even = styleOf("Agency FB", 40, 0x69FFFFFF, kTextStyleBold);
    TextStyle odd = even;
    odd.size = 41;
    EXPECT_EQ(graphics.resolveFont(even), graphics.resolveFont(odd));
}

TEST_F(Text, AStyleKeepsItsFontUntilItsOwnerDropsIt) {
    TextStyle style = styleOf("Bahnschrift", 26, 0xFFFFFFFF, 0);
    raster::CachedFont* halfSize = graphics.resolveFont(style);
    graphics.applyScale(0);
    EXPECT_EQ(graphics.resolveFont(style), halfSize);
    style.cachedFont = nullptr;  // what a text control's rescale does
    raster::CachedFont* fullSize = graphics.resolveFont(style);
    EXPECT_NE(fullSize, halfSize);
    EXPECT_NEAR(fullSize->lineHeight(), 26, 1);
}

TEST_F(Text, ReturnsTheDrawnHeightInLayoutUnits) {
    TextStyle style = styleOf("Agency FB", 36, 0xFFFFFFFF, kTextStyleBold);
    const int measured = graphics.drawText(style, "1.00 k", {100, 100, 188, 132});
    EXPECT_EQ(measured, 2 * style.cachedFont->lineHeight());
}

TEST_F(Text, AnOpaqueColourDrawsOpaqueAndATranslucentOneBlends) {
    TextStyle opaque = styleOf("Agency FB", 40, 0xFFFFFFFF, kTextStyleBold);
    graphics.drawText(opaque, "MMMM", {0, 0, 400, 40});
    EXPECT_EQ(maxRed(0, 0, 200, 20), 0xFFu);

    clear(0xFF000000);
    TextStyle translucent = styleOf("Agency FB", 40, 0x69FFFFFF, kTextStyleBold);
    graphics.drawText(translucent, "MMMM", {0, 0, 400, 40});
    // A fully covered pixel over black: the alpha is 0x69 / 255, so a256 = 105 and
    // w = 256 - 105 * 255 / 256 = 152; the byte is 255 + (0 - 255) * 152 / 256 = 255 - 151.
    EXPECT_EQ(maxRed(0, 0, 200, 20), 104u);
}

TEST_F(Text, AlignmentPlacesTheTextInItsRect) {
    TextStyle left = styleOf("Consolas", 28, 0xFFFFFFFF, kTextStyleBold);
    TextStyle right = left;
    right.alignment = kAlignRight;
    graphics.drawText(left, "0.0", {200, 200, 600, 240});
    graphics.drawText(right, "0.0", {200, 300, 600, 340});
    // Pixels: the left text starts at x 100, the right one ends at x 300.
    EXPECT_GT(maxRed(100, 100, 140, 120), 0u);
    EXPECT_EQ(maxRed(200, 100, 300, 120), 0u);
    EXPECT_EQ(maxRed(100, 150, 200, 170), 0u);
    EXPECT_GT(maxRed(260, 150, 300, 170), 0u);
}

TEST_F(Text, AFaceThePlatformLacksStillDrawsWithASubstitute) {
    TextStyle style = styleOf("No Such Face", 32, 0xFFFFFFFF, 0);
    EXPECT_NE(graphics.resolveFont(style), nullptr);
}

TEST(FontCacheKey, PacksPixelHeightStyleAndOrientation) {
    EXPECT_EQ(FontCache::keyFor(36, 1, 0, 0), 18u);
    EXPECT_EQ(FontCache::keyFor(36, 0, 0, kTextStyleBold), (1ull << 32) | 36u);
    EXPECT_EQ(FontCache::keyFor(26, 1, 90, 3), ((90ull * 8 + 3) << 32) | 13u);
    // A negative size stays in its own half.
    EXPECT_NE(FontCache::keyFor(-20, 0, 0, 0), FontCache::keyFor(-20, 0, 0, kTextStyleBold));
}

TEST(FontCache, TheFirstFontForAKeyAndFaceWins) {
    FontCache cache;
    raster::CachedFont* first = cache.insert(7, "Consolas", std::make_unique<raster::CachedFont>());
    std::string sameFace = "Consolas";  // equal text, another pointer
    EXPECT_EQ(cache.insert(7, sameFace.c_str(), std::make_unique<raster::CachedFont>()), first);
    EXPECT_EQ(cache.find(7, sameFace.c_str()), first);
    EXPECT_EQ(cache.find(7, "Arial"), nullptr);
    EXPECT_EQ(cache.find(8, "Consolas"), nullptr);
    EXPECT_EQ(cache.size(), 1u);
}

TEST(FontRegistration, AsksThePlatformOncePerId) {
    FontCache cache;
    int calls = 0;
    auto install = [&calls](int) {
        ++calls;
        return true;
    };
    EXPECT_TRUE(cache.registerOnce(240, install));
    EXPECT_TRUE(cache.registerOnce(240, install));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(cache.isRegistered(240));
}

TEST(FontRegistration, AFailureIsNotRecordedAndIsTriedAgain) {
    FontCache cache;
    int calls = 0;
    auto refuse = [&calls](int) {
        ++calls;
        return false;
    };
    EXPECT_FALSE(cache.registerOnce(241, refuse));
    EXPECT_FALSE(cache.registerOnce(241, refuse));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(cache.isRegistered(241));
}

TEST(FontRegistration, TheLibraryCarriesItsThreeFonts) {
    EditorGraphics graphics;
    for (int id : {240, 250, 260}) {
        EXPECT_TRUE(graphics.registerFontResource(id)) << id;
        EXPECT_TRUE(processFontCache().isRegistered(id)) << id;
    }
    EXPECT_FALSE(graphics.registerFontResource(270));
    EXPECT_FALSE(graphics.registerFontResource(100));  // an image, not a font
}

TEST(FontFaces, LayoutFacesMapToTheEmbeddedFamilies) {
    EXPECT_STREQ(platformFaceName("Agency FB"), "Roboto Condensed");
    EXPECT_STREQ(platformFaceName("Consolas"), "DejaVu Sans Mono");
    EXPECT_STREQ(platformFaceName("Bahnschrift"), "Roboto");
    EXPECT_STREQ(platformFaceName("Arial"), "Arial");
    EXPECT_STREQ(platformFaceName(nullptr), "");
    ASSERT_NE(embeddedFontFace(250), nullptr);
    EXPECT_STREQ(embeddedFontFace(250)->layoutFace, "Consolas");
    EXPECT_EQ(embeddedFontFace(251), nullptr);
}

TEST(FontFaces, AgreeWithTheFontsTheBuildEmbeds) {
    std::ifstream list(CORVALEN_FONT_LIST);
    ASSERT_TRUE(list.good()) << CORVALEN_FONT_LIST;
    std::string line;
    int rows = 0;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string id, layoutFace, family, weight;
        std::getline(fields, id, '|');
        std::getline(fields, layoutFace, '|');
        std::getline(fields, family, '|');
        std::getline(fields, weight, '|');
        const EmbeddedFontFace* face = embeddedFontFace(std::stoi(id));
        ASSERT_NE(face, nullptr) << line;
        EXPECT_EQ(layoutFace, face->layoutFace);
        EXPECT_EQ(family, face->family);
        EXPECT_EQ(std::stoi(weight), face->weight);
        ++rows;
    }
    EXPECT_EQ(rows, static_cast<int>(kEmbeddedFontFaces.size()));
}

}  // namespace
}  // namespace corvalen::editor
