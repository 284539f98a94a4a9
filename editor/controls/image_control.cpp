#include "editor/controls/image_control.h"

#include <algorithm>
#include <cmath>

#include "editor/editor_graphics.h"

namespace corvalen::editor {
namespace {

constexpr float kGreyedAlpha = 0.25f;

}  // namespace

LayoutRect ImageRectAt(int x, int y, const BitmapRef& image) {
    return LayoutRect{x, y, x + image.frameWidth, y + image.frameHeight};
}

int FrameForValue(int frames, double value, bool reverse) {
    const int last = std::max(1, frames) - 1;
    // A value outside 0 .. 1 (or not a number) still names a frame of the image.
    const double step = std::trunc(last * value + 0.5);
    int frame = 0;
    if (step >= last) {
        frame = last;
    } else if (step > 0.0) {
        frame = static_cast<int>(step);
    }
    return reverse ? last - frame : frame;
}

ImageControl::ImageControl(const LayoutRect& rect, int parameterIndex, const BitmapRef& image)
    : EditorControl(rect, parameterIndex), target_(rect), image_(image) {
    image_.bitmap = nullptr;
    image_.frameCount = std::max(1, image_.frameCount);
}

void ImageControl::clampValue(double lo, double hi) {
    storeValue(std::min(std::max(readValue(), lo), hi));
}

int ImageControl::currentFrame() const {
    return FrameForValue(image_.frameCount, readValue(), (flags() & kControlReverseFrames) != 0);
}

void ImageControl::resolveImage(EditorGraphics& graphics) {
    if (image_.bitmap != nullptr && resolvedShift_ == graphics.effectiveShift()) return;
    graphics.resolveBitmap(image_);
    resolvedShift_ = graphics.effectiveShift();
}

void ImageControl::rescale(EditorGraphics& graphics) {
    resolvedShift_ = -1;
    resolveImage(graphics);
}

void ImageControl::drawImageFrame(EditorGraphics& graphics, int frame, int x, int y) {
    resolveImage(graphics);
    graphics.drawFrame(image_, frame, x, y, isGreyed() ? kGreyedAlpha : 1.0f);
}

void ImageControl::paint(EditorGraphics& graphics) {
    drawImageFrame(graphics, currentFrame(), rect().left, rect().top);
}

bool ImageControl::storeClamped(double value) {
    const double clamped = std::min(std::max(value, 0.0), 1.0);
    if (clamped == readValue()) return false;
    storeValue(clamped);
    return true;
}

}  // namespace corvalen::editor
