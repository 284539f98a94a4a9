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

const std::vector<EditorControl*>& GraphicsPluginEditor::controlsBoundTo(int index) {
    static const std::vector<EditorControl*> none;
    const auto& controls = graphics_->controls();
    if (indexedControls_ != controls.size()) {
        controlsByParameter_.clear();
        for (const auto& control : controls) {
            const int bound = control->parameterIndex();
            if (bound < 0) continue;
            if (static_cast<std::size_t>(bound) >= controlsByParameter_.size())
                controlsByParameter_.resize(static_cast<std::size_t>(bound) + 1);
            controlsByParameter_[static_cast<std::size_t>(bound)].push_back(control.get());
        }
        indexedControls_ = controls.size();
    }
    if (index < 0 || static_cast<std::size_t>(index) >= controlsByParameter_.size()) return none;
    return controlsByParameter_[static_cast<std::size_t>(index)];
}

// Instance lock held (the callers take it), so the index is made by one thread at a time.
void GraphicsPluginEditor::SetControlsForParameter(int index, double normalised) {
    for (EditorControl* control : controlsBoundTo(index)) control->applyValueFromPlugin(normalised);
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
