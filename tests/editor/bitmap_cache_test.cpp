// The process-wide image cache: ordering, failed loads, keeping the first image, growth.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/bitmap_cache.h"
#include "raster/memory_bitmap.h"

namespace corvalen::editor {
namespace {

std::unique_ptr<raster::RasterBitmap> image(int width, int height) {
    return std::make_unique<raster::MemoryBitmap>(width, height);
}

TEST(BitmapCache, KeepsKeysInAscendingOrderWhateverTheInsertionOrder) {
    BitmapCache cache;
    for (int key : {231, 101, 161, 100, 230, 131, 111, 121, 200, 110})
        cache.store(key, image(1, 1));
    EXPECT_EQ(cache.keys(), (std::vector<int>{100, 101, 110, 111, 121, 131, 161, 200, 230, 231}));
}

TEST(BitmapCache, FindsEveryStoredKeyAndNothingElse) {
    BitmapCache cache;
    std::vector<raster::RasterBitmap*> stored;
    for (int key = 300; key > 0; key -= 3)
        stored.push_back(cache.store(key, image(key % 7 + 1, 1)));
    int index = 0;
    for (int key = 300; key > 0; key -= 3, ++index) {
        ASSERT_EQ(cache.find(key), stored[static_cast<std::size_t>(index)]) << key;
        EXPECT_EQ(cache.find(key)->width(), key % 7 + 1);
        EXPECT_EQ(cache.find(key + 1), nullptr);
    }
    EXPECT_EQ(cache.find(0), nullptr);
    EXPECT_EQ(cache.find(301), nullptr);
}

TEST(BitmapCache, AFailedLoadIsRecordedAndReplacedByALaterSuccess) {
    BitmapCache cache;
    EXPECT_EQ(cache.store(150, nullptr), nullptr);
    EXPECT_EQ(cache.keys(), (std::vector<int>{150}));
    EXPECT_EQ(cache.find(150), nullptr);
    raster::RasterBitmap* loaded = cache.store(150, image(114, 80));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(cache.find(150), loaded);
    EXPECT_EQ(cache.keys().size(), 1u);
}

TEST(BitmapCache, AnImageOnceCachedIsNeverReplaced) {
    // Another instance may already point at it: a second load of the same id is dropped.
    BitmapCache cache;
    raster::RasterBitmap* first = cache.store(101, image(800, 527));
    EXPECT_EQ(cache.store(101, image(3, 3)), first);
    EXPECT_EQ(cache.store(101, nullptr), first);
    EXPECT_EQ(cache.find(101)->width(), 800);
}

TEST(BitmapCache, ReservesEntriesInStepsOf4096Bytes) {
    BitmapCache cache;
    EXPECT_EQ(cache.reservedBytes(), 0u);
    cache.store(1, nullptr);
    const std::size_t step = cache.reservedBytes();
    EXPECT_GT(step, 4096u - 64u);
    EXPECT_LE(step, 4096u);
    int key = 2;
    while (cache.reservedBytes() == step) cache.store(key++, nullptr);
    EXPECT_EQ(cache.reservedBytes(), 2 * step);
    EXPECT_EQ(cache.keys().size(), static_cast<std::size_t>(key - 1));
}

TEST(BitmapCache, ThePlaceholderIsOneSharedEmptyImage) {
    raster::RasterBitmap& placeholder = placeholderBitmap();
    EXPECT_EQ(&placeholder, &placeholderBitmap());
    EXPECT_EQ(placeholder.width(), 0);
    EXPECT_EQ(placeholder.height(), 0);
    EXPECT_EQ(placeholder.bits(), nullptr);
}

}  // namespace
}  // namespace corvalen::editor
