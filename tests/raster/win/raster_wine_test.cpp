// Windows side of the raster library, run under Wine: the DIB-section bitmap shares its
// pixels with GDI, and text lands where it was asked to go through both GDI's own text
// call and the library's glyph cache.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "raster/cached_font.h"
#include "raster/fill.h"
#include "raster/memory_bitmap.h"
#include "raster/system_bitmap.h"
#include "raster/win/gdi_font.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::fillWith;

constexpr std::uint32_t kPaper = 0xFFFFFFFFu;
constexpr std::uint32_t kInk = 0xFF000000u;

struct InkBox {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1, count = 0;
};

InkBox findInk(RasterBitmap& bitmap) {
    InkBox box;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if ((at(bitmap, x, y) & 0xFFu) < 128) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
                ++box.count;
            }
    return box;
}

std::unique_ptr<PlatformFont> arial(int height) {
    FontRequest request;
    request.faceName = "Arial";
    request.height = height;
    request.quality = 4;
    return createPlatformFont(request);
}

TEST(DibSection, GdiAndTheLibraryShareThePixels) {
    SystemBitmap bitmap(37, 30);
    ASSERT_NE(bitmap.bits(), nullptr);
    ASSERT_NE(bitmap.deviceContext(), nullptr);
    EXPECT_EQ(bitmap.rowSpan(), 40);
    HDC dc = static_cast<HDC>(bitmap.deviceContext());
    fillWith(bitmap, 0);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT area{5, 6, 9, 10};
    FillRect(dc, &area, red);
    DeleteObject(red);
    GdiFlush();
    EXPECT_EQ(at(bitmap, 5, 6) & 0xFFFFFFu,
              0xFF0000u);  // top-down rows, red in the 0x00FF0000 byte
    EXPECT_EQ(at(bitmap, 8, 9) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(at(bitmap, 9, 9), 0u);
    fillRect(&bitmap, 20, 20, 2, 2, 0xFF0000FFu, 1.0f, 0);
    EXPECT_EQ(GetPixel(dc, 21, 21), RGB(0, 0, 255));
}

TEST(DibSection, KeptAndReplacedSectionsStaySelected) {
    SystemBitmap bitmap(1600, 1054);
    std::uint32_t* first = bitmap.bits();
    ASSERT_TRUE(bitmap.resize(800, 527));
    EXPECT_EQ(bitmap.bits(), first);
    EXPECT_EQ(bitmap.rowSpan(), 1600);
    ASSERT_TRUE(bitmap.resize(1700, 10));  // wider: a new section, selected into the same context
    HDC dc = static_cast<HDC>(bitmap.deviceContext());
    fillWith(bitmap, 0);
    SetPixel(dc, 1650, 5, RGB(0, 255, 0));
    GdiFlush();
    EXPECT_EQ(at(bitmap, 1650, 5) & 0xFFFFFFu, 0x00FF00u);
}

TEST(GdiText, TallTextGoesThroughGdiIntoTheRectangle) {
    std::unique_ptr<PlatformFont> face = arial(300);
    ASSERT_NE(face, nullptr);
    CachedFont font;
    font.setPlatformFont(face.get(), kFontForcePlatformRendering);
    ASSERT_GT(font.lineHeight(), 255);
    EXPECT_TRUE(font.usesPlatformRendering(kTextUseColourAlpha));
    SystemBitmap page(600, 400);
    fillWith(page, kPaper);
    font.setTextColour(kInk);
    Rect measured{0, 0, 600, 400};
    const int height = font.drawText(&page, "H", -1, &measured, kTextMeasureOnly);
    EXPECT_EQ(height, font.lineHeight());
    EXPECT_EQ(findInk(page).count, 0);
    Rect rect{100, 50, 600, 400};
    font.drawText(&page, "H", -1, &rect, kTextLeft);
    const InkBox ink = findInk(page);
    ASSERT_GT(ink.count, 1000);
    EXPECT_GE(ink.left, 100);
    EXPECT_LE(ink.right, 100 + measured.right);
    EXPECT_GE(ink.top, 50);
    EXPECT_LE(ink.bottom, 50 + height);
}

TEST(GdiText, WithoutADeviceContextGdiDrawsThroughTheFallbackSection) {
    std::unique_ptr<PlatformFont> face = arial(300);
    ASSERT_NE(face, nullptr);
    CachedFont font;
    font.setPlatformFont(face.get(), 0);
    MemoryBitmap page(400, 400);
    fillWith(page, kPaper);
    font.setTextColour(kInk);
    Rect rect{40, 20, 400, 400};
    font.drawText(&page, "H", -1, &rect, kTextLeft);
    const InkBox ink = findInk(page);
    EXPECT_GT(ink.count, 1000);
    EXPECT_GE(ink.left, 40);
    EXPECT_GE(ink.top, 20);
}

TEST(GlyphText, UnderWineTextUsesGlyphsAndLandsWhereGdiPutsIt) {
    std::unique_ptr<PlatformFont> face = arial(24);
    ASSERT_NE(face, nullptr);
    // Both paths draw the same text at the same place; the ink must agree.
    SystemBitmap byGdi(200, 60), byGlyphs(200, 60);
    fillWith(byGdi, kPaper);
    fillWith(byGlyphs, kPaper);
    Rect gdiRect{30, 10, 200, 60};
    PlatformTextStyle style;
    style.textColour = kInk;
    face->drawText(byGdi, "Hello", -1, gdiRect, kTextLeft, style);

    CachedFont font;
    font.setPlatformFont(face.get(), kFontForcePlatformRendering);
    EXPECT_EQ(font.usesPlatformRendering(0), !runningUnderWine());
    font.setTextColour(kInk);
    Rect glyphRect{30, 10, 200, 60};
    EXPECT_EQ(font.drawText(&byGlyphs, "Hello", -1, &glyphRect, kTextUseColourAlpha),
              font.lineHeight());
    const InkBox a = findInk(byGdi);
    const InkBox b = findInk(byGlyphs);
    ASSERT_GT(a.count, 50);
    ASSERT_GT(b.count, 50);
    EXPECT_NEAR(a.left, b.left, 1);
    EXPECT_NEAR(a.right, b.right, 2);
    EXPECT_NEAR(a.top, b.top, 1);
    EXPECT_NEAR(a.bottom, b.bottom, 1);
    // Coverage read back from white-on-black glyphs is heavier than GDI's own
    // black-on-white antialiasing, so the amount of ink only roughly agrees.
    EXPECT_GT(b.count, a.count * 4 / 5);
    EXPECT_LT(b.count, a.count * 3);
}

// Two editors on two user-interface threads make their fonts at the same time: every
// font's ASCII glyphs, rendered through the shared scratch section, are the glyphs the
// same font renders alone.
TEST(GdiText, FontsMadeOnFourThreadsRenderAsTheyDoAlone) {
    constexpr int kThreads = 4;
    const auto glyphsOf = [](int height) {
        std::unique_ptr<PlatformFont> face = arial(height);
        CachedFont font;
        font.setPlatformFont(face.get(), kFontRenderAsciiAtOnce);
        std::vector<std::uint8_t> all;
        for (char32_t c = 32; c < 127; ++c) {
            const GlyphEntry* entry = font.glyphs().find(c);
            if (entry == nullptr) continue;
            const std::uint8_t* coverage = font.glyphs().coverage(*entry);
            all.insert(all.end(), coverage, coverage + entry->width * entry->height);
            all.push_back(static_cast<std::uint8_t>(entry->advance));
        }
        return all;
    };
    std::vector<std::vector<std::uint8_t>> alone;
    for (int t = 0; t < kThreads; ++t) alone.push_back(glyphsOf(14 + 5 * t));
    for (int round = 0; round < 8; ++round) {
        std::vector<std::vector<std::uint8_t>> together(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([t, &together, &glyphsOf] {
                together[static_cast<std::size_t>(t)] = glyphsOf(14 + 5 * t);
            });
        for (auto& thread : threads) thread.join();
        for (int t = 0; t < kThreads; ++t) {
            ASSERT_FALSE(alone[static_cast<std::size_t>(t)].empty());
            EXPECT_EQ(together[static_cast<std::size_t>(t)], alone[static_cast<std::size_t>(t)])
                << "font " << t << ", round " << round;
        }
    }
}

}  // namespace
}  // namespace corvalen::raster
