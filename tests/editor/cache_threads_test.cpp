// The process-wide caches are shared by plug-in instances that may run on different
// threads: concurrent stores and inserts must leave one consistent entry per key.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "editor/bitmap_cache.h"
#include "editor/font_cache.h"
#include "raster/memory_bitmap.h"

namespace corvalen::editor {
namespace {

constexpr int kThreads = 6;
constexpr int kKeys = 300;

TEST(CacheThreads, ConcurrentLoadsOfTheSameImagesAgreeOnOneBitmapPerKey) {
    BitmapCache cache;
    std::vector<std::vector<raster::RasterBitmap*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&cache, &seen, t] {
            auto& mine = seen[static_cast<std::size_t>(t)];
            mine.resize(kKeys);
            for (int i = 0; i < kKeys; ++i) {
                // Each thread walks every key, from its own start, up or down.
                const int rotated = (i + t * 37) % kKeys;
                const int key = t % 2 == 0 ? rotated : kKeys - 1 - rotated;
                mine[static_cast<std::size_t>(key)] =
                    cache.store(key, std::make_unique<raster::MemoryBitmap>(1, 1));
            }
        });
    }
    for (auto& thread : threads) thread.join();

    const std::vector<int> keys = cache.keys();
    ASSERT_EQ(keys.size(), static_cast<std::size_t>(kKeys));
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    for (int key = 0; key < kKeys; ++key) {
        raster::RasterBitmap* cached = cache.find(key);
        ASSERT_NE(cached, nullptr);
        for (const auto& mine : seen) EXPECT_EQ(mine[static_cast<std::size_t>(key)], cached) << key;
    }
}

TEST(CacheThreads, ConcurrentFontInsertsKeepTheFirst) {
    FontCache cache;
    std::vector<raster::CachedFont*> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&cache, &results, t] {
            results[static_cast<std::size_t>(t)] =
                cache.insert(FontCache::keyFor(36, 1, 0, 1), "Agency FB",
                             std::make_unique<raster::CachedFont>());
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(cache.size(), 1u);
    for (raster::CachedFont* font : results) EXPECT_EQ(font, results[0]);
}

TEST(CacheThreads, ConcurrentRegistrationsInstallOnce) {
    FontCache cache;
    int installs = 0;  // guarded by the cache's font lock
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&cache, &installs] {
            for (int id : {240, 250, 260}) {
                cache.registerOnce(id, [&installs](int) {
                    ++installs;
                    return true;
                });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(installs, 3);
}

}  // namespace
}  // namespace corvalen::editor
