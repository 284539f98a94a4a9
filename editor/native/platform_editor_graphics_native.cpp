#include "editor/platform_editor_graphics.h"

namespace corvalen::editor {

std::unique_ptr<EditorGraphics> CreatePlatformEditorGraphics() {
    return std::make_unique<EditorGraphics>();
}

}  // namespace corvalen::editor
