// EditorGraphics: controls, scale and the redraw cycle.
#include "editor/editor_graphics.h"

#include <algorithm>

#include "editor/bitmap_cache.h"
#include "editor/image_ids.h"

namespace corvalen::editor {

EditorGraphics::EditorGraphics() = default;

EditorGraphics::~EditorGraphics() {
    // Later controls may refer to earlier ones (the layout keeps such references), so the
    // list is taken down from the top.
    while (!controls_.empty()) controls_.pop_back();
}

EditorControl* EditorGraphics::attach(std::unique_ptr<EditorControl> control) {
    if (control == nullptr) return nullptr;
    control->setOwner(this);
    controls_.push_back(std::move(control));
    return controls_.back().get();
}

int EditorGraphics::effectiveShift() const {
    return forcedShift_ >= 0 ? forcedShift_ : defaultShift_;
}

bool EditorGraphics::applyScale(int shift) {
    // Only two image sets exist; any other request draws full size.
    forcedShift_ = shift == 1 ? 1 : 0;
    drawBitmap_.resize(kLayoutWidth >> forcedShift_, kLayoutHeight >> forcedShift_);

    BitmapCache& cache = processBitmapCache();
    for (const ImageSize& image : kImages) {
        const int id = image.id + forcedShift_;  // the half-size image has the next odd id
        if (cache.find(id) != nullptr) continue;
        // Decoding happens outside the cache lock; a failed load is recorded as null and
        // tried again by the next preload.
        cache.store(id, loadPngResource(id));
    }
    return true;
}

bool EditorGraphics::isDirty(LayoutRect& dirty) {
    dirty = LayoutRect{};
    bool any = false;
    for (const auto& control : controls_) {
        if (!control->isDirty()) continue;
        control->markClean();
        any = true;
        const LayoutRect& rect = control->rect();
        if (dirty.isEmpty()) {
            dirty = rect;
        } else if (!rect.isEmpty()) {
            dirty.left = std::min(dirty.left, rect.left);
            dirty.top = std::min(dirty.top, rect.top);
            dirty.right = std::max(dirty.right, rect.right);
            dirty.bottom = std::max(dirty.bottom, rect.bottom);
        }
    }
    if (effectiveShift() == 1) {
        // Half-size pixels cover two units: an odd edge would leave half a pixel unpainted.
        dirty.left &= ~1;
        dirty.top &= ~1;
        dirty.right = (dirty.right + 1) & ~1;
        dirty.bottom = (dirty.bottom + 1) & ~1;
    }
    return any;
}

void EditorGraphics::paint(const LayoutRect& update) {
    paintArea_ = update;
    paintRegion_ = &paintArea_;
    if (!update.isEmpty()) {
        for (const auto& control : controls_) {
            if (control->isHidden()) continue;
            const LayoutRect& rect = control->rect();
            if (rect.isEmpty() || !rect.overlaps(update)) continue;
            control->paint(*this);
        }
    }
    paintRegion_ = nullptr;
}

}  // namespace corvalen::editor
