// Clipping and placement of blits and fills, and the source-alpha special cases.
#include <gtest/gtest.h>

#include "raster/blit.h"
#include "raster/fill.h"
#include "raster/memory_bitmap.h"
#include "raster/wrapper_bitmap.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::fillWith;

// A source whose pixel tells its own coordinates.
void number(MemoryBitmap& bitmap, int w, int h) {
    bitmap.resize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            at(bitmap, x, y) = 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x);
}

TEST(BlitClipping, SourceRectangleFromMinusFiveDrawsFurtherRight) {
    MemoryBitmap source;
    number(source, 10, 4);
    MemoryBitmap dest(30, 4);
    fillWith(dest, 0);
    const Rect rect{-5, 0, 6, 4};
    blit(&dest, &source, 10, 0, &rect, 1.0f, kCombineCopy);
    EXPECT_EQ(at(dest, 14, 0), 0u);           // nothing before x + 5
    EXPECT_EQ(at(dest, 15, 0), 0xFF000000u);  // source column 0
    EXPECT_EQ(at(dest, 20, 2), 0xFF000205u);  // source column 5, row 2
    EXPECT_EQ(at(dest, 21, 0), 0u);           // right edge 6 exclusive
}

TEST(BlitClipping, NegativeDestinationAdvancesTheSource) {
    MemoryBitmap source;
    number(source, 8, 8);
    MemoryBitmap dest(4, 4);
    fillWith(dest, 0);
    blit(&dest, &source, -3, -2, nullptr, 1.0f, kCombineCopy);
    EXPECT_EQ(at(dest, 0, 0), 0xFF000203u);
    EXPECT_EQ(at(dest, 3, 3), 0xFF000506u);
}

TEST(BlitClipping, SourceRectanglePastTheSourceIsCut) {
    MemoryBitmap source;
    number(source, 4, 4);
    MemoryBitmap dest(10, 10);
    fillWith(dest, 0);
    const Rect rect{2, 2, 50, 50};
    blit(&dest, &source, 0, 0, &rect, 1.0f, kCombineCopy);
    EXPECT_EQ(at(dest, 1, 1), 0xFF000303u);
    EXPECT_EQ(at(dest, 2, 0), 0u);
    EXPECT_EQ(at(dest, 0, 2), 0u);
}

TEST(BlitClipping, NothingHappensForEmptyOrMissingInputs) {
    MemoryBitmap source;
    number(source, 4, 4);
    MemoryBitmap dest(4, 4);
    fillWith(dest, 0x11111111u);
    WrapperBitmap empty;
    const Rect inverted{3, 3, 1, 1};
    blit(&dest, &source, 0, 0, nullptr, 0.0f, kCombineCopy);
    blit(&dest, &source, 4, 0, nullptr, 1.0f, kCombineCopy);
    blit(&dest, &source, 0, 0, &inverted, 1.0f, kCombineCopy);
    blit(&dest, &empty, 0, 0, nullptr, 1.0f, kCombineCopy);
    blit(&empty, &source, 0, 0, nullptr, 1.0f, kCombineCopy);
    blit(nullptr, &source, 0, 0, nullptr, 1.0f, kCombineCopy);
    blit(&dest, &source, 0, 0, nullptr, 1.0f, 3);  // multiply: not part of the library
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(at(dest, x, y), 0x11111111u);
}

TEST(BlitClipping, OverlappingBlitWithinOneBitmapReadsBeforeWriting) {
    MemoryBitmap bitmap;
    number(bitmap, 6, 6);
    const Rect rect{0, 0, 4, 4};
    blit(&bitmap, &bitmap, 1, 1, &rect, 1.0f, kCombineCopy);
    EXPECT_EQ(at(bitmap, 1, 1), 0xFF000000u);
    EXPECT_EQ(at(bitmap, 4, 4), 0xFF000303u);
}

