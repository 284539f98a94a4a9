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
    dirtyAreaCount_ = 0;
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
        addDirtyArea(control->drawnArea(*this));
    }
    if (effectiveShift() == 1) {
        // Half-size pixels cover two units: an odd edge would leave half a pixel unpainted.
        dirty.left &= ~1;
        dirty.top &= ~1;
        dirty.right = (dirty.right + 1) & ~1;
        dirty.bottom = (dirty.bottom + 1) & ~1;
    }
    // What the areas reach beyond the rects (a wide text) belongs to the repaint too.
    for (int i = 0; i < dirtyAreaCount_; ++i) dirty = Enclosing(dirty, dirtyAreas_[i]);
    return any;
}

void EditorGraphics::addDirtyArea(LayoutRect area) {
    if (area.isEmpty()) return;
    if (effectiveShift() == 1) {
        area.left &= ~1;
        area.top &= ~1;
        area.right = (area.right + 1) & ~1;
        area.bottom = (area.bottom + 1) & ~1;
    }
    // Overlapping areas become one, so no pixel is painted twice in one tick.
    for (int i = 0; i < dirtyAreaCount_;) {
        if (dirtyAreas_[i].overlaps(area)) {
            area = Enclosing(area, dirtyAreas_[i]);
            dirtyAreas_[i] = dirtyAreas_[--dirtyAreaCount_];
            i = 0;
        } else {
            ++i;
        }
    }
    if (dirtyAreaCount_ == kMaxDirtyAreas) {
        // Many scattered changes: one area around them all.
        for (int i = 0; i < dirtyAreaCount_; ++i) area = Enclosing(area, dirtyAreas_[i]);
        dirtyAreaCount_ = 0;
    }
    dirtyAreas_[dirtyAreaCount_++] = area;
}

raster::Rect EditorGraphics::pixelBox(const LayoutRect& area) {
    const int shift = effectiveShift();
    const int round = (1 << shift) - 1;
    return {std::max(0, area.left >> shift), std::max(0, area.top >> shift),
            std::min(drawBitmap_.width(), (area.right + round) >> shift),
            std::min(drawBitmap_.height(), (area.bottom + round) >> shift)};
}

void EditorGraphics::paintControl(EditorControl& control, const LayoutRect& reach,
                                  const raster::Rect& keep) {
    const raster::Rect box = control.clipsItself() ? keep : pixelBox(reach);
    if (box.left >= keep.left && box.top >= keep.top && box.right <= keep.right &&
        box.bottom <= keep.bottom) {
        control.paint(*this);
        return;
    }
    // The control draws past the repaint: what lies outside it is kept as it was.
    std::uint32_t* const bits = drawBitmap_.bits();
    const int span = drawBitmap_.rowSpan();
    const int height = drawBitmap_.height();
    const bool flipped = drawBitmap_.isFlipped();
    auto row = [&](int y) {
        return bits + static_cast<std::ptrdiff_t>(flipped ? height - 1 - y : y) * span;
    };
    const int width = box.right - box.left;
    if (bits == nullptr || width <= 0 || box.bottom <= box.top) {
        control.paint(*this);
        return;
    }
    saved_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(box.bottom - box.top));
    for (int y = box.top; y < box.bottom; ++y)
        std::copy(row(y) + box.left, row(y) + box.right, saved_.begin() + (y - box.top) * width);
    control.paint(*this);
    for (int y = box.top; y < box.bottom; ++y) {
        const std::uint32_t* before = saved_.data() + (y - box.top) * width - box.left;
        std::uint32_t* out = row(y);
        if (y < keep.top || y >= keep.bottom) {
            std::copy(before + box.left, before + box.right, out + box.left);
            continue;
        }
        for (int x = box.left; x < std::min(box.right, keep.left); ++x) out[x] = before[x];
        for (int x = std::max(box.left, keep.right); x < box.right; ++x) out[x] = before[x];
    }
}

void EditorGraphics::paint(const LayoutRect& update) {
    paintArea_ = update;
    paintRegion_ = &paintArea_;
    if (!update.isEmpty()) {
        const raster::Rect keep = pixelBox(update);
        for (const auto& control : controls_) {
            if (control->isHidden()) continue;
            const LayoutRect& rect = control->rect();
            if (rect.isEmpty()) continue;
            const LayoutRect reach = Enclosing(rect, control->drawnArea(*this));
            if (!reach.overlaps(update)) continue;
            paintControl(*control, reach, keep);
        }
    }
    paintRegion_ = nullptr;
}

void EditorGraphics::paintDirtyAreas() {
    const int count = dirtyAreaCount_;
    dirtyAreaCount_ = 0;
    for (int i = 0; i < count; ++i) paint(dirtyAreas_[i]);
}

}  // namespace corvalen::editor
