// EditorGraphics: where the window's mouse, wheel and key events meet the controls, and the
// edit gestures that tell the host when a user starts and stops changing a parameter.
#include <algorithm>

#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"
#include "shell/parameter.h"
#include "shell/plugin_base.h"
#include "shell/reentrant_lock.h"

namespace corvalen::editor {
namespace {

// Virtual-key codes of the keys the editor may keep from the host.
constexpr int kFirstNavigationKey = 32;  // space, page up/down, end, home, the arrows
constexpr int kLastNavigationKey = 40;
constexpr int kFirstDigitKey = 48;
constexpr int kLastDigitKey = 57;
constexpr int kFirstLetterKey = 65;
constexpr int kLastLetterKey = 90;

constexpr int kKeyboardModifiers = kModifierShift | kModifierControl | kModifierAlt;

}  // namespace

void EditorGraphics::setInputOptions(int mouseOver, int tooltips, int wheelMode) {
    mouseOverOption_ = mouseOver;
    tooltipsOption_ = tooltips;
    // A byte: its top bit is the "only with a modifier" mark.
    wheelMode_ = static_cast<signed char>(wheelMode & 0xFF);
}

EditorControl* EditorGraphics::controlAt(int index) const {
    if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(index)].get();
}

int EditorGraphics::hitControl(int x, int y) const {
    for (int i = static_cast<int>(controls_.size()) - 1; i >= 0; --i) {
        const EditorControl& control = *controls_[static_cast<std::size_t>(i)];
        const int flags = control.flags();
        if ((flags & (kControlHidden | kControlNoMouse)) != 0) continue;
        if (control.hitTest(x, y)) return i;
    }
    return -1;
}

void EditorGraphics::beginGesture(int controlIndex) {
    const EditorControl* control = controlAt(controlIndex);
    if (control == nullptr || plugin_ == nullptr || control->parameterIndex() < 0) return;
    plugin_->BeginEdit(control->parameterIndex(), true);
}

void EditorGraphics::endGesture(int controlIndex) {
    const EditorControl* control = controlAt(controlIndex);
    if (control == nullptr || plugin_ == nullptr || control->parameterIndex() < 0) return;
    plugin_->EndEdit(control->parameterIndex());
}

void EditorGraphics::mouseMovedTo(int x, int y, int modifiers, bool buttonHeld,
                                  bool windowHasCapture) {
    if (buttonHeld) {
        EditorControl* control = controlAt(captured_);
        if (!windowHasCapture || control == nullptr || (x == lastX_ && y == lastY_)) return;
        const int dx = x - lastX_;
        const int dy = y - lastY_;
        lastX_ = x;
        lastY_ = y;
        control->mouseDrag(x, y, dx, dy, modifiers);
        return;
    }
    if (mouseOverOption_ == 0) return;
    const int target = captured_ >= 0 ? captured_ : hitControl(x, y);
    EditorControl* control = controlAt(target);
    if (control == nullptr) return;
    lastX_ = x;
    lastY_ = y;
    control->mouseOver(x, y, modifiers);
    if (mouseOver_ != target) {
        if (EditorControl* previous = controlAt(mouseOver_)) previous->mouseOut();
    }
    mouseOver_ = target;
}

bool EditorGraphics::buttonPressedAt(int x, int y, int modifiers) {
    // A release the window never saw (the button went up outside) still closes the gesture.
    if (captured_ >= 0) endGesture(captured_);
    captured_ = -1;
    lastX_ = lastY_ = -1;
    const int hit = hitControl(x, y);
    if (hit < 0) return false;
    captured_ = hit;
    lastX_ = x;
    lastY_ = y;
    beginGesture(hit);
    controlAt(hit)->mouseDown(x, y, modifiers);
    return true;
}

void EditorGraphics::buttonReleasedAt(int x, int y, int modifiers) {
    const int wasCaptured = captured_;
    const int target = wasCaptured >= 0 ? wasCaptured : hitControl(x, y);
    EditorControl* control = controlAt(target);
    if (control == nullptr) return;
    captured_ = -1;
    lastX_ = lastY_ = -1;
    control->mouseUp(x, y, modifiers);
    if (wasCaptured >= 0) endGesture(wasCaptured);
}

