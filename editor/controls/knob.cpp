#include "editor/controls/knob.h"

#include "editor/input_modifiers.h"

namespace corvalen::editor {

Knob::Knob(const LayoutRect& rect, int parameterIndex, const BitmapRef& image, double gearing)
    : AdjustableControl(rect, parameterIndex, image), gearing_(gearing) {}

void Knob::mouseDown(int, int, int modifiers) {
    if ((modifiers & kModifierRightButton) != 0 && (flags() & kControlNoRightPrompt) == 0) {
        openValuePrompt();
    }
}

void Knob::mouseDrag(int, int, int, int dy, int modifiers) {
    if ((modifiers & kModifierLeftButton) == 0) return;
    const LayoutRect target = targetRect();
    double units = (target.bottom - target.top) * gearing_;
    if (isFine(modifiers)) units *= kFineFactor;
    if (units <= 0.0) return;
    adjustTo(readValue() - dy / units);
}

}  // namespace corvalen::editor
