#include "tools/host/win/editor_timing.h"

#include <windows.h>

#include "engine/parameter_table.h"
#include "tools/host/win/present_probe.h"

namespace corvalen::host {
namespace {

constexpr UINT_PTR kEditorTick = 2;
constexpr UINT_PTR kOtherTimer = 7;  // a timer id the editor ignores: the message's own cost
constexpr int kIdleTicks = 400;
constexpr int kDragSteps = 48;  // pixels up, then as many down
constexpr int kFullRepaints = 12;
// Band 1's gain knob, in layout units (1600 x 1054 plane, 192 dpi).
constexpr int kKnobCentreX = 98;
constexpr int kKnobCentreY = 826;
constexpr int kLayoutDpi = 192;

double Seconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Tick(HWND editor, UINT_PTR timer = kEditorTick) {
    const double start = Seconds();
    SendMessageW(editor, WM_TIMER, timer, 0);
    return Seconds() - start;
}

}  // namespace

void MeasureEditor(VstHost& host, EditorFrame& frame, std::FILE* out) {
    HWND editor = static_cast<HWND>(frame.Editor());
    if (editor == nullptr) return;
    frame.Pump(0.3);  // the first full paint is done

    double idle = 0.0;
    double message = 0.0;
    for (int i = 0; i < kIdleTicks; ++i) {
        idle += Tick(editor);
        message += Tick(editor, kOtherTimer);
    }

    // The window's dpi from its width (the layout plane is 1600 units wide at 192 dpi).
    const int dpi = MulDiv(frame.EditorWidth(), kLayoutDpi, 1600);
    const int x = MulDiv(kKnobCentreX, dpi, kLayoutDpi);
    const int y = MulDiv(kKnobCentreY, dpi, kLayoutDpi);
    ResetPresents();
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    double dragTicks = 0.0;
    for (int step = 1; step <= 2 * kDragSteps; ++step) {
        const int offset = step <= kDragSteps ? step : 2 * kDragSteps - step;
        SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y - offset));
        dragTicks += Tick(editor);
    }
    SendMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    const double dragPresents = Presents().seconds;
    Tick(editor);

    const double beforeRepaints = Presents().seconds;
    double repaints = 0.0;
    for (int i = 0; i < kFullRepaints; ++i) {
        const double start = Seconds();
        InvalidateRect(editor, nullptr, FALSE);
        UpdateWindow(editor);
        repaints += Seconds() - start;
    }
    const double repaintPresents = Presents().seconds - beforeRepaints;

    // The output level alone: its slider and read-out, a small corner of the window.
    const double beforeSmall = Presents().seconds;
    double smallTicks = 0.0;
    for (int i = 0; i < kFullRepaints; ++i) {
        host.SetParameter(param::kOut, i % 2 == 0 ? 0.25f : 0.75f);
        smallTicks += Tick(editor);
    }
    const double smallPresents = Presents().seconds - beforeSmall;

    const double ms = 1000.0;
    std::fprintf(out, "idle tick %.4f ms, the message alone %.4f ms\n", idle * ms / kIdleTicks,
                 message * ms / kIdleTicks);
    std::fprintf(out, "drag tick %.3f ms, present %.3f ms\n", dragTicks * ms / (2 * kDragSteps),
                 dragPresents * ms / (2 * kDragSteps));
    std::fprintf(out, "full repaint %.3f ms, present %.3f ms\n", repaints * ms / kFullRepaints,
                 repaintPresents * ms / kFullRepaints);
    std::fprintf(out, "output level tick %.3f ms, present %.3f ms\n",
                 smallTicks * ms / kFullRepaints, smallPresents * ms / kFullRepaints);
    std::fflush(out);
}

}  // namespace corvalen::host
