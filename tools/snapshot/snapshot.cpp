// corvalen-snapshot: the real editor painted headless into a PNG: the plug-in made as a host
// makes it (with its editor, every control of the layout and the response graph), brought to
// a given state, then drawn once without any window.
//
//     corvalen-snapshot OUT.png [--full-size] [--rate HZ] [--chunk PROGRAM.fxp-chunk]
//                       [--set NAME=VALUE]... [--measurement FILE] [--fit] [--fit-aligned]
//                       [--splash] [--no-text] [--repeat N]
//
// The state is applied in the order given after the plug-in is opened and told the sample
// rate (48000 Hz unless --rate says otherwise; 0 tells none): a program chunk as the host's
// effSetChunk receives it, parameter values in their own units ("f6Gain=6", "TipoF1=1"), a
// measurement file chosen as through the file button, and a click on the FIT button (with Ctrl
// held for --fit-aligned). --splash shows the splash panel.
// --no-text leaves every text out (the fonts are forgotten before the first paint), which
// shows where the full picture has text. With --repeat it also times N full repaints.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/controls/file_button.h"
#include "editor/controls/fit_button.h"
#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"
#include "editor/layout/control_table.h"
#include "editor/platform_fonts.h"
#include "engine/parameter_table.h"
#include "plugin/editor_assembly.h"
#include "png_writer.h"
#include "raster/ft/font_registry.h"
#include "shell/plugin_entry.h"
#include "shell/reentrant_lock.h"
#include "shell/vst2_plugin.h"

namespace {

using corvalen::Vst2Plugin;
using corvalen::editor::EditorGraphics;
using corvalen::editor::LayoutRect;
namespace ed = corvalen::editor;
namespace vst2 = corvalen::vst2;

intptr_t SilentHost(corvalen::EffectRecord*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

struct Options {
    std::string output;
    bool fullSize = false;
    bool noText = false;
    double rate = 48000.0;
    int repeat = 0;
    // Applied in order: "chunk", "set" or "measurement" with its argument, or "fit" with ""
    // or "aligned".
    std::vector<std::pair<std::string, std::string>> steps;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--full-size") {
            options.fullSize = true;
        } else if (argument == "--no-text") {
            options.noText = true;
        } else if (argument == "--fit" || argument == "--fit-aligned") {
            options.steps.emplace_back("fit", argument == "--fit" ? "" : "aligned");
        } else if (argument == "--splash") {
            options.steps.emplace_back("set", "splashScreen=1");
        } else if (argument == "--rate" && hasValue) {
            options.rate = std::atof(argv[++i]);
        } else if (argument == "--repeat" && hasValue) {
            options.repeat = std::atoi(argv[++i]);
        } else if ((argument == "--chunk" || argument == "--set" || argument == "--measurement") &&
                   hasValue) {
            options.steps.emplace_back(argument.substr(2), argv[++i]);
        } else if (options.output.empty() && !argument.empty() && argument[0] != '-') {
            options.output = argument;
        } else {
            return false;
        }
    }
    return !options.output.empty();
}

// A parameter by name in its own units, as the host would set it (the controls follow).
bool SetByName(Vst2Plugin& plugin, const std::string& assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) return false;
    const std::string name = assignment.substr(0, equals);
    const double value = std::atof(assignment.c_str() + equals + 1);
    for (int index = 0; index < plugin.ParamCount(); ++index) {
        corvalen::ParamSpec* param = plugin.Param(index);
        if (param->Name() != name) continue;
        corvalen::LockScope scope(plugin.Lock());
        param->SetValue(value);
        if (plugin.Editor() != nullptr) {
            plugin.Editor()->SetControlsForParameter(index, param->GetNormalised());
        }
        plugin.OnParamChange(index);
        return true;
    }
    return false;
}

bool LoadChunk(Vst2Plugin& plugin, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (!file.eof() && !file.good()) return false;
    corvalen::LockScope scope(plugin.Lock());
    return plugin.Dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(bytes.size()), bytes.data(),
                           0.0f) != 0;
}

