// The two scratch bitmaps shared by all cached fonts of the process: the glyph renderer's
// (white glyphs drawn on black, then read back as coverage) and the platform-rendering
// fallback's (for destinations without a device context). They live while at least one
// CachedFont exists. Internal.
#pragma once

#include "raster/system_bitmap.h"

namespace corvalen::raster::font_scratch {

// Any thread: counts the fonts; the last one removed deletes both bitmaps.
void addFont();
void removeFont();

// Editor thread. Created on first use; the glyph bitmap is at least 256 x 256.
SystemBitmap& glyphBitmap();
SystemBitmap& fallbackBitmap();

}  // namespace corvalen::raster::font_scratch
