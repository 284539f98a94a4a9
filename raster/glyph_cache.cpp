#include "raster/glyph_cache.h"

#include <algorithm>

namespace corvalen::raster {

const GlyphEntry* GlyphCache::find(char32_t c) const {
    if (c < ascii_.size()) return ascii_[c].present ? &ascii_[c] : nullptr;
    const auto it =
        std::lower_bound(others_.begin(), others_.end(), c,
                         [](const GlyphEntry& e, char32_t key) { return e.character < key; });
    return it != others_.end() && it->character == c ? &*it : nullptr;
}

const GlyphEntry* GlyphCache::insert(char32_t c, const GlyphImage& image) {
    GlyphEntry entry;
    entry.character = c;
    entry.present = true;
    entry.advance = image.advance;
    const std::size_t bytes = static_cast<std::size_t>(std::max(image.width, 0)) *
                              static_cast<std::size_t>(std::max(image.height, 0));
    if (bytes > 0 && image.coverage.size() >= bytes && store_.size() + bytes <= UINT32_MAX) {
        entry.offset = static_cast<std::uint32_t>(store_.size());
        entry.width = image.width;
        entry.height = image.height;
        entry.xOffset = image.xOffset;
        store_.insert(store_.end(), image.coverage.begin(),
                      image.coverage.begin() + static_cast<std::ptrdiff_t>(bytes));
    }
    if (c < ascii_.size()) {
        ascii_[c] = entry;
        return &ascii_[c];
    }
    auto it = std::lower_bound(others_.begin(), others_.end(), c,
                               [](const GlyphEntry& e, char32_t key) { return e.character < key; });
    if (it != others_.end() && it->character == c) {
        *it = entry;
    } else {
        it = others_.insert(it, entry);
    }
    return &*it;
}

void GlyphCache::clear() {
    ascii_.fill(GlyphEntry{});
    others_.clear();
    store_.clear();
}

}  // namespace corvalen::raster
