#include "editor/platform_editor_graphics.h"
#include "editor/win/win_editor_graphics.h"

namespace corvalen::editor {

std::unique_ptr<EditorGraphics> CreatePlatformEditorGraphics() {
    return std::make_unique<WinEditorGraphics>();
}

}  // namespace corvalen::editor
