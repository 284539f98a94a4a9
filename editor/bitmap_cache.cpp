#include "editor/bitmap_cache.h"

#include <algorithm>

#include "raster/wrapper_bitmap.h"

namespace corvalen::editor {

raster::RasterBitmap* BitmapCache::find(int key) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto found = std::lower_bound(entries_.begin(), entries_.end(), key,
                                  [](const Entry& entry, int k) { return entry.key < k; });
    if (found == entries_.end() || found->key != key) return nullptr;
    return found->bitmap.get();
}

raster::RasterBitmap* BitmapCache::store(int key, std::unique_ptr<raster::RasterBitmap> bitmap) {
    std::unique_ptr<raster::RasterBitmap> discarded;  // destroyed after the lock is released
    std::lock_guard<std::mutex> guard(lock_);
    auto found = std::lower_bound(entries_.begin(), entries_.end(), key,
                                  [](const Entry& entry, int k) { return entry.key < k; });
    if (found != entries_.end() && found->key == key) {
        if (found->bitmap == nullptr) {
            found->bitmap = std::move(bitmap);
        } else {
            discarded = std::move(bitmap);
        }
        return found->bitmap.get();
    }
    if (entries_.size() == entries_.capacity()) {
        const std::size_t position = static_cast<std::size_t>(found - entries_.begin());
        entries_.reserve(entries_.capacity() + kGrowthBytes / sizeof(Entry));
        found = entries_.begin() + static_cast<std::ptrdiff_t>(position);
    }
    found = entries_.insert(found, Entry{key, std::move(bitmap)});
    return found->bitmap.get();
}

std::vector<int> BitmapCache::keys() const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<int> result;
    result.reserve(entries_.size());
    for (const Entry& entry : entries_) result.push_back(entry.key);
    return result;
}

std::size_t BitmapCache::reservedBytes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return entries_.capacity() * sizeof(Entry);
}

BitmapCache& processBitmapCache() {
    static BitmapCache cache;
    return cache;
}

raster::RasterBitmap& placeholderBitmap() {
    static raster::WrapperBitmap placeholder;
    return placeholder;
}

}  // namespace corvalen::editor
