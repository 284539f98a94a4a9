// A slider: a handle image that travels along a track. A click off the handle jumps there, a
// drag moves it (Ctrl ten times finer), plus what every adjustable control does; the value
// prompt opens over the handle.
#pragma once

#include "editor/controls/adjustable_control.h"

namespace corvalen::editor {

class Slider : public AdjustableControl {
public:
    // target: where the slider takes the mouse and draws, its left-top the start of the
    // track; trackLength: layout units along it; horizontal runs left (0) to right (1) and
    // sets kControlHorizontal, otherwise bottom (0) to top (1). handle gives the handle's size
    // in layout units.
    Slider(const LayoutRect& target, int parameterIndex, const BitmapRef& handle, int trackLength,
           bool horizontal);

    // Editor thread.
    void mouseDown(int x, int y, int modifiers) override;
    void mouseDrag(int x, int y, int dx, int dy, int modifiers) override;
    void paint(EditorGraphics& graphics) override;
    void openValuePrompt() override;

    // Where the handle is for the current value, in layout units.
    LayoutRect handleRect() const;
    bool isHorizontal() const { return (flags() & kControlHorizontal) != 0; }
    int trackLength() const { return trackLength_; }

private:
    int handleSize() const;
    // Layout units the handle's edge moves over the full range.
    int travel() const;

    int handleWidth_;
    int handleHeight_;
    int trackLength_;
};

}  // namespace corvalen::editor
