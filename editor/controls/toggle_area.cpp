#include "editor/controls/toggle_area.h"

#include <algorithm>

#include "editor/input_modifiers.h"

namespace corvalen::editor {

ToggleArea::ToggleArea(int parameterIndex, const LayoutRect& target)
    : EditorControl(LayoutRect{}, parameterIndex), target_(target) {
    setFlagBits(kControlNoRightPrompt | kControlDoubleClickPresses);
}

void ToggleArea::clampValue(double lo, double hi) {
    storeValue(std::min(std::max(readValue(), lo), hi));
}

void ToggleArea::mouseDown(int, int, int modifiers) {
    if ((modifiers & kModifierLeftButton) == 0) return;
    storeValue(readValue() < 0.5 ? 1.0 : 0.0);
    markDirty(true);
}

}  // namespace corvalen::editor
