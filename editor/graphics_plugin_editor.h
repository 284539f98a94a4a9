// The editor as the plug-in core sees it: the shell's PluginEditor interface answered by an
// EditorGraphics (the drawing host with all controls, and on Windows its window).
#pragma once

#include <memory>
#include <vector>

#include "editor/editor_graphics.h"
#include "shell/plugin_editor.h"

namespace corvalen::editor {

class GraphicsPluginEditor final : public PluginEditor {
public:
    explicit GraphicsPluginEditor(std::unique_ptr<EditorGraphics> graphics);
    // The window host closes its window first (ending an open wheel gesture).
    ~GraphicsPluginEditor() override;

    EditorGraphics& graphics() { return *graphics_; }

    // The draw bitmap's size at the effective shift: what the host is told before the window
    // opens (800 x 527 at the default half size).
    int Width() const override;
    int Height() const override;
    bool OpenWindow(void* parentWindow) override;
    void CloseWindow() override;
    void SetControlsForParameter(int index, double normalised) override;
    int KeyControlIndex() const override;
    int OnKey(int virtualKey, int modifiers, bool keyDown) override;
    int OnHostWheel(float delta) override;
    void StopWheelGestureCountdown() override;
    // Applies the shift to the drawing surface and lets every control follow it.
    void SetScale(int shift) override;

private:
    // The controls bound to each parameter, so a full parameter pass (every chunk load and
    // program change) visits only those instead of every control once per parameter. Made
    // again when controls were attached since.
    const std::vector<EditorControl*>& controlsBoundTo(int index);

    std::unique_ptr<EditorGraphics> graphics_;
    std::vector<std::vector<EditorControl*>> controlsByParameter_;
    std::size_t indexedControls_ = 0;
};

}  // namespace corvalen::editor
