// The image of an image control: which resource, how it splits into frames, and the
// bitmap it currently resolves to.
#pragma once

#include "raster/raster_bitmap.h"

namespace corvalen::editor {

struct BitmapRef {
    // Borrowed: the process-wide BitmapCache or the placeholder owns it. Null until the
    // first resolution (EditorGraphics::resolveBitmap).
    raster::RasterBitmap* bitmap = nullptr;
    // Layout units as created; pixels of the resolved image afterwards.
    int frameWidth = 0;
    int frameHeight = 0;
    // At least 1; frames are stacked vertically.
    int frameCount = 1;
    // Even id: full size, odd id: half size. Resolution puts the scale shift in bit 0.
    int resourceId = 0;
};

}  // namespace corvalen::editor
