// The glyph table and store of a CachedFont: ASCII by direct index, every other character
// in a sorted array found by binary search; all coverage maps in one growable byte store.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "raster/platform_font.h"

namespace corvalen::raster {

struct GlyphEntry {
    char32_t character = 0;
    bool present = false;      // rendered (possibly empty)
    std::uint32_t offset = 0;  // of the coverage map in the store
    int width = 0;
    int height = 0;
    int xOffset = 0;
    int advance = 0;
};

class GlyphCache {
public:
    // The entry for c, or null when it was never rendered.
    const GlyphEntry* find(char32_t c) const;
    // Stores a rendered glyph (replacing an entry for the same character).
    const GlyphEntry* insert(char32_t c, const GlyphImage& image);
    void clear();
    const std::uint8_t* coverage(const GlyphEntry& entry) const {
        return store_.data() + entry.offset;
    }
    std::size_t storeBytes() const { return store_.size(); }
    std::size_t otherCount() const { return others_.size(); }

private:
    std::array<GlyphEntry, 128> ascii_{};
    std::vector<GlyphEntry> others_;  // sorted by character
    std::vector<std::uint8_t> store_;
};

}  // namespace corvalen::raster
