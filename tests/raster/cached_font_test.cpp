// Cached-font text: glyph cache, layout, clipping, measuring, blending and the choice of
// platform rendering, with a glyph source whose coverage is known.
#include <gtest/gtest.h>

#include <cstdint>

#include "fake_font.h"
#include "raster/cached_font.h"
#include "raster/memory_bitmap.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::FakeFont;
using testing::fillWith;
using testing::fromLanes;

constexpr std::uint32_t kPaper = 0xFFFFFFFFu;
constexpr std::uint32_t kInk = 0xFF000000u;

class CachedFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        font.setPlatformFont(&glyphs, 0);
        font.setTextColour(kInk);
        page.resize(64, 40);
        fillWith(page, kPaper);
    }
    int inkIn(int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += at(page, x, y) == kInk;
        return n;
    }
    FakeFont glyphs{10};
    CachedFont font;
    MemoryBitmap page;
};

TEST_F(CachedFontTest, MeasuresWithoutDrawing) {
    Rect rect{5, 6, 0, 0};
    EXPECT_EQ(font.drawText(&page, "AB C", -1, &rect, kTextMeasureOnly), 10);
    EXPECT_EQ(rect.right, 5 + 4 + 4 + 4 + 4);
    EXPECT_EQ(rect.bottom, 16);
    EXPECT_EQ(inkIn(0, 0, 64, 40), 0);
}

TEST_F(CachedFontTest, LineFeedsStartLinesWithExtraSpacingUnlessSingleLine) {
    font.setExtraLineSpacing(3);
    Rect rect{0, 0, 64, 40};
    EXPECT_EQ(font.drawText(&page, "AB\r\nA", -1, &rect, kTextLeft), 10 + 13);
    EXPECT_EQ(inkIn(0, 13, 3, 23), 30);  // second line's A at y 13
    EXPECT_EQ(inkIn(4, 13, 8, 23), 0);
    fillWith(page, kPaper);
    Rect single{0, 0, 64, 40};
    EXPECT_EQ(font.drawText(&page, "A\nB", -1, &single, kTextSingleLine | kTextMeasureOnly), 10);
    EXPECT_EQ(single.right, 12);  // the line feed reads as a 4-pixel space
}

TEST_F(CachedFontTest, AlignsEachLineInTheRectangle) {
    Rect rect{10, 0, 50, 40};
    font.drawText(&page, "AA", -1, &rect, kTextCentre);  // 8 wide in 40: starts at 26
    EXPECT_EQ(at(page, 26, 0), kInk);
    EXPECT_EQ(at(page, 25, 0), kPaper);
    Rect right{10, 20, 50, 40};
    font.drawText(&page, "A", -1, &right, kTextRight);  // advance 4: starts at 46
    EXPECT_EQ(at(page, 46, 20), kInk);
    EXPECT_EQ(at(page, 48, 20), kInk);
    EXPECT_EQ(at(page, 45, 20), kPaper);
    fillWith(page, kPaper);
    Rect centred{0, 0, 64, 40};
    font.drawText(&page, "A", -1, &centred, kTextVerticalCentre);
    EXPECT_EQ(at(page, 0, 15), kInk);
    EXPECT_EQ(at(page, 0, 14), kPaper);
}

TEST_F(CachedFontTest, ClipsToTheRectangleUnlessNoClip) {
    Rect rect{0, 0, 6, 5};
    font.drawText(&page, "AB", -1, &rect, kTextLeft);
    EXPECT_EQ(inkIn(0, 0, 64, 40), 3 * 5 + 2 * 5);
    fillWith(page, kPaper);
    font.drawText(&page, "AB", -1, &rect, kTextNoClip);
    EXPECT_EQ(inkIn(0, 0, 64, 40), 2 * 3 * 10);
    fillWith(page, kPaper);
    Rect offPage{60, 35, 90, 60};  // still clipped to the bitmap
    font.drawText(&page, "AB", -1, &offPage, kTextNoClip);
    EXPECT_EQ(inkIn(0, 0, 64, 40), 3 * 5 + 0);
}

TEST_F(CachedFontTest, RendersEachCharacterOnceAndDecodesUtf8) {
    Rect rect{0, 0, 64, 40};
    font.drawText(&page, "AAA", -1, &rect, 0);
    font.drawText(&page, "A", 1, &rect, 0);
    ASSERT_EQ(glyphs.rendered.size(), 1u);
    glyphs.rendered.clear();
    // e-acute (2 bytes), a euro sign (3 bytes), a lone 0xFF byte, an emoji (4 bytes: a
    // space) and a truncated sequence.
    font.drawText(&page, "\xC3\xA9\xE2\x82\xAC\xFF\xF0\x9F\x98\x80\xE2\x82", -1, &rect,
                  kTextMeasureOnly);
    const std::vector<char32_t> expected{0xE9, 0x20AC, 0xFF, U' ', 0xE2, 0x82};
    EXPECT_EQ(glyphs.rendered, expected);
    EXPECT_EQ(font.glyphs().otherCount(), 5u);  // all but the space are beyond ASCII
}

TEST_F(CachedFontTest, UnrenderableGlyphsAreSkippedAndRemembered) {
    glyphs.refused = {U'B'};
    Rect rect{0, 0, 64, 40};
    Rect measured = rect;
    font.drawText(&page, "ABA", -1, &measured, kTextMeasureOnly);
    EXPECT_EQ(measured.right, 8);
    font.drawText(&page, "ABA", -1, &rect, 0);
    EXPECT_EQ(glyphs.rendered.size(), 2u);
}

