#include "raster/font_scratch.h"

#include <memory>

namespace corvalen::raster::font_scratch {
namespace {

constexpr int kMinimumGlyphScratch = 256;

struct Shared {
    // Guards the count and both bitmaps, pixels and device contexts included.
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

Lease::Lease(Scratch which) : lock_(shared().mutex) {
    Shared& s = shared();
    std::unique_ptr<SystemBitmap>& slot = which == Scratch::Glyph ? s.glyph : s.fallback;
    if (!slot) slot = std::make_unique<SystemBitmap>();
    if (which == Scratch::Glyph &&
        (slot->width() < kMinimumGlyphScratch || slot->height() < kMinimumGlyphScratch))
        slot->resize(kMinimumGlyphScratch, kMinimumGlyphScratch);
    bitmap_ = slot.get();
}

}  // namespace corvalen::raster::font_scratch
