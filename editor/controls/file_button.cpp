#include "editor/controls/file_button.h"

#include <string>

#include "editor/editor_graphics.h"
#include "shell/plugin_base.h"

namespace corvalen::editor {

FileButton::FileButton(int x, int parameterIndex, const BitmapRef& image)
    : MomentaryButton(x, parameterIndex, image) {}

void FileButton::mouseUp(int, int, int) {
    storeValue(0.0);
    std::string chosen;
    // The chooser is modal and may stay open for minutes: audio must not wait for it.
    const bool picked = owner() != nullptr && owner()->promptForFile(chosen, 0, "", kExtensions);
    PluginBase* target = plugin();
    // Host threads read the path (state chunks, the change handler) under the instance lock.
    LockScope scope(target != nullptr ? target->Lock() : nullptr);
    if (picked) path_->swap(chosen);
    markDirty(true);
}

}  // namespace corvalen::editor
