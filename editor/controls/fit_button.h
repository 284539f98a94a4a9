// The button that fits the bands to the loaded measurement. It looks and moves as the file
// button does (down while held) but sits off the button row and has no parameter of its own:
// what a fit changes reaches the host as the bands' own parameters. Its release fits; Ctrl held
// at the press first moves the reference level to where the measurement meets the target
// (editor/fit_press.h). A double-click is two presses, so two fits.
#pragma once

#include "editor/controls/switch_control.h"

namespace corvalen {
class ResponseModel;
class TextLink;
}  // namespace corvalen

namespace corvalen::editor {

class FitButton : public SwitchControl {
public:
    // model is the plug-in's response model, which outlives the editor.
    FitButton(int x, int y, const BitmapRef& image, const ResponseModel& model);

    // Editor building: the status text that tells of a press without a measurement (null: the
    // press then only changes nothing).
    void setStatusText(TextLink* status) { status_ = status; }

    // Editor thread: a left press shows the pressed frame and notes whether Ctrl is held.
    void mouseDown(int x, int y, int modifiers) override;
    // Editor thread: after a left press, the released frame, then the fit (no lock held while
    // it computes).
    void mouseUp(int x, int y, int modifiers) override;

private:
    const ResponseModel& model_;
    TextLink* status_ = nullptr;
    bool alignReference_ = false;
};

}  // namespace corvalen::editor
