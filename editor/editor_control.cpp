#include "editor/editor_control.h"

#include "editor/editor_graphics.h"
#include "shell/plugin_base.h"

namespace corvalen::editor {

void EditorControl::paint(EditorGraphics&) {}

void EditorControl::rescale(EditorGraphics&) {}

PluginBase* EditorControl::plugin() const { return owner_ != nullptr ? owner_->plugin() : nullptr; }

void EditorControl::openValuePrompt() {
    if (parameterIndex_ < 0 || owner_ == nullptr) return;
    if (owner_->openValuePrompt(*this)) setFlagBits(kControlDirty | kControlPromptDirty);
}

void EditorControl::applyValueFromPlugin(double value) {
    if (value == readValue()) return;
    storeValue(value);
    markDirty(false);
}

void EditorControl::applyValueFromUser(double value) {
    if (value == readValue()) return;
    storeValue(value);
    markDirty(true);
}

bool EditorControl::hitTest(int x, int y) const {
    const LayoutRect target = targetRect();
    return target.left <= x && x < target.right && target.top <= y && y < target.bottom;
}

void EditorControl::markDirty(bool push) {
    if (!isHidden()) setFlagBits(kControlDirty);
    if (!push || parameterIndex_ < 0) return;
    const double value = readValue();
    if (PluginBase* target = plugin()) target->ApplyEditorChange(parameterIndex_, value);
    // Linked controls follow after the lock is released, without pushing again.
    if ((flags() & kControlUpdateLinked) == 0 || owner_ == nullptr) return;
    for (const auto& other : owner_->controls()) {
        if (other.get() != this && other->parameterIndex() == parameterIndex_)
            other->applyValueFromPlugin(value);
    }
}

void EditorControl::markClean() { clearFlagBits(kControlDirty | kControlPromptDirty); }

void EditorControl::setHidden(bool hidden) {
    if (hidden) {
        setFlagBits(kControlHidden);
    } else {
        clearFlagBits(kControlHidden);
    }
    setFlagBits(kControlDirty | kControlPromptDirty);
    markDirty(false);
}

void EditorControl::setGreyed(bool greyed) {
    if (greyed) {
        setFlagBits(kControlGreyed | kControlNoMouse);
    } else {
        clearFlagBits(kControlGreyed | kControlNoMouse);
    }
    markDirty(false);
}

}  // namespace corvalen::editor
