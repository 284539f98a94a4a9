#include "editor/editor_control.h"

namespace corvalen::editor {

void EditorControl::paint(EditorGraphics&) {}

void EditorControl::rescale(EditorGraphics&) {}

void EditorControl::markDirty(bool push) {
    if (!isHidden()) flags_ |= kControlDirty;
    if (push && parameterIndex_ >= 0) pushValue();
}

void EditorControl::markClean() { flags_ &= ~(kControlDirty | kControlPromptDirty); }

void EditorControl::setHidden(bool hidden) {
    if (hidden) {
        flags_ |= kControlHidden;
    } else {
        flags_ &= ~kControlHidden;
    }
    flags_ |= kControlDirty | kControlPromptDirty;
    markDirty(false);
}

void EditorControl::setGreyed(bool greyed) {
    if (greyed) {
        flags_ |= kControlGreyed | kControlNoMouse;
    } else {
        flags_ &= ~(kControlGreyed | kControlNoMouse);
    }
    markDirty(false);
}

}  // namespace corvalen::editor