// As the file button does once the user has chosen the file: the path is kept and the
// button's release is pushed, which makes the plug-in load it.
bool ChooseMeasurement(EditorGraphics& graphics, const std::string& path) {
    auto* button =
        dynamic_cast<ed::FileButton*>(graphics.controls()[ed::layout_row::kFileButton].get());
    if (button == nullptr) return false;
    {
        corvalen::LockScope scope(graphics.plugin()->Lock());
        button->path() = path;
    }
    button->applyValueFromUser(1.0);
    button->applyValueFromUser(0.0);
    return true;
}

// A left click on the FIT button, as a user makes it (Ctrl held when aligned).
bool PressFit(EditorGraphics& graphics, bool aligned) {
    auto* button =
        dynamic_cast<ed::FitButton*>(graphics.controls()[ed::layout_row::kFitButton].get());
    if (button == nullptr) return false;
    const LayoutRect& rect = button->rect();
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    const int control = aligned ? ed::kModifierControl : 0;
    button->mouseDown(x, y, ed::kModifierLeftButton | control);
    button->mouseUp(x, y, control);
    return true;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: corvalen-snapshot OUT.png [--full-size] [--rate HZ] [--chunk FILE]\n"
                     "       [--set NAME=VALUE]... [--measurement FILE] [--fit] [--fit-aligned]\n"
                     "       [--splash] [--no-text] [--repeat N]\n");
        return 2;
    }

    Vst2Plugin* plugin = corvalen::CreatePluginObject(&SilentHost);
    EditorGraphics* drawing =
        plugin != nullptr ? corvalen::AssembledEditorGraphics(*plugin) : nullptr;
    if (drawing == nullptr) {
        std::fprintf(stderr, "corvalen-snapshot: the plug-in has no editor\n");
        delete plugin;
        return 1;
    }
    EditorGraphics& graphics = *drawing;
    {
        corvalen::LockScope scope(plugin->Lock());
        plugin->Dispatch(vst2::effOpen, 0, 0, nullptr, 0.0f);
        if (options.rate > 0.0) {
            plugin->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr,
                             static_cast<float>(options.rate));
        }
    }
    int status = 0;
    for (const auto& [kind, argument] : options.steps) {
        const bool applied = kind == "chunk" ? LoadChunk(*plugin, argument)
                             : kind == "set" ? SetByName(*plugin, argument)
                             : kind == "fit" ? PressFit(graphics, argument == "aligned")
                                             : ChooseMeasurement(graphics, argument);
        if (!applied) {
            std::fprintf(stderr, "corvalen-snapshot: cannot apply --%s %s\n", kind.c_str(),
                         argument.c_str());
            status = 1;
        }
    }

    // Fonts resolve at the first paint: without registered faces no text is drawn (the
    // system faces, registered once on first use, are registered first so they stay out).
    if (options.noText) {
        ed::ensureSystemFaces();
        corvalen::raster::clearRegisteredFonts();
    }
    plugin->Editor()->SetScale(options.fullSize ? 0 : 1);
    const auto firstStart = std::chrono::steady_clock::now();
    LayoutRect dirty;
    graphics.isDirty(dirty);
    graphics.paint(LayoutRect{0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight});
    const double firstPaint = MillisecondsSince(firstStart);
    if (options.repeat > 0) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < options.repeat; ++i) {
            graphics.paint(
                LayoutRect{0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight});
        }
        std::printf("first paint (fonts and glyphs) %.2f ms, full repaint %.3f ms\n", firstPaint,
                    MillisecondsSince(start) / options.repeat);
    }

    std::string error;
    if (!corvalen::tools::writePng(graphics.drawBitmap(), options.output, error)) {
        std::fprintf(stderr, "corvalen-snapshot: %s\n", error.c_str());
        status = 1;
    } else {
        std::printf("%s: %d x %d\n", options.output.c_str(), graphics.drawBitmap().width(),
                    graphics.drawBitmap().height());
    }
    delete plugin;
    return status;
}
