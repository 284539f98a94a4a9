// What painting the editor costs: the response graph on its own, a repaint of the whole
// editor (a window exposed, the scale changed) and the tick after one knob drag, at half and
// at full size. The editor is the real one, made with the plug-in as a host makes it, with a
// measurement loaded, every band on and bent and every graph layer shown.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <string>

#include "editor/controls/file_button.h"
#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"
#include "editor/layout/control_table.h"
#include "engine/correction_plugin.h"
#include "engine/parameter_table.h"
#include "plugin/editor_assembly.h"
#include "shell/plugin_entry.h"
#include "shell/reentrant_lock.h"

namespace corvalen::editor {
namespace {

intptr_t SilentHost(EffectRecord*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

// The plug-in with its editor, opened at 48 kHz, in a busy state: twelve bands on at
// different gains and widths, the sample measurement loaded and all four layers on.
class BusyEditor {
public:
    explicit BusyEditor(int shift) {
        // The editor reads (and may create) its scale setting under APPDATA: keep it out of
        // the user's folder.
        char folder[] = "/tmp/corvalen-bench-XXXXXX";
        if (::mkdtemp(folder) != nullptr) ::setenv("APPDATA", folder, 1);
        plugin_.reset(static_cast<CorrectionPlugin*>(CreatePluginObject(&SilentHost)));
        {
            LockScope scope(plugin_->Lock());
            plugin_->Dispatch(vst2::effOpen, 0, 0, nullptr, 0.0f);
            plugin_->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        }
        for (int band = 0; band < kBandCount; ++band) {
            set(param::BandSwitch(band), 1.0);
            set(param::BandGain(band), (band % 2 == 0 ? 1.0 : -1.0) * (2.0 + band));
            set(param::BandQuality(band), 0.5 + 0.4 * band);
        }
        for (int layer :
             {param::kEqGraph, param::kFrAndEqGraph, param::kFrGraph, param::kTargetGraph}) {
            set(layer, 1.0);
        }
        chooseMeasurement(CORVALEN_SAMPLE_MEASUREMENT);
        plugin_->Editor()->SetScale(shift);
        LayoutRect dirty;
        graphics().isDirty(dirty);
        graphics().paint(everything());  // fonts resolved, glyphs cached
    }

    EditorGraphics& graphics() { return *AssembledEditorGraphics(*plugin_); }
    EditorControl& control(int row) {
        return *graphics().controls()[static_cast<std::size_t>(row)];
    }
    static LayoutRect everything() {
        return {0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight};
    }

private:
    // A parameter in its own units, as the host sets it; the controls follow.
    void set(int index, double value) {
        LockScope scope(plugin_->Lock());
        ParamSpec* param = plugin_->Param(index);
        param->SetValue(value);
        plugin_->Editor()->SetControlsForParameter(index, param->GetNormalised());
        plugin_->OnParamChange(index);
    }
    void chooseMeasurement(const char* path) {
        auto* button = dynamic_cast<FileButton*>(&control(layout_row::kFileButton));
        {
            LockScope scope(plugin_->Lock());
            button->path() = path;
        }
        button->applyValueFromUser(1.0);
        button->applyValueFromUser(0.0);
    }

    std::unique_ptr<CorrectionPlugin> plugin_;
};

const char* SizeLabel(int shift) { return shift == 0 ? "1600 x 1054" : "800 x 527"; }

// The graph's own drawing: grid, four curves of 800 points, twelve markers.
void GraphPaint(benchmark::State& state) {
    const int shift = static_cast<int>(state.range(0));
    BusyEditor ui(shift);
    EditorGraphics& graphics = ui.graphics();
    EditorControl& graph = ui.control(layout_row::kGraph);
    for (auto _ : state) {
        graph.paint(graphics);
        benchmark::ClobberMemory();
    }
    state.SetLabel(SizeLabel(shift));
}
BENCHMARK(GraphPaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Every control of the layout over the whole window.
void FullRepaint(benchmark::State& state) {
    const int shift = static_cast<int>(state.range(0));
    BusyEditor ui(shift);
    EditorGraphics& graphics = ui.graphics();
    for (auto _ : state) {
        graphics.paint(BusyEditor::everything());
        benchmark::ClobberMemory();
    }
    state.SetLabel(SizeLabel(shift));
}
BENCHMARK(FullRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One drag step of band 2's gain knob, then the tick that repaints what it changed: the
// knob, its read-out and the graph.
void RepaintAfterKnobDrag(benchmark::State& state) {
    const int shift = static_cast<int>(state.range(0));
    BusyEditor ui(shift);
    EditorGraphics& graphics = ui.graphics();
    EditorControl& gain = ui.control(layout_row::BandControl(1, 1));
    int direction = 1;
    LayoutRect dirty;
    for (auto _ : state) {
        gain.mouseDrag(0, 0, 0, direction * 3, kModifierLeftButton);
        direction = -direction;
        graphics.isDirty(dirty);
        graphics.paintDirtyAreas();
        benchmark::ClobberMemory();
    }
    state.SetLabel(SizeLabel(shift));
}
BENCHMARK(RepaintAfterKnobDrag)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvalen::editor