TEST_F(CachedFontTest, RenderAsciiAtOnceAndSortedOtherGlyphs) {
    FakeFont eager(8);
    CachedFont cached;
    cached.setPlatformFont(&eager, kFontRenderAsciiAtOnce);
    EXPECT_EQ(eager.rendered.size(), 128u);
    Rect rect{0, 0, 10, 10};
    cached.drawText(nullptr, "\xE2\x82\xAC\xCE\xA9\xC4\x80", -1, &rect,
                    kTextMeasureOnly);  // U+20AC, U+03A9, U+0100
    ASSERT_NE(cached.glyphs().find(0x3A9), nullptr);
    ASSERT_NE(cached.glyphs().find(0x100), nullptr);
    ASSERT_NE(cached.glyphs().find(0x20AC), nullptr);
    EXPECT_EQ(cached.glyphs().find(0x101), nullptr);
    EXPECT_EQ(cached.glyphs().otherCount(), 3u);
}

TEST(CachedFontOwnership, OwnedFontsAreDeletedWhenReplacedOrDestroyed) {
    int destroyed = 0;
    auto* first = new FakeFont(10, false, &destroyed);
    auto* second = new FakeFont(12, false, &destroyed);
    {
        CachedFont font;
        EXPECT_EQ(font.lineHeight(), 0);
        font.setPlatformFont(first, kFontOwnsPlatformFont);
        font.setPlatformFont(first, kFontOwnsPlatformFont);  // same font: kept
        EXPECT_EQ(destroyed, 0);
        font.setPlatformFont(second, kFontOwnsPlatformFont);
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(font.lineHeight(), 12);
        EXPECT_EQ(font.platformFont(), second);
    }
    EXPECT_EQ(destroyed, 2);
    CachedFont empty;
    MemoryBitmap page(8, 8);
    Rect rect{0, 0, 8, 8};
    EXPECT_EQ(empty.drawText(&page, "A", -1, &rect, 0), 0);
}

TEST_F(CachedFontTest, OpaqueBackgroundFillsTheGlyphBox) {
    font.setBackgroundMode(2);
    font.setBackgroundColour(0xFF00FF00u);
    Rect rect{0, 0, 64, 40};
    font.drawText(&page, "A A", -1, &rect, 0);
    EXPECT_EQ(at(page, 3, 5), 0xFF00FF00u);  // the gap after A's 3 columns
    EXPECT_EQ(at(page, 6, 5), 0xFF00FF00u);  // inside the space
    EXPECT_EQ(at(page, 8, 5), kInk);
    EXPECT_EQ(at(page, 8, 10), kPaper);  // below the line
}

TEST_F(CachedFontTest, ColourAlphaFlagScalesByTheColoursAlpha) {
    font.setTextColour(0x69000000u);
    Rect rect{0, 0, 64, 40};
    font.drawText(&page, "A", -1, &rect, kTextUseColourAlpha);
    // alpha 0x69/255 -> a256 105; coverage 255: keep = 256 - 105 x 255 / 256 = 256 - 104 = 152;
    // colour bytes 0 + 255 x 152 / 256 = 151, alpha byte 105 + (255 - 105) x 152 / 256 = 105 + 89.
    EXPECT_EQ(at(page, 1, 1), fromLanes(151, 151, 151, 194));
    fillWith(page, kPaper);
    font.setTextColour(0xFF000000u);
    font.drawText(&page, "A", -1, &rect, kTextUseColourAlpha);
    EXPECT_EQ(at(page, 1, 1), kInk);
}

TEST(PlatformRenderingChoice, FollowsTheFontAndTextFlags) {
    FakeFont platform(20, true);
    CachedFont font;
    font.setPlatformFont(&platform, kFontForcePlatformRendering);
    // Under Wine the library draws its own glyphs whatever the font asks for.
    const bool platformAllowed = !runningUnderWine();
    EXPECT_EQ(font.usesPlatformRendering(0), platformAllowed);
    EXPECT_FALSE(font.usesPlatformRendering(kTextUseColourAlpha));
    font.setExtraLineSpacing(2);
    EXPECT_FALSE(font.usesPlatformRendering(0));
    EXPECT_EQ(font.usesPlatformRendering(kTextSingleLine), platformAllowed);
    font.setPlatformFont(&platform, kFontForcePlatformRendering | kFontRenderAsciiAtOnce);
    EXPECT_FALSE(font.usesPlatformRendering(kTextSingleLine));
    font.setPlatformFont(&platform, 0);
    EXPECT_FALSE(font.usesPlatformRendering(0));
    MemoryBitmap page(8, 8);
    Rect rect{0, 0, 8, 8};
    font.drawText(&page, "A", -1, &rect, 0);
    EXPECT_EQ(platform.platformDraws, 0);

    FakeFont tall(300, true);
    CachedFont big;
    big.setPlatformFont(&tall, 0);
    EXPECT_TRUE(big.usesPlatformRendering(kTextUseColourAlpha));
    big.drawText(&page, "A", -1, &rect, 0);
    EXPECT_EQ(tall.platformDraws, 1);

    FakeFont glyphsOnly(300, false);
    big.setPlatformFont(&glyphsOnly, kFontForcePlatformRendering);
    EXPECT_FALSE(big.usesPlatformRendering(0));
}

}  // namespace
}  // namespace corvalen::raster
