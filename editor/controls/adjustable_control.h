// What knobs and sliders share: the value the plug-in first gave them is their default, a
// double-click returns there, the wheel steps them (only with Ctrl, or on a wheel movement the
// editor accepts plainly), Ctrl makes every gesture ten times finer, and the right button
// opens a value prompt.
#pragma once

#include <atomic>

#include "editor/controls/image_control.h"

namespace corvalen::editor {

class AdjustableControl : public ImageControl {
public:
    // How much finer drags and wheel steps are while Ctrl is held.
    static constexpr double kFineFactor = 10.0;
    // One wheel notch, as a part of the range.
    static constexpr double kWheelStep = 0.01;

    AdjustableControl(const LayoutRect& rect, int parameterIndex, const BitmapRef& image);

    // Editor thread: back to the default, pushed only when that changes the value.
    void mouseDoubleClick(int x, int y, int modifiers) override;
    // Editor thread: delta notches of kWheelStep (a tenth of it with Ctrl), pushed when the
    // value changed.
    void mouseWheel(int x, int y, int modifiers, float delta) override;

    // Any thread, instance lock held: the first value the plug-in gives becomes the default.
    void applyValueFromPlugin(double value) override;

    // Negative until the plug-in has given the control a value.
    double defaultValue() const { return default_.load(std::memory_order_acquire); }

protected:
    // Editor thread: stores value clamped to 0 .. 1 and pushes it when it changed.
    void adjustTo(double value);
    static bool isFine(int modifiers);

private:
    std::atomic<double> default_{-1.0};
};

}  // namespace corvalen::editor
