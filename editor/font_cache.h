// The process-wide font cache and the list of registered font resources: one platform font
// per size, style, orientation and face, shared by all plug-in instances.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "raster/cached_font.h"

namespace corvalen::editor {

class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The key of a font: low 32 bits the pixel height (size >> shift), high 32 bits
    // (orientation << 3) | style. Alignment and quality are not part of it: the first style
    // that creates a font for a key decides its quality.
    static std::uint64_t keyFor(int size, int shift, int orientation, std::uint8_t style);

    // Any thread. The font cached for key and face, or null.
    raster::CachedFont* find(std::uint64_t key, const char* faceName) const;
    // Any thread. Adds font for key and face and returns it; when another thread added the
    // same key and face meanwhile, font is destroyed and the cached one returned.
    raster::CachedFont* insert(std::uint64_t key, const char* faceName,
                               std::unique_ptr<raster::CachedFont> font);
    std::size_t size() const;

    // Any thread. Registers a font resource once per process: under the font lock, true at
    // once when id is registered already; otherwise install(id) runs (still under the lock)
    // and a success records id. The result tells whether id is registered now.
    bool registerOnce(int id, const std::function<bool(int)>& install);
    bool isRegistered(int id) const;

private:
    struct Entry {
        std::uint64_t key;
        std::string faceName;
        std::unique_ptr<raster::CachedFont> font;
    };
    const Entry* findLocked(std::uint64_t key, const char* faceName) const;

    // The font lock: guards the entries and the registered list. Never held together with
    // the bitmap-cache lock; platform fonts are created outside it.
    mutable std::mutex lock_;
    std::vector<Entry> entries_;
    std::vector<int> registered_;
};

// The cache shared by every plug-in instance. It lives until the process ends: its fonts
// are never destroyed, so no platform font dies while another instance still draws with it
// or after the raster library's shared glyph state has gone at unload.
FontCache& processFontCache();

}  // namespace corvalen::editor