bool EditorGraphics::doubleClickedAt(int x, int y, int modifiers) {
    const int wasCaptured = captured_;
    lastX_ = lastY_ = -1;
    captured_ = -1;
    if (wasCaptured >= 0) endGesture(wasCaptured);
    const int hit = hitControl(x, y);
    EditorControl* control = controlAt(hit);
    if (control == nullptr) return false;
    beginGesture(hit);
    if ((control->flags() & kControlDoubleClickPresses) != 0 ||
        (modifiers & kModifierRightButton) != 0) {
        captured_ = hit;
        lastX_ = x;
        lastY_ = y;
        control->mouseDown(x, y, modifiers);
        return true;  // the release ends the gesture
    }
    control->mouseDoubleClick(x, y, modifiers);
    endGesture(hit);
    return false;
}

void EditorGraphics::mouseLeft() {
    for (const auto& control : controls_) control->mouseOut();
    mouseOver_ = -1;
}

int EditorGraphics::wheelModifiers(int keyStateBits, bool altDown) const {
    if (wheelMode_ == 0) return -1;
    int modifiers = keyStateBits & (kModifierLeftButton | kModifierRightButton | kModifierShift |
                                    kModifierControl);
    if (altDown) modifiers |= kModifierAlt;
    if (wheelMode_ >= 0) modifiers |= kModifierWheel;
    if ((modifiers & (kKeyboardModifiers | kModifierWheel)) == 0) return -1;
    return modifiers;
}

bool EditorGraphics::wheelAt(int x, int y, int modifiers, float delta) {
    const int target = captured_ >= 0 ? captured_ : hitControl(x, y);
    EditorControl* control = controlAt(target);
    if (control == nullptr) return false;
    const int parameter = control->parameterIndex();
    PluginBase* plugin = parameter >= 0 ? plugin_ : nullptr;
    if (plugin != nullptr) {
        // The host's threads read and write the gesture state under the same lock.
        LockScope scope(plugin->Lock());
        // Beginning a new gesture ends the pending wheel edit and stops its countdown.
        if (plugin->PendingWheelEdit() != parameter) plugin->BeginEdit(parameter, false);
    }
    control->mouseWheel(x, y, modifiers, delta);
    if (plugin != nullptr) {
        LockScope scope(plugin->Lock());
        if (plugin->Editor() != nullptr) {
            plugin->SetPendingWheelEdit(parameter);
            startWheelGestureCountdown(std::max(1, frameRate() / 2));
        } else {
            // Nobody would count the gesture down: end it now.
            plugin->EndEdit(parameter);
        }
    }
    return true;
}

bool EditorGraphics::isEditorKey(int virtualKey) {
    return (virtualKey >= kFirstNavigationKey && virtualKey <= kLastNavigationKey) ||
           (virtualKey >= kFirstDigitKey && virtualKey <= kLastDigitKey) ||
           (virtualKey >= kFirstLetterKey && virtualKey <= kLastLetterKey);
}

bool EditorGraphics::dispatchKey(bool down, int x, int y, int modifiers, int virtualKey,
                                 bool filtered) {
    if (filtered && !isEditorKey(virtualKey)) return false;
    EditorControl* catcher = controlAt(keyCatcher_);
    if (catcher == nullptr) return false;
    return down ? catcher->keyDown(x, y, modifiers, virtualKey)
                : catcher->keyUp(x, y, modifiers, virtualKey);
}

void EditorGraphics::tickWheelGesture() {
    if (wheelCountdown_ <= 0) return;
    if (--wheelCountdown_ > 0) return;
    if (plugin_ != nullptr) {
        // Stops the countdown, ends the pending wheel edit at the host and forgets it.
        plugin_->ClosePendingWheelEdit(true);
    }
    wheelCountdown_ = 0;
}

void EditorGraphics::endInputForClose() {
    if (wheelCountdown_ > 0) {
        if (plugin_ != nullptr) {
            LockScope scope(plugin_->Lock());
            const int pending = plugin_->PendingWheelEdit();
            plugin_->SetPendingWheelEdit(-1);
            if (pending >= 0) plugin_->EndEdit(pending);
        }
        wheelCountdown_ = 0;
    }
    captured_ = -1;
    mouseOver_ = -1;
    lastX_ = lastY_ = -1;
}

void EditorGraphics::applyEnteredText(EditorControl& control, int parameterIndex,
                                      const char* text) {
    if (text == nullptr) return;
    if (parameterIndex < 0) {
        control.takeEnteredText(text);
        return;
    }
    const ParamSpec* param = plugin_ != nullptr ? plugin_->Param(parameterIndex) : nullptr;
    if (param == nullptr) return;
    const double value = param->ParseToNormalised(text);
    const int bound = control.parameterIndex();
    if (bound < 0) {
        control.applyValueFromUser(value);
        return;
    }
    plugin_->BeginEdit(bound, true);
    control.applyValueFromUser(value);
    plugin_->EndEdit(bound);
}

}  // namespace corvalen::editor
