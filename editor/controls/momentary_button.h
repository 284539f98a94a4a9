// A button that is on only while held: the press pushes 1 (as a switch), the release pushes 0.
// These buttons sit on one row, so they are placed by x alone.
#pragma once

#include "editor/controls/switch_control.h"

namespace corvalen::editor {

class MomentaryButton : public SwitchControl {
public:
    // The top of the button row, in layout units.
    static constexpr int kRowTop = 916;

    MomentaryButton(int x, int parameterIndex, const BitmapRef& image);

    // Editor thread: back to 0, pushed.
    void mouseUp(int x, int y, int modifiers) override;
};

}  // namespace corvalen::editor
