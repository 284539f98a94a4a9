#include "editor/controls/slider.h"

#include <cmath>

#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"

namespace corvalen::editor {

Slider::Slider(const LayoutRect& target, int parameterIndex, const BitmapRef& handle,
               int trackLength, bool horizontal)
    : AdjustableControl(target, parameterIndex, handle),
      handleWidth_(handle.frameWidth),
      handleHeight_(handle.frameHeight),
      trackLength_(trackLength) {
    if (horizontal) setFlagBits(kControlHorizontal);
}

int Slider::handleSize() const { return isHorizontal() ? handleWidth_ : handleHeight_; }

int Slider::travel() const { return trackLength_ - handleSize(); }

LayoutRect Slider::handleRect() const {
    const LayoutRect target = targetRect();
    const double span = travel();
    const double value = readValue();
    if (isHorizontal()) {
        const int left = target.left + static_cast<int>(std::trunc(span * value));
        return LayoutRect{left, target.top, left + handleWidth_, target.top + handleHeight_};
    }
    const int top = target.top + static_cast<int>(std::trunc(span - span * value));
    return LayoutRect{target.left, top, target.left + handleWidth_, top + handleHeight_};
}

void Slider::paint(EditorGraphics& graphics) {
    const LayoutRect handle = handleRect();
    drawImageFrame(graphics, 0, handle.left, handle.top);
}

void Slider::openValuePrompt() {
    if (parameterIndex() < 0 || owner() == nullptr) return;
    const LayoutRect handle = handleRect();
    if (owner()->openTextEntry(*this, parameterIndex(), &handle, 0, nullptr, 0, 0, 0, 0)) {
        setFlagBits(kControlDirty | kControlPromptDirty);
    }
}

void Slider::mouseDown(int x, int y, int modifiers) {
    if ((modifiers & kModifierRightButton) != 0) {
        if ((flags() & kControlNoRightPrompt) == 0) openValuePrompt();
        return;
    }
    if ((modifiers & kModifierLeftButton) == 0) return;
    const LayoutRect handle = handleRect();
    const bool onHandle =
        handle.left <= x && x < handle.right && handle.top <= y && y < handle.bottom;
    if (onHandle || travel() <= 0) return;
    // The click puts the handle's centre under the mouse.
    const LayoutRect target = targetRect();
    const int half = handleSize() / 2;
    const double span = travel();
    if (isHorizontal()) {
        adjustTo((x - half - target.left) / span);
    } else {
        adjustTo((target.top + half - y) / span + 1.0);
    }
}

void Slider::mouseDrag(int, int, int dx, int dy, int modifiers) {
    if ((modifiers & kModifierLeftButton) == 0 || travel() <= 0) return;
    double span = travel();
    if (isFine(modifiers)) span *= kFineFactor;
    if (isHorizontal()) {
        adjustTo(readValue() + dx / span);
    } else {
        adjustTo(readValue() - dy / span);
    }
}

}  // namespace corvalen::editor
