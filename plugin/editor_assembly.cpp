#include "plugin/editor_assembly.h"

#include <memory>
#include <utility>

#include "editor/graphics_plugin_editor.h"
#include "editor/layout/editor_builder.h"
#include "editor/layout/scale_setting.h"
#include "editor/platform_editor_graphics.h"
#include "engine/correction_plugin.h"
#include "shell/plugin_base.h"

namespace corvalen {

namespace {

// The editor as the plug-in holds it: the drawing host with its controls, plus the engine's
// links to those controls. Destroying it is the one place where the editor goes: the window
// closes, the engine forgets the controls, then the controls are destroyed.
class ConnectedEditor final : public PluginEditor {
public:
    ConnectedEditor(CorrectionPlugin& plugin, std::unique_ptr<editor::EditorGraphics> graphics)
        : plugin_(plugin), editor_(std::move(graphics)) {}
    ~ConnectedEditor() override {
        editor_.CloseWindow();
        plugin_.ConnectEditorControls(EditorLinks{});
    }

    editor::EditorGraphics& graphics() { return editor_.graphics(); }

    int Width() const override { return editor_.Width(); }
    int Height() const override { return editor_.Height(); }
    bool OpenWindow(void* parentWindow) override { return editor_.OpenWindow(parentWindow); }
    void CloseWindow() override { editor_.CloseWindow(); }
    void SetControlsForParameter(int index, double normalised) override {
        editor_.SetControlsForParameter(index, normalised);
    }
    int KeyControlIndex() const override { return editor_.KeyControlIndex(); }
    int OnKey(int virtualKey, int modifiers, bool keyDown) override {
        return editor_.OnKey(virtualKey, modifiers, keyDown);
    }
    int OnHostWheel(float delta) override { return editor_.OnHostWheel(delta); }
    void StopWheelGestureCountdown() override { editor_.StopWheelGestureCountdown(); }
    void SetScale(int shift) override { editor_.SetScale(shift); }

private:
    CorrectionPlugin& plugin_;
    editor::GraphicsPluginEditor editor_;
};

}  // namespace

void AssembleEditor(CorrectionPlugin& plugin) {
    std::unique_ptr<editor::EditorGraphics> graphics = editor::CreatePlatformEditorGraphics();
    if (graphics == nullptr || plugin.Model() == nullptr) return;
    graphics->setPlugin(&plugin);
    // Half size unless the window's dpi asks for more; mouse-over, tooltips and the wheel on.
    graphics->setDefaultShift(1);
    graphics->setInputOptions(1, 1, 1);
    graphics->setDpiValue(
        editor::ReadOrCreateScaleSetting(editor::ScaleSettingBaseFolder(*graphics)));

    EditorLinks links = editor::BuildLayoutControls(*graphics, *plugin.Model());
    editor::RegisterLayoutFonts(*graphics);
    plugin.ConnectEditorControls(links);

    // Under the instance lock every control takes its parameter's value; the record then says
    // the plug-in has an editor, of the drawing host's size (800 x 527 at half size).
    plugin.AttachEditor(std::make_unique<ConnectedEditor>(plugin, std::move(graphics)));
}

editor::EditorGraphics* AssembledEditorGraphics(const PluginBase& plugin) {
    auto* editor = dynamic_cast<ConnectedEditor*>(plugin.Editor());
    return editor != nullptr ? &editor->graphics() : nullptr;
}

}  // namespace corvalen
