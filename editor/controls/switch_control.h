// A switch: a left press steps it to its next state, wrapping to the first; it shows the frame
// its value chooses. A one-frame switch shows its image only while on. A double-click reaches
// it as a second press, and the right button opens no prompt.
#pragma once

#include "editor/controls/image_control.h"

namespace corvalen::editor {

// The state a press moves a switch of `frames` frames to, from normalised value.
double NextSwitchValue(int frames, double value);

class SwitchControl : public ImageControl {
public:
    SwitchControl(int x, int y, int parameterIndex, const BitmapRef& image);

    // Editor thread: a left press pushes the next state.
    void mouseDown(int x, int y, int modifiers) override;
    void paint(EditorGraphics& graphics) override;

protected:
    // For kinds placed by something other than (x, y).
    SwitchControl(const LayoutRect& rect, int parameterIndex, const BitmapRef& image);
};

}  // namespace corvalen::editor
