// The base of every editor control: a rectangle on the layout plane, an optional bound
// parameter, flag bits and a draw hook. This is the part the drawing layer's paint cycle
// and dirty tracking rely on; the input handlers and values of the concrete controls
// extend it.
#pragma once

#include "editor/layout_rect.h"

namespace corvalen::editor {

class EditorGraphics;

// Flag bits.
constexpr int kControlDirty = 1;           // needs drawing
constexpr int kControlPromptDirty = 2;     // set with kControlDirty when a value prompt opens
constexpr int kControlHidden = 4;
constexpr int kControlGreyed = 8;          // drawn at alpha 0.25
constexpr int kControlNoRightPrompt = 0x10;
constexpr int kControlDoubleClickPresses = 0x20;
constexpr int kControlReverseFrames = 0x40;
constexpr int kControlHorizontal = 0x80;
constexpr int kControlUpdateLinked = 0x100;
constexpr int kControlNoMouse = 0x200;     // skipped by the mouse hit search

class EditorControl {
public:
    // A new control starts dirty so the first tick draws it.
    explicit EditorControl(const LayoutRect& rect, int parameterIndex = -1)
        : rect_(rect), parameterIndex_(parameterIndex) {}
    EditorControl(const EditorControl&) = delete;
    EditorControl& operator=(const EditorControl&) = delete;
    virtual ~EditorControl() = default;

    // Editor thread, inside EditorGraphics::paint: draws into the draw bitmap. Called only
    // when the control is visible and its rect overlaps the area being repainted.
    virtual void paint(EditorGraphics& graphics);
    // Editor thread, after the scale changed: image controls re-resolve their bitmap, text
    // controls drop their cached font.
    virtual void rescale(EditorGraphics& graphics);

    // Editor thread. Marks the control for drawing unless it is hidden; with push, a
    // control bound to a parameter also sends its value to the plug-in (pushValue).
    virtual void markDirty(bool push);
    // Editor thread, from the redraw cycle: clears kControlDirty and kControlPromptDirty.
    virtual void markClean();
    virtual void setHidden(bool hidden);
    virtual void setGreyed(bool greyed);

    const LayoutRect& rect() const { return rect_; }
    int parameterIndex() const { return parameterIndex_; }
    int flags() const { return flags_; }
    bool isHidden() const { return (flags_ & kControlHidden) != 0; }
    bool isDirty() const { return (flags_ & (kControlDirty | kControlPromptDirty)) != 0; }

protected:
    // Sends the control's value to its parameter: the plug-in's edit path, which the
    // concrete controls provide. Nothing here.
    virtual void pushValue() {}

    void setFlags(int flags) { flags_ = flags; }
    void setRect(const LayoutRect& rect) { rect_ = rect; }

private:
    LayoutRect rect_;
    int parameterIndex_;
    int flags_ = kControlDirty;
};

}  // namespace corvalen::editor
