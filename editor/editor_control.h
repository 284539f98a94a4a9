// The base of every editor control: a rectangle on the layout plane, an optional bound
// parameter, flag bits, and the table of operations the window host, the redraw cycle and
// the plug-in call. Mouse positions arrive in layout units with the modifier word of
// editor/input_modifiers.h. The defaults do nothing, so each kind overrides only what it
// reacts to; the image kinds add a target rectangle, an image and a value.
#pragma once

#include <atomic>

#include "editor/layout_rect.h"

namespace corvalen {
class PluginBase;
}

namespace corvalen::editor {

class EditorGraphics;

// Flag bits.
constexpr int kControlDirty = 1;        // needs drawing
constexpr int kControlPromptDirty = 2;  // set with kControlDirty when a value prompt opens
constexpr int kControlHidden = 4;
constexpr int kControlGreyed = 8;  // drawn at alpha 0.25
constexpr int kControlNoRightPrompt = 0x10;
constexpr int kControlDoubleClickPresses = 0x20;
constexpr int kControlReverseFrames = 0x40;
constexpr int kControlHorizontal = 0x80;
constexpr int kControlUpdateLinked = 0x100;
constexpr int kControlNoMouse = 0x200;  // skipped by the mouse hit search

class EditorControl {
public:
    // A new control starts dirty so the first tick draws it.
    explicit EditorControl(const LayoutRect& rect, int parameterIndex = -1)
        : rect_(rect), parameterIndex_(parameterIndex) {}
    EditorControl(const EditorControl&) = delete;
    EditorControl& operator=(const EditorControl&) = delete;
    virtual ~EditorControl() = default;

    // --- Input (editor thread, from the window host) ------------------------------------
    virtual void mouseDown(int /*x*/, int /*y*/, int /*modifiers*/) {}
    virtual void mouseUp(int /*x*/, int /*y*/, int /*modifiers*/) {}
    virtual void mouseDrag(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/, int /*modifiers*/) {}
    virtual void mouseDoubleClick(int /*x*/, int /*y*/, int /*modifiers*/) {}
    // delta in notches: the system's wheel amount divided by 120.
    virtual void mouseWheel(int /*x*/, int /*y*/, int /*modifiers*/, float /*delta*/) {}
    // True when the control handled the key (the key catcher only); no control here does.
    virtual bool keyDown(int /*x*/, int /*y*/, int /*modifiers*/, int /*virtualKey*/) {
        return false;
    }
    virtual bool keyUp(int /*x*/, int /*y*/, int /*modifiers*/, int /*virtualKey*/) {
        return false;
    }
    virtual void mouseOver(int /*x*/, int /*y*/, int /*modifiers*/) {}
    virtual void mouseOut() {}

    // --- Drawing (editor thread) --------------------------------------------------------
    // Inside EditorGraphics::paint: draws into the draw bitmap. Called only when the
    // control is visible and its rect overlaps the area being repainted.
    virtual void paint(EditorGraphics& graphics);
    // Everything the control's paint may touch, and what its last paint touched: its rect,
    // unless it draws beyond it (a text wider than its box). A repaint covers this area.
    virtual LayoutRect drawnArea(EditorGraphics& /*graphics*/) { return rect_; }
    // True for a control that draws only inside the area being repainted by itself (the
    // background); every other control's drawing is kept inside that area by the host.
    virtual bool clipsItself() const { return false; }
    // After the scale changed: image controls re-resolve their bitmap, text controls drop
    // their cached font.
    virtual void rescale(EditorGraphics& graphics);

    // --- Value ---------------------------------------------------------------------------
    // Editor thread: asks the window host for a value prompt for the bound parameter over
    // the target rectangle and marks the control prompt-dirty. Nothing without a parameter.
    virtual void openValuePrompt();
    // Any thread, instance lock held: the plug-in's value reaches the control. Stores and
    // redraws when it differs; pushes nothing back.
    virtual void applyValueFromPlugin(double value);
    // Editor thread: as above, but a changed value is pushed to the plug-in.
    virtual void applyValueFromUser(double value);
    // Controls without a value ignore it and read 0.
    virtual void storeValue(double /*value*/) {}
    virtual double readValue() const { return 0.0; }
    virtual void clampValue(double /*lo*/, double /*hi*/) {}
    // A value prompt without a parameter hands its text here; its starting text comes from
    // promptText. No control of this editor uses either.
    virtual void takeEnteredText(const char* /*text*/) {}
    virtual const char* promptText() const { return ""; }

    // --- Geometry ------------------------------------------------------------------------
    // Where the control takes the mouse: its rect unless a kind keeps a target rect.
    virtual LayoutRect targetRect() const { return rect_; }
    virtual void setTargetRect(const LayoutRect& /*rect*/) {}
    // left <= x < right, top <= y < bottom of the target rect.
    virtual bool hitTest(int x, int y) const;

    // --- State ---------------------------------------------------------------------------
    // Any thread. Marks the control for drawing unless it is hidden; with push (editor
    // thread), a control bound to a parameter sends readValue() to the plug-in under the
    // instance lock (set, automate, OnParamChange) and then, with kControlUpdateLinked,
    // gives it to every other control bound to the same parameter.
    virtual void markDirty(bool push);
    // Editor thread, from the redraw cycle: clears kControlDirty and kControlPromptDirty.
    virtual void markClean();
    virtual void setHidden(bool hidden);
    // A greyed control is drawn faint and takes no mouse.
    virtual void setGreyed(bool greyed);
    // UTF-8 tooltip text; null (no tooltip) for every control of this editor.
    virtual void setTooltip(const char* /*text*/) {}
    virtual const char* tooltip() const { return nullptr; }

    // The layout's extra behaviour bits (kControlReverseFrames, kControlUpdateLinked, ...),
    // given once while the editor is built.
    void addFlags(int bits) { setFlagBits(bits); }

    const LayoutRect& rect() const { return rect_; }
    int parameterIndex() const { return parameterIndex_; }
    int flags() const { return flags_.load(std::memory_order_acquire); }
    bool isHidden() const { return (flags() & kControlHidden) != 0; }
    bool isGreyed() const { return (flags() & kControlGreyed) != 0; }
    bool isDirty() const { return (flags() & (kControlDirty | kControlPromptDirty)) != 0; }

    // Set by EditorGraphics::attach: the drawing host that owns the control, which also
    // knows the plug-in. Null for a control that is not attached.
    EditorGraphics* owner() const { return owner_; }
    void setOwner(EditorGraphics* owner) { owner_ = owner; }

protected:
    // The plug-in the owner serves, or null (a control outside an editor, in tests).
    PluginBase* plugin() const;

    // Flags are written by host threads (a parameter moving a control) and read by the
    // editor thread, so they are one atomic word.
    void setFlagBits(int bits) { flags_.fetch_or(bits, std::memory_order_acq_rel); }
    void clearFlagBits(int bits) { flags_.fetch_and(~bits, std::memory_order_acq_rel); }
    void setRect(const LayoutRect& rect) { rect_ = rect; }

private:
    LayoutRect rect_;
    int parameterIndex_;
    std::atomic<int> flags_{kControlDirty};
    EditorGraphics* owner_ = nullptr;
};

}  // namespace corvalen::editor
