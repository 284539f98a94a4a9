// The two scratch bitmaps shared by all cached fonts of the process: the glyph renderer's
// (white glyphs drawn on black, then read back as coverage) and the platform-rendering
// fallback's (for destinations without a device context). They live while at least one
// CachedFont exists. Internal.
//
// Plug-in instances may create fonts and draw text on different threads (two editors on
// two user-interface threads), so a scratch bitmap is only reached through a Lease, which
// holds the scratch lock from selecting a font into its context until the pixels are read
// back.
#pragma once

#include <mutex>

#include "raster/system_bitmap.h"

namespace corvalen::raster::font_scratch {

// Any thread: counts the fonts; the last one removed deletes both bitmaps.
void addFont();
void removeFont();

enum class Scratch { Glyph, Fallback };

// Any thread. Exclusive use of one scratch bitmap for the lease's life, created on first
// use; the glyph bitmap is at least 256 x 256. Never take a second lease (or add or remove
// a font) while holding one: the lock is not re-entrant.
class Lease {
public:
    explicit Lease(Scratch which);
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    SystemBitmap& bitmap() { return *bitmap_; }

private:
    std::unique_lock<std::mutex> lock_;
    SystemBitmap* bitmap_ = nullptr;
};

}  // namespace corvalen::raster::font_scratch
