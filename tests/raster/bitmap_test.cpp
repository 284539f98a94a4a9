// Allocation and resize rules of the three bitmap kinds.
#include <gtest/gtest.h>

#include <cstdint>

#include "raster/memory_bitmap.h"
#include "raster/system_bitmap.h"

namespace corvalen::raster {
namespace {

TEST(MemoryBitmap, GrowsWithAQuarterToSpareAndKeepsALargeEnoughBuffer) {
    MemoryBitmap bitmap;
    ASSERT_TRUE(bitmap.resize(8, 8));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bitmap.bits()) % 64, 0u);
    EXPECT_EQ(bitmap.allocatedBytes(), 8u * 8u * 4u);  // first allocation: exactly what is needed
    ASSERT_TRUE(bitmap.resize(16, 8));                 // needs 512 bytes: grows to 640
    EXPECT_EQ(bitmap.allocatedBytes(), 640u);
    ASSERT_TRUE(bitmap.resize(4, 4));  // smaller: the buffer stays
    EXPECT_EQ(bitmap.allocatedBytes(), 640u);
    EXPECT_EQ(bitmap.width(), 4);
    ASSERT_TRUE(bitmap.resize(20, 8));  // 640 bytes still fit
    EXPECT_EQ(bitmap.allocatedBytes(), 640u);
    EXPECT_FALSE(bitmap.resize(20, 8));  // unchanged size
}

TEST(MemoryBitmap, NonPositiveSizeFreesAndReportsEmpty) {
    MemoryBitmap bitmap(10, 10);
    EXPECT_TRUE(bitmap.resize(0, 10));
    EXPECT_EQ(bitmap.width(), 0);
    EXPECT_EQ(bitmap.height(), 0);
    EXPECT_EQ(bitmap.bits(), nullptr);
    EXPECT_EQ(bitmap.allocatedBytes(), 0u);
    EXPECT_FALSE(bitmap.resize(-3, 5));  // still 0 x 0: nothing changed
}

TEST(MemoryBitmap, ImpossibleSizeLeavesEmptyBitmap) {
    MemoryBitmap bitmap(4, 4);
    bitmap.resize(2147483647, 2147483647);
    EXPECT_EQ(bitmap.width(), 0);
    EXPECT_EQ(bitmap.height(), 0);
    EXPECT_EQ(bitmap.bits(), nullptr);
}

TEST(SystemBitmap, KeepsTheLargerSectionWhenShrinking) {
    SystemBitmap bitmap;
    EXPECT_EQ(bitmap.bits(), nullptr);
    ASSERT_TRUE(bitmap.resize(1600, 1054));
    std::uint32_t* first = bitmap.bits();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(bitmap.rowSpan(), 1600);
    ASSERT_TRUE(bitmap.resize(800, 527));
    EXPECT_EQ(bitmap.bits(), first);
    EXPECT_EQ(bitmap.width(), 800);
    EXPECT_EQ(bitmap.height(), 527);
    EXPECT_EQ(bitmap.rowSpan(), 1600);
    EXPECT_FALSE(bitmap.resize(800, 527));
}

TEST(SystemBitmap, GrowsToTheWidthRoundedUpToFour) {
    SystemBitmap bitmap(10, 10);
    EXPECT_EQ(bitmap.rowSpan(), 12);
    ASSERT_TRUE(bitmap.resize(13, 11));  // wider and taller: a new section
    EXPECT_EQ(bitmap.rowSpan(), 16);
    EXPECT_EQ(bitmap.allocatedHeight(), 11);
    ASSERT_NE(bitmap.bits(), nullptr);
    bitmap.bits()[16 * 11 - 1] = 0x12345678u;  // last allocated pixel is writable
}

TEST(SystemBitmap, SizeBelowOnePixelHasNoSection) {
    SystemBitmap bitmap(8, 8);
    EXPECT_FALSE(bitmap.resize(0, 8));
    EXPECT_EQ(bitmap.bits(), nullptr);
    EXPECT_EQ(bitmap.width(), 0);
    EXPECT_TRUE(bitmap.resize(8, 8));
    EXPECT_NE(bitmap.bits(), nullptr);
}

TEST(SystemBitmap, ASectionThatCannotBeMadeLeavesNoPixelsAndNoSize) {
    SystemBitmap bitmap(16, 16);
    EXPECT_FALSE(bitmap.resize(1 << 16, 1 << 16));  // 16 GiB
    EXPECT_EQ(bitmap.bits(), nullptr);
    EXPECT_EQ(bitmap.width(), 0);
    EXPECT_EQ(bitmap.height(), 0);
    EXPECT_TRUE(bitmap.resize(16, 16));  // a later resize tries again
    EXPECT_NE(bitmap.bits(), nullptr);
}

}  // namespace
}  // namespace corvalen::raster
