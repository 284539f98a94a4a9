#include "raster/font_scratch.h"

#include <memory>
#include <mutex>

namespace corvalen::raster::font_scratch {
namespace {

constexpr int kMinimumGlyphScratch = 256;

struct Shared {
    std::mutex mutex;
    int fonts = 0;
    std::unique_ptr<SystemBitmap> glyph;
    std::unique_ptr<SystemBitmap> fallback;
};

Shared& shared() {
    // Never destroyed: fonts owned by other static objects may go away after this would.
    static Shared* instance = new Shared;
    return *instance;
}

}  // namespace

void addFont() {
    Shared& s = shared();
    const std::lock_guard<std::mutex> lock(s.mutex);
    ++s.fonts;
}

void removeFont() {
    Shared& s = shared();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (s.fonts > 0 && --s.fonts == 0) {
        s.glyph.reset();
        s.fallback.reset();
    }
}

SystemBitmap& glyphBitmap() {
    Shared& s = shared();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.glyph) s.glyph = std::make_unique<SystemBitmap>();
    if (s.glyph->width() < kMinimumGlyphScratch || s.glyph->height() < kMinimumGlyphScratch)
        s.glyph->resize(kMinimumGlyphScratch, kMinimumGlyphScratch);
    return *s.glyph;
}

SystemBitmap& fallbackBitmap() {
    Shared& s = shared();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.fallback) s.fallback = std::make_unique<SystemBitmap>();
    return *s.fallback;
}

}  // namespace corvalen::raster::font_scratch
