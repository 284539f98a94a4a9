#include "tools/host/editor_command.h"

#include <windows.h>

#include "editor/editor_graphics.h"
#include "editor/layout/control_table.h"
#include "tools/host/win/editor_frame.h"
#include "tools/host/win/editor_timing.h"
#include "tools/host/win/present_probe.h"

namespace corvalen::host {
namespace {

constexpr double kScreenshotSettleSeconds = 0.5;  // a dozen editor ticks

// The library that holds the plug-in's code, found from its dispatcher's address.
void* PluginModule(const VstHost& host) {
    HMODULE module = nullptr;
    if (host.Effect() == nullptr ||
        !GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(host.Effect()->dispatcher), &module))
        return nullptr;
    return module;
}

void PrintPresents(std::FILE* out) {
    const PresentRecord presents = Presents();
    std::fprintf(out, "copies %d widest %d narrowest %d\n", presents.copies, presents.widestCopy,
                 presents.narrowestCopy);
    std::fprintf(out, "stretches halftone %d plain %d from %d x %d to %d x %d\n",
                 presents.halftoneStretches, presents.plainStretches, presents.stretchSourceWidth,
                 presents.stretchSourceHeight, presents.stretchTargetWidth,
                 presents.stretchTargetHeight);
}

// A left click in the middle of the editor's FIT button, as a user makes it, and what reached
// the host: the parameters it changed, each inside its own edit gesture.
void ClickFit(VstHost& host, EditorFrame& frame, std::FILE* out) {
    const editor::LayoutRect& button = editor::kControlTable[editor::layout_row::kFitButton].rect;
    const int x = (button.left + button.right) / 2 * frame.EditorWidth() /
                  editor::EditorGraphics::kLayoutWidth;
    const int y = (button.top + button.bottom) / 2 * frame.EditorHeight() /
                  editor::EditorGraphics::kLayoutHeight;
    host.ClearCalls();
    HWND editorWindow = static_cast<HWND>(frame.Editor());
    SendMessageW(editorWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(editorWindow, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    std::fprintf(out, "fit: %d gestures, %d values automated\n",
                 host.CountCalls(vst2::audioMasterBeginEdit),
                 host.CountCalls(vst2::audioMasterAutomate));
}

}  // namespace

int RunEditor(const EditorCommandOptions& options, std::FILE* out) {
    VstHost host;
    if (!host.Load(options.pluginPath)) {
        std::fprintf(out, "cannot load %s: %s\n", options.pluginPath.c_str(),
                     host.LastError().c_str());
        return 1;
    }
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, options.sampleRate);
    if (options.measurementPath.empty()) {
        for (const ParameterSetting& setting : options.settings) {
            host.SetParameter(setting.first, setting.second);
        }
    } else {
        std::string error;
        if (!RestoreProgramWithMeasurement(host, options.settings, options.measurementPath,
                                           error)) {
            std::fprintf(out, "cannot restore the program: %s\n", error.c_str());
            return 1;
        }
    }
    const bool watched = WatchPresents(PluginModule(host));
    EditorFrame frame(host);
    if (!frame.Open()) {
        std::fprintf(out, "cannot open the editor: %s\n", frame.LastError().c_str());
        return 1;
    }
    std::fprintf(out, "editor %d x %d\n", frame.EditorWidth(), frame.EditorHeight());
    const std::vector<HostCall> sizes = host.CallsOf(vst2::audioMasterSizeWindow);
    if (sizes.empty()) {
        std::fprintf(out, "host told nothing\n");
    } else {
        std::fprintf(out, "host told %d x %d\n", sizes.back().index,
                     static_cast<int>(sizes.back().value));
    }
    if (options.pressFit) ClickFit(host, frame, out);
    std::fflush(out);
    if (options.measure) MeasureEditor(host, frame, out);
    double seconds = options.seconds;
    if (seconds < 0.0 && !options.screenshotPath.empty()) seconds = kScreenshotSettleSeconds;
    if (seconds < 0.0) {
        while (!frame.FrameClosed()) frame.Pump(0.1);
        return 0;
    }
    frame.Pump(seconds);
    if (watched) PrintPresents(out);
    std::fflush(out);
    if (options.screenshotPath.empty()) return 0;
    Screenshot shot;
    std::string error;
    if (!frame.Capture(shot)) {
        std::fprintf(out, "cannot capture the editor window\n");
        return 1;
    }
    if (!EditorFrame::SavePng(shot, options.screenshotPath, error)) {
        std::fprintf(out, "%s\n", error.c_str());
        return 1;
    }
    std::fprintf(out, "saved %s\n", options.screenshotPath.c_str());
    return 0;
}

}  // namespace corvalen::host
