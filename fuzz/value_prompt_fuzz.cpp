// Text typed into the editor's value prompt: the first byte picks a control bound to a
// parameter, the rest is the text as the prompt hands it on (UTF-8, up to its first zero byte).
// Whatever the text, nothing may crash, every parameter stays finite and inside its range, and
// committing the text the prompt then opens with (the parameter's display text) changes nothing
// a user sees. Every input meets the plug-in as it was opened.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/editor_graphics.h"
#include "plugin/editor_assembly.h"
#include "plugin_under_fuzz.h"
#include "shell/parameter.h"

namespace {

using corvalen::editor::EditorControl;

// The editor's controls that are bound to a parameter, in attach order.
const std::vector<EditorControl*>& BoundControls(corvalen::editor::EditorGraphics& graphics) {
    static const std::vector<EditorControl*> bound = [&graphics] {
        std::vector<EditorControl*> found;
        for (const auto& control : graphics.controls()) {
            if (control->parameterIndex() >= 0) found.push_back(control.get());
        }
        return found;
    }();
    return bound;
}

std::string DisplayText(const corvalen::ParamSpec& param) {
    char text[256] = {};
    param.DisplayText(text, static_cast<int>(sizeof text));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    corvalen::fuzzing::PluginUnderFuzz& fuzzed = corvalen::fuzzing::PluginUnderFuzz::Instance();
    corvalen::editor::EditorGraphics* graphics = corvalen::AssembledEditorGraphics(fuzzed.Plugin());
    if (graphics == nullptr) std::abort();
    const std::vector<EditorControl*>& controls = BoundControls(*graphics);
    if (controls.empty()) std::abort();
    fuzzed.Restore();

    EditorControl& control = *controls[data[0] % controls.size()];
    const int index = control.parameterIndex();
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    graphics->applyEnteredText(control, index, text.c_str());
    fuzzed.CheckParameters();

    const corvalen::ParamSpec* param = fuzzed.Plugin().Param(index);
    if (param == nullptr) std::abort();
    const std::string shown = DisplayText(*param);
    graphics->applyEnteredText(control, index, shown.c_str());
    if (DisplayText(*param) != shown) std::abort();
    return 0;
}
