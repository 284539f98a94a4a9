// What the image kinds of control share: a target rectangle where the mouse is taken, an
// image split into frames, and a normalised value that chooses the frame.
#pragma once

#include <atomic>

#include "editor/bitmap_ref.h"
#include "editor/editor_control.h"
#include "editor/layout_rect.h"

namespace corvalen::editor {

// The rectangle an image control covers at (x, y): one frame of image, whose frame width and
// height are given in layout units.
LayoutRect ImageRectAt(int x, int y, const BitmapRef& image);

// The frame an image of `frames` frames shows for a normalised value: the nearest step,
// counted from the last frame when reversed.
int FrameForValue(int frames, double value, bool reverse);

class ImageControl : public EditorControl {
public:
    // image names its resource (either id of the pair), its frame count and its frame size in
    // layout units; it is resolved to a bitmap on the first paint or rescale.
    ImageControl(const LayoutRect& rect, int parameterIndex, const BitmapRef& image);

    // Editor thread: the frame chosen by the value, at the rect's top-left.
    void paint(EditorGraphics& graphics) override;
    void rescale(EditorGraphics& graphics) override;

    // Any thread. The value is published atomically: host threads store it while the editor
    // thread paints.
    void storeValue(double value) override { value_.store(value, std::memory_order_release); }
    double readValue() const override { return value_.load(std::memory_order_acquire); }
    void clampValue(double lo, double hi) override;

    LayoutRect targetRect() const override { return target_; }
    void setTargetRect(const LayoutRect& rect) override { target_ = rect; }

    // Editor thread: the image as last resolved.
    const BitmapRef& image() const { return image_; }
    int frameCount() const { return image_.frameCount; }
    // The frame the current value shows.
    int currentFrame() const;

protected:
    // Editor thread: resolves the image for the owner's current scale when it has not been.
    void resolveImage(EditorGraphics& graphics);
    // Editor thread: frame `frame` with its top-left at layout (x, y), faint when greyed.
    void drawImageFrame(EditorGraphics& graphics, int frame, int x, int y);
    // Clamps to 0 .. 1 and stores; true when the value changed.
    bool storeClamped(double value);

private:
    LayoutRect target_;
    BitmapRef image_;
    int resolvedShift_ = -1;
    std::atomic<double> value_{0.0};
};

}  // namespace corvalen::editor
