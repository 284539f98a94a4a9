#include "editor/font_cache.h"

#include <algorithm>

namespace corvalen::editor {

std::uint64_t FontCache::keyFor(int size, int shift, int orientation, std::uint8_t style) {
    // Each half is masked to 32 bits, so a negative size cannot spill into the style half
    // and make two styles share a font.
    const auto height = static_cast<std::uint32_t>(size >> shift);
    const auto shape = static_cast<std::uint32_t>(orientation) * 8u | style;
    return static_cast<std::uint64_t>(shape) << 32 | height;
}

const FontCache::Entry* FontCache::findLocked(std::uint64_t key, const char* faceName) const {
    const char* face = faceName != nullptr ? faceName : "";
    for (const Entry& entry : entries_) {
        if (entry.key == key && entry.faceName == face) return &entry;
    }
    return nullptr;
}

raster::CachedFont* FontCache::find(std::uint64_t key, const char* faceName) const {
    std::lock_guard<std::mutex> guard(lock_);
    const Entry* entry = findLocked(key, faceName);
    return entry != nullptr ? entry->font.get() : nullptr;
}

raster::CachedFont* FontCache::insert(std::uint64_t key, const char* faceName,
                                      std::unique_ptr<raster::CachedFont> font) {
    std::unique_ptr<raster::CachedFont> beaten;  // destroyed after the lock is released
    std::lock_guard<std::mutex> guard(lock_);
    if (const Entry* existing = findLocked(key, faceName)) {
        beaten = std::move(font);
        return existing->font.get();
    }
    entries_.push_back(Entry{key, faceName != nullptr ? faceName : "", std::move(font)});
    return entries_.back().font.get();
}

std::size_t FontCache::size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return entries_.size();
}

bool FontCache::registerOnce(int id, const std::function<bool(int)>& install) {
    std::lock_guard<std::mutex> guard(lock_);
    if (std::find(registered_.begin(), registered_.end(), id) != registered_.end()) return true;
    if (!install(id)) return false;
    registered_.push_back(id);
    return true;
}

bool FontCache::isRegistered(int id) const {
    std::lock_guard<std::mutex> guard(lock_);
    return std::find(registered_.begin(), registered_.end(), id) != registered_.end();
}

FontCache& processFontCache() {
    static FontCache* cache = new FontCache;  // deliberately never destroyed, see above
    return *cache;
}

}  // namespace corvalen::editor
