#include "editor/graphics_plugin_editor.h"

namespace corvalen::editor {

GraphicsPluginEditor::GraphicsPluginEditor(std::unique_ptr<EditorGraphics> graphics)
    : graphics_(std::move(graphics)) {}

GraphicsPluginEditor::~GraphicsPluginEditor() {
    if (graphics_ != nullptr) graphics_->closeWindow();
}

int GraphicsPluginEditor::Width() const {
    return EditorGraphics::kLayoutWidth >> graphics_->effectiveShift();
}

int GraphicsPluginEditor::Height() const {
    return EditorGraphics::kLayoutHeight >> graphics_->effectiveShift();
}

bool GraphicsPluginEditor::OpenWindow(void* parentWindow) {
    return graphics_->openWindow(parentWindow) != nullptr;
}

void GraphicsPluginEditor::CloseWindow() { graphics_->closeWindow(); }

void GraphicsPluginEditor::SetControlsForParameter(int index, double normalised) {
    for (const auto& control : graphics_->controls()) {
        if (control->parameterIndex() == index) control->applyValueFromPlugin(normalised);
    }
}

int GraphicsPluginEditor::KeyControlIndex() const { return graphics_->keyCatcher(); }

int GraphicsPluginEditor::OnKey(int virtualKey, int modifiers, bool keyDown) {
    return graphics_->hostKey(keyDown, modifiers, virtualKey) ? 1 : 0;
}

int GraphicsPluginEditor::OnHostWheel(float delta) { return graphics_->hostWheel(delta) ? 1 : 0; }

void GraphicsPluginEditor::StopWheelGestureCountdown() { graphics_->stopWheelGestureCountdown(); }

void GraphicsPluginEditor::SetScale(int shift) {
    if (!graphics_->applyScale(shift)) return;
    for (const auto& control : graphics_->controls()) control->rescale(*graphics_);
}

}  // namespace corvalen::editor
