#include "editor/controls/fit_button.h"

#include "editor/fit_press.h"
#include "editor/input_modifiers.h"

namespace corvalen::editor {
namespace {

constexpr double kUp = 0.0;
constexpr double kDown = 1.0;

}  // namespace

FitButton::FitButton(int x, int y, const BitmapRef& image, const ResponseModel& model)
    : SwitchControl(ImageRectAt(x, y, image), -1, image), model_(model) {}

void FitButton::mouseDown(int, int, int modifiers) {
    if ((modifiers & kModifierLeftButton) == 0) return;
    // The press decides: a user holds Ctrl as they click, not necessarily until the release.
    alignReference_ = (modifiers & kModifierControl) != 0;
    storeValue(kDown);
    markDirty(false);
}

void FitButton::mouseUp(int, int, int) {
    if (readValue() != kDown) return;
    storeValue(kUp);
    markDirty(false);
    if (PluginBase* target = plugin()) PressFit(*target, model_, status_, alignReference_);
}

}  // namespace corvalen::editor
