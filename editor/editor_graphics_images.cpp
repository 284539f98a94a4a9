// EditorGraphics: images from the library's resources and the blits image controls use.
#include <algorithm>

#include "editor/bitmap_cache.h"
#include "editor/editor_graphics.h"
#include "editor/module_resources.h"
#include "raster/blend_mode.h"
#include "raster/blit.h"
#include "raster/png_decode.h"

namespace corvalen::editor {
namespace {

// The shortest byte string that could hold a PNG signature and anything after it.
constexpr std::size_t kSmallestPng = 8;

}  // namespace

std::unique_ptr<raster::RasterBitmap> EditorGraphics::loadPngResource(int id) {
    const ResourceBytes bytes = findModuleResource(ResourceType::Png, id);
    if (bytes.data == nullptr || bytes.size < kSmallestPng) return nullptr;
    return raster::decodePngToNew(bytes.data, bytes.size);
}

bool EditorGraphics::resolveBitmap(BitmapRef& ref) {
    raster::RasterBitmap* placeholder = &placeholderBitmap();
    const int wanted = (ref.resourceId & ~1) | effectiveShift();
    if (wanted == ref.resourceId && ref.bitmap != nullptr && ref.bitmap != placeholder) {
        return true;
    }
    raster::RasterBitmap* bitmap = processBitmapCache().find(wanted);
    if (bitmap == nullptr) bitmap = placeholder;
    ref.bitmap = bitmap;
    ref.frameWidth = bitmap->width();
    ref.frameHeight = bitmap->height() / std::max(1, ref.frameCount);
    ref.resourceId = wanted;
    return bitmap != placeholder;
}

void EditorGraphics::drawFrame(const BitmapRef& ref, int frame, int x, int y, float alpha) {
    if (ref.bitmap == nullptr || ref.frameWidth <= 0 || ref.frameHeight <= 0) return;
    const int top = frame * ref.frameHeight;
    const raster::Rect source{0, top, ref.frameWidth, top + ref.frameHeight};
    raster::blit(&drawBitmap_, ref.bitmap, toPixels(x), toPixels(y), &source, alpha,
                 raster::kUseSourceAlpha);
}

void EditorGraphics::drawBackground(const BitmapRef& ref) {
    if (ref.bitmap == nullptr) return;
    raster::Rect source{0, 0, ref.bitmap->width(), ref.bitmap->height()};
    if (paintRegion_ != nullptr) {
        // Left and top round down, right and bottom up, so odd edges stay covered at half size.
        const int shift = effectiveShift();
        const int round = (1 << shift) - 1;
        source.left = std::max(source.left, paintRegion_->left >> shift);
        source.top = std::max(source.top, paintRegion_->top >> shift);
        source.right = std::min(source.right, (paintRegion_->right + round) >> shift);
        source.bottom = std::min(source.bottom, (paintRegion_->bottom + round) >> shift);
        if (source.right <= source.left || source.bottom <= source.top) return;
    }
    raster::blit(&drawBitmap_, ref.bitmap, source.left, source.top, &source, 1.0f,
                 raster::kCombineCopy);
}

}  // namespace corvalen::editor
