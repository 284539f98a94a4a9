#include "editor/controls/switch_control.h"

#include <algorithm>
#include <cmath>

#include "editor/input_modifiers.h"

namespace corvalen::editor {
namespace {

// A one-frame switch shows its image from this value up.
constexpr double kOnThreshold = 0.5;

}  // namespace

double NextSwitchValue(int frames, double value) {
    const int steps = std::max(1, frames - 1);
    const double state = std::trunc(steps * value + 0.5);
    if (state < steps) return (state + 1.0) / steps;
    return 0.0;
}

SwitchControl::SwitchControl(int x, int y, int parameterIndex, const BitmapRef& image)
    : SwitchControl(ImageRectAt(x, y, image), parameterIndex, image) {}

SwitchControl::SwitchControl(const LayoutRect& rect, int parameterIndex, const BitmapRef& image)
    : ImageControl(rect, parameterIndex, image) {
    setFlagBits(kControlNoRightPrompt | kControlDoubleClickPresses);
}

void SwitchControl::mouseDown(int, int, int modifiers) {
    if ((modifiers & kModifierLeftButton) == 0) return;
    storeValue(NextSwitchValue(frameCount(), readValue()));
    markDirty(true);
}

void SwitchControl::paint(EditorGraphics& graphics) {
    if (frameCount() == 1 && readValue() < kOnThreshold) return;
    ImageControl::paint(graphics);
}

}  // namespace corvalen::editor