TEST(BlitClipping, BlendedBlitAlongItsOwnRowReadsBeforeWriting) {
    // Moving right within the same rows, each pixel must blend with the original pixel to
    // its left, not with one this blit has already written.
    for (int mode : {kCombineCopy, kUseSourceAlpha}) {
        for (float alpha : {0.5f, 0.3f, 1.0f}) {
            MemoryBitmap bitmap, original;
            number(bitmap, 6, 2);
            number(original, 6, 2);
            for (int x = 0; x < 6; ++x)
                at(bitmap, x, 1) = at(original, x, 1) =
                    0x80000000u | static_cast<std::uint32_t>(x * 40);
            const Rect rect{0, 0, 5, 2};
            blit(&bitmap, &bitmap, 1, 0, &rect, alpha, mode);
            for (int y = 0; y < 2; ++y)
                for (int x = 1; x < 6; ++x) {
                    MemoryBitmap s(1, 1), d(1, 1);
                    at(s, 0, 0) = at(original, x - 1, y);
                    at(d, 0, 0) = at(original, x, y);
                    blit(&d, &s, 0, 0, nullptr, alpha, mode);
                    EXPECT_EQ(at(bitmap, x, y), at(d, 0, 0))
                        << "mode " << mode << " alpha " << alpha << " x " << x << " y " << y;
                }
        }
    }
}

TEST(SourceAlpha, TransparentPixelLeavesDestinationAndOpaqueReplacesIt) {
    MemoryBitmap source(2, 1), dest(2, 1);
    at(source, 0, 0) = 0x00FF00FFu;
    at(source, 1, 0) = 0xFF102030u;
    at(dest, 0, 0) = 0x40ABCDEFu;
    at(dest, 1, 0) = 0x40ABCDEFu;
    blit(&dest, &source, 0, 0, nullptr, 1.0f, kUseSourceAlpha);
    EXPECT_EQ(at(dest, 0, 0), 0x40ABCDEFu);
    EXPECT_EQ(at(dest, 1, 0), 0xFF102030u);
}

TEST(SourceAlpha, QuarterStrengthOfAnOpaquePixel) {
    // Greyed-out controls: alpha 0.25, w = 64 x 256 / 256 = 64.
    MemoryBitmap source(1, 1), dest(1, 1);
    at(source, 0, 0) = 0xFFFFFFFFu;
    at(dest, 0, 0) = 0xFF000000u;
    blit(&dest, &source, 0, 0, nullptr, 0.25f, kUseSourceAlpha);
    // 255 + (0 - 255) x 192 / 256 = 255 - 191 = 64
    EXPECT_EQ(at(dest, 0, 0), 0xFF404040u);
}

TEST(FillGeometry, ColourAlphaHalvesTheStrength) {
    MemoryBitmap dest(3, 3);
    fillWith(dest, 0xFF0000FFu);
    fillRect(&dest, 0, 0, 3, 3, 0x80FF0000u, 1.0f, kUseSourceAlpha);
    // alpha 128/255 -> a256 128: red 255 + (0 - 255) x 128 / 256 = 128, blue 0 + 255 x 128 / 256 =
    // 127, alpha byte 0x80 + (0xFF - 0x80) x 128 / 256 = 0xBF.
    EXPECT_EQ(at(dest, 1, 1), 0xBF80007Fu);
}

TEST(FillGeometry, ClipsToTheBitmapAndSkipsZeroAlpha) {
    MemoryBitmap dest(4, 4);
    fillWith(dest, 0);
    fillRect(&dest, -2, 3, 4, 10, 0xFFFFFFFFu, 1.0f, kCombineCopy);
    EXPECT_EQ(at(dest, 0, 3), 0xFFFFFFFFu);
    EXPECT_EQ(at(dest, 1, 3), 0xFFFFFFFFu);
    EXPECT_EQ(at(dest, 2, 3), 0u);
    EXPECT_EQ(at(dest, 0, 2), 0u);
    fillRect(&dest, 0, 0, 4, 4, 0x00FFFFFFu, 1.0f, kUseSourceAlpha);  // colour alpha 0
    EXPECT_EQ(at(dest, 0, 0), 0u);
}

}  // namespace
}  // namespace corvalen::raster
