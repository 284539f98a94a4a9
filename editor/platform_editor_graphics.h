// The drawing host of this platform: on Windows the window host (editor/win), natively the
// headless EditorGraphics whose window never opens.
#pragma once

#include <memory>

#include "editor/editor_graphics.h"

namespace corvalen::editor {

// Host thread, while the plug-in instance is constructed.
std::unique_ptr<EditorGraphics> CreatePlatformEditorGraphics();

}  // namespace corvalen::editor
