#include "editor/controls/momentary_button.h"

namespace corvalen::editor {

MomentaryButton::MomentaryButton(int x, int parameterIndex, const BitmapRef& image)
    : SwitchControl(ImageRectAt(x, kRowTop, image), parameterIndex, image) {}

void MomentaryButton::mouseUp(int, int, int) {
    storeValue(0.0);
    markDirty(true);
}

}  // namespace corvalen::editor
