// A rotary knob: a vertical drag turns it (up raises it), plus what every adjustable control
// does (default, double-click, wheel, Ctrl, prompt). It shows the frame its value chooses.
#pragma once

#include "editor/controls/adjustable_control.h"

namespace corvalen::editor {

class Knob : public AdjustableControl {
public:
    static constexpr double kDefaultGearing = 4.0;

    // The full range takes (target height * gearing) layout units of drag.
    Knob(const LayoutRect& rect, int parameterIndex, const BitmapRef& image,
         double gearing = kDefaultGearing);

    // Editor thread.
    void mouseDown(int x, int y, int modifiers) override;
    void mouseDrag(int x, int y, int dx, int dy, int modifiers) override;

    double gearing() const { return gearing_; }

private:
    double gearing_;
};

}  // namespace corvalen::editor
