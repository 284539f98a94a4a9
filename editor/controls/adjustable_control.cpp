#include "editor/controls/adjustable_control.h"

#include <algorithm>

#include "editor/input_modifiers.h"

namespace corvalen::editor {

AdjustableControl::AdjustableControl(const LayoutRect& rect, int parameterIndex,
                                     const BitmapRef& image)
    : ImageControl(rect, parameterIndex, image) {}

bool AdjustableControl::isFine(int modifiers) { return (modifiers & kModifierControl) != 0; }

void AdjustableControl::adjustTo(double value) {
    if (storeClamped(value)) markDirty(true);
}

void AdjustableControl::applyValueFromPlugin(double value) {
    // The editor is built with the plug-in's values: that first one is what a reset returns to.
    double unset = -1.0;
    default_.compare_exchange_strong(unset, value, std::memory_order_acq_rel);
    ImageControl::applyValueFromPlugin(value);
}

void AdjustableControl::mouseDoubleClick(int, int, int) {
    const double target = defaultValue();
    if (target == readValue()) return;
    adjustTo(std::max(target, 0.0));
}

void AdjustableControl::mouseWheel(int, int, int modifiers, float delta) {
    if ((modifiers & (kModifierControl | kModifierWheel)) == 0) return;
    const double step = isFine(modifiers) ? kWheelStep / kFineFactor : kWheelStep;
    adjustTo(readValue() + static_cast<double>(delta) * step);
}

}  // namespace corvalen::editor
