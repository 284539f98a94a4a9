// What a repaint of the editor costs: every control drawn (a window exposed, the scale
// changed) and the tick after one knob drag, at half and at full size.
#include <benchmark/benchmark.h>

#include "editor/input_modifiers.h"
#include "small_editor.h"

namespace corvalen::editor {
namespace {

using testing::SmallEditor;

void FullRepaint(benchmark::State& state) {
    SmallEditor ui;
    EditorGraphics& graphics = *ui.editor.graphics;
    graphics.applyScale(static_cast<int>(state.range(0)));
    for (auto& control : graphics.controls()) control->rescale(graphics);
    const LayoutRect everything{0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight};
    for (auto _ : state) {
        graphics.paint(everything);
        benchmark::ClobberMemory();
    }
    state.SetLabel(state.range(0) == 0 ? "1600 x 1054" : "800 x 527");
}
BENCHMARK(FullRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void RepaintAfterKnobDrag(benchmark::State& state) {
    SmallEditor ui;
    EditorGraphics& graphics = *ui.editor.graphics;
    graphics.applyScale(static_cast<int>(state.range(0)));
    for (auto& control : graphics.controls()) control->rescale(graphics);
    LayoutRect dirty;
    graphics.isDirty(dirty);
    graphics.paint(dirty);
    Knob* gain = ui.knobs[4];  // band 2's gain
    int direction = 1;
    for (auto _ : state) {
        gain->mouseDrag(0, 0, 0, direction * 3, kModifierLeftButton);
        direction = -direction;
        graphics.isDirty(dirty);
        graphics.paint(dirty);
        benchmark::ClobberMemory();
    }
    state.SetLabel(state.range(0) == 0 ? "1600 x 1054" : "800 x 527");
}
BENCHMARK(RepaintAfterKnobDrag)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvalen::editor
