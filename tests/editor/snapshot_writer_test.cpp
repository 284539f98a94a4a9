// The snapshot tool's PNG writer: what it writes decodes back to the same pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "png_writer.h"
#include "raster/memory_bitmap.h"
#include "raster/png_decode.h"
#include "temp_folder.h"

namespace corvalen::tools {
namespace {

TEST(SnapshotWriter, WritesPixelsThatDecodeUnchanged) {
    raster::MemoryBitmap bitmap(21, 9);  // row span 24: the padding must not leak in
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 21; ++x) {
            bitmap.bits()[y * bitmap.rowSpan() + x] =
                static_cast<std::uint32_t>((x * 12) << 24 | (y * 28) << 16 | (x * y) << 8 | 0x5A);
        }
    }
    const std::string path = corvalen::testing::TestTempPath("snapshot_writer_test.png");
    std::string error;
    ASSERT_TRUE(writePng(bitmap, path, error)) << error;

    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    std::fclose(file);
    std::remove(path.c_str());

    auto decoded = raster::decodePngToNew(bytes.data(), bytes.size());
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->width(), 21);
    ASSERT_EQ(decoded->height(), 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 21; ++x) {
            EXPECT_EQ(decoded->bits()[y * decoded->rowSpan() + x],
                      bitmap.bits()[y * bitmap.rowSpan() + x])
                << x << "," << y;
        }
    }
}

TEST(SnapshotWriter, ReportsWhatWentWrong) {
    raster::MemoryBitmap empty;
    std::string error;
    EXPECT_FALSE(writePng(empty, corvalen::testing::TestTempPath("never.png"), error));
    EXPECT_FALSE(error.empty());
    raster::MemoryBitmap one(1, 1);
    error.clear();
    EXPECT_FALSE(writePng(one, "/nonexistent-folder/x.png", error));
    EXPECT_NE(error.find("/nonexistent-folder/x.png"), std::string::npos);
}

}  // namespace
}  // namespace corvalen::tools
