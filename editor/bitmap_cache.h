// The process-wide image cache: every image is decoded once per process and id and shared
// by all plug-in instances.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "raster/raster_bitmap.h"

namespace corvalen::editor {

class BitmapCache {
public:
    BitmapCache() = default;
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;

    // Any thread. The image cached under key; null when there is no entry or the entry
    // records a failed load.
    raster::RasterBitmap* find(int key) const;

    // Any thread. Records the result of loading key (null for a failed load) and returns
    // the image the cache now holds for it. An entry holding null takes the new bitmap. An
    // entry that already holds an image keeps it and the newcomer is destroyed: references
    // resolved by another instance may point at the cached one, so it must never go away.
    raster::RasterBitmap* store(int key, std::unique_ptr<raster::RasterBitmap> bitmap);

    // Any thread. The keys in the order the cache holds them (ascending).
    std::vector<int> keys() const;
    // Any thread. Bytes reserved for entries; grows in steps of kGrowthBytes.
    std::size_t reservedBytes() const;

    static constexpr std::size_t kGrowthBytes = 4096;

private:
    struct Entry {
        int key;
        std::unique_ptr<raster::RasterBitmap> bitmap;
    };

    // The bitmap-cache lock. Never held together with the font lock; nothing is decoded
    // while it is held.
    mutable std::mutex lock_;
    std::vector<Entry> entries_;  // sorted by key, searched by binary search
};

// The cache shared by every plug-in instance of the process.
BitmapCache& processBitmapCache();

// The 0 x 0 image every reference to a missing image points at (shared, never freed).
raster::RasterBitmap& placeholderBitmap();

}  // namespace corvalen::editor
