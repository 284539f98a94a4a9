// Lines (axis-aligned fills, stepping from both ends, antialiasing) and antialiased discs.
#include <gtest/gtest.h>

#include <cmath>

#include "raster/circle.h"
#include "raster/line.h"
#include "raster/memory_bitmap.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::fillWith;
using testing::laneOf;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

int countSet(MemoryBitmap& bitmap) {
    int n = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) n += at(bitmap, x, y) != kBlack;
    return n;
}

TEST(Line, AxisAlignedLinesIncludeBothEndsInEitherDirection) {
    MemoryBitmap bitmap(12, 12);
    fillWith(bitmap, kBlack);
    drawLine(&bitmap, 9, 2, 3, 2, kWhite, 1.0f, true);
    drawLine(&bitmap, 5, 4, 5, 10, kWhite, 1.0f, false);
    EXPECT_EQ(at(bitmap, 3, 2), kWhite);
    EXPECT_EQ(at(bitmap, 9, 2), kWhite);
    EXPECT_EQ(at(bitmap, 5, 4), kWhite);
    EXPECT_EQ(at(bitmap, 5, 10), kWhite);
    EXPECT_EQ(countSet(bitmap), 7 + 7);
}

TEST(Line, AxisAlignedLinesUseTheFillAverages) {
    MemoryBitmap bitmap(4, 4);
    fillWith(bitmap, 0xFF000000u);
    drawLine(&bitmap, 0, 0, 3, 0, 0xFFFFFFFFu, 0.5f, true);
    drawLine(&bitmap, 0, 1, 3, 1, 0xFFFFFFFFu, 0.25f, true);
    // 0.5: (c >> 1) + (d >> 1); 0.25: (d >> 1) + (c >> 2) + (d >> 2). The shifts lose the
    // low bits, so even the alpha of opaque over opaque drops to 0xFE and 0xFD.
    EXPECT_EQ(at(bitmap, 2, 0), 0xFE7F7F7Fu);
    EXPECT_EQ(at(bitmap, 2, 1), 0xFD3F3F3Fu);
}

TEST(Line, FortyFiveDegreesHitsTheDiagonalExactly) {
    MemoryBitmap bitmap(8, 8);
    fillWith(bitmap, kBlack);
    drawLine(&bitmap, 0, 0, 7, 7, kWhite, 1.0f, true);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(at(bitmap, i, i), kWhite) << i;
    EXPECT_EQ(countSet(bitmap), 8);
}

TEST(Line, SamePixelsWhicheverEndItStartsFrom) {
    for (bool antialias : {false, true}) {
        MemoryBitmap forward(16, 16), backward(16, 16);
        fillWith(forward, kBlack);
        fillWith(backward, kBlack);
        drawLine(&forward, 1, 2, 14, 7, kWhite, 1.0f, antialias);
        drawLine(&backward, 14, 7, 1, 2, kWhite, 1.0f, antialias);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(at(forward, x, y), at(backward, x, y)) << x << "," << y;
        EXPECT_EQ(at(forward, 1, 2), kWhite);
        EXPECT_EQ(at(forward, 14, 7), kWhite);
    }
}

TEST(Line, AntialiasingSplitsEachStepBetweenTwoPixels) {
    // y = x / 2: even columns sit on a pixel, odd ones half way between two.
    MemoryBitmap bitmap(11, 8);
    fillWith(bitmap, kBlack);
    drawLine(&bitmap, 0, 0, 10, 5, kWhite, 1.0f, true);
    EXPECT_EQ(at(bitmap, 4, 2), kWhite);
    // Weight 128 each: 255 + (0 - 255) x 128 / 256 = 128.
    EXPECT_EQ(laneOf(at(bitmap, 3, 1), 0), 128);
    EXPECT_EQ(laneOf(at(bitmap, 3, 2), 0), 128);
    EXPECT_EQ(at(bitmap, 3, 0), kBlack);
    EXPECT_EQ(at(bitmap, 3, 3), kBlack);
}

TEST(Line, ClippedLinesKeepTheirSlope) {
    MemoryBitmap bitmap(10, 10);
    fillWith(bitmap, kBlack);
    drawLine(&bitmap, -100, -50, 100, 50, kWhite, 1.0f, false);
    EXPECT_EQ(at(bitmap, 0, 0), kWhite);
    EXPECT_EQ(at(bitmap, 4, 2), kWhite);
    EXPECT_EQ(at(bitmap, 8, 4), kWhite);
    EXPECT_EQ(countSet(bitmap), 10);
    // Extreme coordinates finish at once and draw only what is inside.
    drawLine(&bitmap, -2000000000, 9, 2000000000, 9, kWhite, 1.0f, true);
    drawLine(&bitmap, -2000000000, -2000000000, 2000000000, 2000000000, kWhite, 1.0f, true);
    EXPECT_EQ(at(bitmap, 5, 9), kWhite);
    EXPECT_EQ(at(bitmap, 6, 6), kWhite);
}

TEST(Circle, CoverageAddsUpToTheDiscArea) {
    for (float radius : {1.5f, 4.0f, 7.3f}) {
        MemoryBitmap bitmap(24, 24);
        fillWith(bitmap, 0xFF000000u);
        fillCircle(&bitmap, 11.3f, 12.0f, radius, 0xFFFFFFFFu, 1.0f);
        double total = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) total += laneOf(at(bitmap, x, y), 0) / 255.0;
        const double area = 3.14159265358979 * radius * radius;
        EXPECT_NEAR(total, area, 0.05 * area + 1.0) << radius;
        EXPECT_EQ(at(bitmap, 11, 12), 0xFFFFFFFFu);
        EXPECT_EQ(at(bitmap, 0, 0), 0xFF000000u);
    }
}

TEST(Circle, NothingForNegativeRadiusZeroAlphaOrFarOutside) {
    MemoryBitmap bitmap(10, 10);
    fillWith(bitmap, kBlack);
    fillCircle(&bitmap, 5, 5, -1, kWhite, 1.0f);
    fillCircle(&bitmap, 5, 5, 3, 0x00FFFFFFu, 1.0f);
    fillCircle(&bitmap, 5, 5, 3, kWhite, 0.0f);
    fillCircle(&bitmap, -6, 5, 3, kWhite, 1.0f);
    fillCircle(&bitmap, 5, 1e30f, 3, kWhite, 1.0f);
    fillCircle(&bitmap, NAN, 5, 3, kWhite, 1.0f);
    EXPECT_EQ(countSet(bitmap), 0);
    fillCircle(&bitmap, -2.5f, 5, 3, kWhite, 1.0f);  // overlaps the left edge
    EXPECT_NE(at(bitmap, 0, 5), kBlack);
}

}  // namespace
}  // namespace corvalen::raster
