// The platform-neutral half of the editor's drawing host: the layout plane and its scale
// shift, the draw bitmap every control paints into, images and fonts from the library's
// own resources, text, the graph's drawing helpers, and the redraw cycle that turns dirty
// controls into repainted areas. The window that shows the draw bitmap derives from it.
//
// Everything here takes layout units (a 1600 x 1054 plane) and converts to draw-bitmap
// pixels by an arithmetic right shift by the effective scale shift: 0 draws full size,
// 1 half size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/bitmap_ref.h"
#include "editor/editor_control.h"
#include "editor/layout_rect.h"
#include "editor/text_style.h"
#include "raster/cached_font.h"
#include "raster/system_bitmap.h"

namespace corvalen {
class PluginBase;
}

namespace corvalen::editor {

class EditorGraphics {
public:
    static constexpr int kLayoutWidth = 1600;
    static constexpr int kLayoutHeight = 1054;
    static constexpr int kFrameRate = 24;
    static constexpr std::uint32_t kDashColour = 0xFF8C8C8C;

    // Created with the plug-in instance's editor, before any window exists: no forced
    // shift, an empty draw bitmap.
    EditorGraphics();
    EditorGraphics(const EditorGraphics&) = delete;
    EditorGraphics& operator=(const EditorGraphics&) = delete;
    // Destroys the controls, last first, then the draw bitmap. The process-wide image and
    // font caches stay.
    virtual ~EditorGraphics();

    // --- Controls -------------------------------------------------------------------------
    // Takes ownership and becomes the control's owner; attach order is drawing order
    // (first = bottom) and the reverse of hit-test order. Returns the control.
    EditorControl* attach(std::unique_ptr<EditorControl> control);
    const std::vector<std::unique_ptr<EditorControl>>& controls() const { return controls_; }

    // --- The plug-in ----------------------------------------------------------------------
    // The instance this editor belongs to: its parameters, instance lock, edit gestures and
    // wheel-gesture bookkeeping. Null in tests that draw without one.
    PluginBase* plugin() const { return plugin_; }
    void setPlugin(PluginBase* plugin) { plugin_ = plugin; }

    // --- Platform services (the window host overrides them; headless, all fail) ------------
    // True while the editor window exists.
    virtual bool windowIsOpen() const { return false; }
    // Opens the in-place value prompt for control: parameter (or -1: the control's own text
    // entry), rect (null: the control's target rect), placement flags, text style (null:
    // the default), background colour, commit delay in ms (0: none) and the click point in
    // layout units. False when a prompt is already open or none can be made.
    virtual bool openTextEntry(EditorControl& /*control*/, int /*parameterIndex*/,
                               const LayoutRect* /*rect*/, int /*flags*/,
                               const TextStyle* /*style*/, std::uint32_t /*background*/,
                               int /*commitDelayMs*/, int /*clickX*/, int /*clickY*/) {
        return false;
    }
    // What a control's openValuePrompt asks for: the bound parameter over the target rect.
    bool openValuePrompt(EditorControl& control) {
        return openTextEntry(control, control.parameterIndex(), nullptr, 0, nullptr, 0, 0, 0, 0);
    }
    // Editor thread: what the value prompt does with the text typed into it (UTF-8). For a
    // parameter, a display text ("On", "Peak") or else the leading number in natural units
    // becomes the control's value, pushed to the plug-in inside one edit gesture of the
    // control's own parameter; for -1, the control's takeEnteredText gets the text; an index
    // that names no parameter does nothing. Every platform's prompt ends here.
    void applyEnteredText(EditorControl& control, int parameterIndex, const char* text);
    // Asks the user for a file: mode 0 open, 1 save; extensions is a space-separated list
    // ("csv txt"). On success path holds the chosen path (UTF-8); otherwise it is empty.
    virtual bool promptForFile(std::string& path, int /*mode*/, const char* /*initialFolder*/,
                               const char* /*extensions*/) {
        path.clear();
        return false;
    }
    // Folders as UTF-8; the host and plug-in folders end with a separator. Empty and false
    // on failure.
    virtual bool hostFolder(std::string& folder) {
        folder.clear();
        return false;
    }
    virtual bool pluginFolder(std::string& folder) {
        folder.clear();
        return false;
    }
    virtual bool applicationDataFolder(std::string& folder) {
        folder.clear();
        return false;
    }
    // Opens address in the user's browser, after question (when given) is answered yes.
    virtual bool openWebAddress(const char* /*address*/, const char* /*caption*/,
                                const char* /*question*/, const char* /*errorText*/) {
        return false;
    }
    // Editor thread, instance lock held: the countdown, in editor ticks, after which an open
    // wheel gesture ends (0 = idle). The window's tick counts it down.
    virtual void startWheelGestureCountdown(int ticks) { wheelCountdown_ = ticks > 0 ? ticks : 0; }
    virtual void stopWheelGestureCountdown() { wheelCountdown_ = 0; }
    int wheelGestureCountdown() const { return wheelCountdown_; }

    // --- The window (the window host overrides them; headless, nothing opens) -------------
    // Host UI thread, instance lock held: opens the editor window inside parent (a platform
    // window handle); null when it cannot be made.
    virtual void* openWindow(void* /*parent*/) { return nullptr; }
    virtual void closeWindow() {}
    // A wheel movement (in notches) or a key the host forwarded instead of the window
    // receiving it; true when the editor dispatched it. Headless: the key goes to the key
    // catcher at the last mouse position; the wheel needs a window under the cursor.
    virtual bool hostWheel(float /*delta*/) { return false; }
    virtual bool hostKey(bool down, int modifiers, int virtualKey) {
        return dispatchKey(down, lastX_, lastY_, modifiers, virtualKey, false);
    }

    // The DPI value from the editor-scale setting (percentage x 96 / 100); 0: none, the
    // window takes the system's dpi. Any value is accepted here; the window holds what it
    // opens at to a usable range (editor/window_scale.h).
    void setDpiValue(int dpi) { dpiValue_ = dpi; }
    int dpiValue() const { return dpiValue_; }

    // --- Input dispatch (editor thread; positions in layout units) -------------------------
    // The window host turns its messages into these calls; they find the control, keep the
    // capture, mouse-over and key-catcher state and send the host the edit gestures.
    //
    // The three option bytes: mouse-over notifications, tooltips, and the wheel mode (0
    // off; with the top bit set the wheel acts only while Shift, Ctrl or Alt is held).
    void setInputOptions(int mouseOver, int tooltips, int wheelMode);
    bool mouseOverEnabled() const { return mouseOverOption_ != 0; }
    bool tooltipsEnabled() const { return tooltipsOption_ != 0; }
    void disableTooltips() { tooltipsOption_ = 0; }
    int wheelMode() const { return wheelMode_; }

    // The last control in list order that is visible, takes the mouse and whose hitTest
    // accepts (x, y); -1 when none does.
    int hitControl(int x, int y) const;
    int capturedControl() const { return captured_; }
    int mouseOverControl() const { return mouseOver_; }
    int keyCatcher() const { return keyCatcher_; }
    // Stores the control that receives keys (-1: none); the window also takes the focus.
    virtual void setKeyCatcher(int index) { keyCatcher_ = index; }

    // Movement with a button held (a drag, sent when the window has the capture) or without
    // (mouse-over notifications, when enabled).
    void mouseMovedTo(int x, int y, int modifiers, bool buttonHeld, bool windowHasCapture);
    // A press: ends the gesture of a control still captured, then captures the hit control,
    // begins its gesture and calls mouseDown. False when no control was hit.
    bool buttonPressedAt(int x, int y, int modifiers);
    // A release: the captured control (else the hit one) gets mouseUp; the gesture ends.
    void buttonReleasedAt(int x, int y, int modifiers);
    // A double-click: a control with kControlDoubleClickPresses (or any control with the
    // right button) takes it as a second press and is captured; true then, so the window
    // captures the mouse. Other controls get mouseDoubleClick inside one gesture.
    bool doubleClickedAt(int x, int y, int modifiers);
    // The pointer left the window: every control gets mouseOut.
    void mouseLeft();
    // The modifier word of a wheel event, or -1 when the wheel mode ignores the movement.
    // keyStateBits: the button, Shift and Ctrl bits of input_modifiers.h.
    int wheelModifiers(int keyStateBits, bool altDown) const;
    // A wheel movement at (x, y): the captured control, else the hit one, turns it. A run of
    // notches on one control is one edit gesture, ended by the countdown; a notch on another
    // control ends it at once. False when no control was there.
    bool wheelAt(int x, int y, int modifiers, float delta);
    // True for the keys a key catcher may take from the window: space, page up/down, end,
    // home, the arrows, digits and letters. Every other key belongs to the host.
    static bool isEditorKey(int virtualKey);
    // The key catcher's keyDown or keyUp (only keys of the editor's set when filtered); true
    // when it handled the key.
    bool dispatchKey(bool down, int x, int y, int modifiers, int virtualKey, bool filtered);
    // One editor tick of the wheel-gesture countdown: at 0 the pending wheel edit ends.
    void tickWheelGesture();
    // The window is closing: a running countdown ends the pending wheel edit now; the
    // capture and mouse-over state are forgotten.
    void endInputForClose();

    // --- Scale ----------------------------------------------------------------------------
    // The forced shift when one is set, else the default shift: 0 or 1.
    int effectiveShift() const { return forcedShift_ >= 0 ? forcedShift_ : defaultShift_; }
    int forcedShift() const { return forcedShift_; }
    void setDefaultShift(int shift) { defaultShift_ = shift <= 0 ? 0 : 1; }
    int frameRate() const { return kFrameRate; }

    // Editor thread: the plug-in's scale-change hook. Forces the shift (0 or 1), sizes the
    // draw bitmap to the layout at that shift and preloads that shift's images into the
    // process-wide cache. The window host then calls every control's rescale. True.
    bool applyScale(int shift);

    // --- Images ---------------------------------------------------------------------------
    // Editor thread. Points ref at its image for the effective shift (the odd id at shift
    // 1, the even id at shift 0) and takes frame width and height from the image. True
    // when a real image was found; otherwise ref points at the 0 x 0 placeholder and
    // draws nothing (it is looked up again on the next resolution).
    bool resolveBitmap(BitmapRef& ref);
    // Any thread. Decodes PNG resource id into a new bitmap; null when the resource is
    // missing, 7 bytes or less, or does not decode. The window host may replace it.
    virtual std::unique_ptr<raster::RasterBitmap> loadPngResource(int id);

    // Editor thread, image controls: blit frame number `frame` of ref with its top-left at
    // layout (x, y), weighted by the image's own alpha (alpha 0.25 for greyed controls).
    void drawFrame(const BitmapRef& ref, int frame, int x, int y, float alpha);
    // Editor thread, the background control: copies the part of ref's image under the
    // area being repainted (the whole image outside a paint) to the same place.
    void drawBackground(const BitmapRef& ref);

    // --- Fonts and text -------------------------------------------------------------------
    // Any thread. Makes TrueType resource id available to the process; the platform is
    // asked once per process and id. True when id is registered.
    bool registerFontResource(int id);
    // Editor thread. The style's cached font, found in or added to the process-wide font
    // cache for the effective shift. Null when the platform has no such font.
    raster::CachedFont* resolveFont(TextStyle& style);
    // Editor thread. Draws UTF-8 text in the style's colour and alignment into rect, not
    // clipped; returns the drawn height in layout units. A null or empty text draws
    // nothing and returns the font's line height in layout units (how controls measure).
    // 0 when the font cannot be created.
    int drawText(TextStyle& style, const char* text, const LayoutRect& rect);
    // Editor thread. Where drawText would put text in rect: the text's cell, a little wider
    // for glyphs reaching past their advances. Empty for an empty text or a missing font.
    LayoutRect textExtent(TextStyle& style, const char* text, const LayoutRect& rect);

    // --- The graph's drawing helpers ------------------------------------------------------
    // The line, then `extra` pairs of parallel lines n = 1 .. extra units to either side:
    // side by side horizontally when the line is at least 45 degrees steep, else above and
    // below. All at the same alpha.
    void thickLine(std::uint32_t colour, int x1, int y1, int x2, int y2, int extra, bool antialias,
                   float alpha);
    // Five units wide with soft edges: the line at alpha 1, the pairs at 1 unit at 0.5 and
    // at 2 units at 0.25; antialiased.
    void softLine(std::uint32_t colour, int x1, int y1, int x2, int y2);
    // The target line: a 6-unit dash every 12 units from xStart, the last one cut at xEnd.
    void dashedLine(int xStart, int xEnd, int y);
    // Blends colour (with its own alpha, times alpha) over left..right, top..bottom.
    void fillRectAlpha(std::uint32_t colour, const LayoutRect& rect, float alpha);
    // An antialiased disc around layout (cx, cy); centre and radius scale with the shift.
    void fillDisc(float cx, float cy, float radius, std::uint32_t colour, float alpha);

    // --- Redraw cycle ---------------------------------------------------------------------
    // Editor thread, once per tick. Cleans every dirty control and merges their rects, and
    // what their drawing reaches beyond them, into `dirty`; at shift 1 the union is widened
    // to even coordinates so it maps to whole pixels. Each control's drawn area is also kept
    // for paintDirtyAreas. True when any control was dirty.
    bool isDirty(LayoutRect& dirty);
    // Editor thread, from the window's paint handler: paints every visible control whose
    // drawn area overlaps update, bottom first, and nothing outside update: the background
    // clips itself to paintRegion(), and the pixels outside update that any other control
    // draws over are put back.
    void paint(const LayoutRect& update);
    // Editor thread, after isDirty: repaints only the areas of the controls that were
    // dirty (each control's drawn area, overlapping ones merged), each as paint does. A
    // knob turned under the graph repaints the knob, its read-out and the graph, not
    // everything between them. Nothing when no area is pending.
    void paintDirtyAreas();
    // The areas isDirty found and paintDirtyAreas has not painted yet.
    static constexpr int kMaxDirtyAreas = 8;
    int dirtyAreaCount() const { return dirtyAreaCount_; }
    const LayoutRect& dirtyArea(int i) const { return dirtyAreas_[i]; }
    // The area being repainted while paint runs, else null.
    const LayoutRect* paintRegion() const { return paintRegion_; }

    raster::SystemBitmap& drawBitmap() { return drawBitmap_; }

protected:
    // Any thread, font lock held: hands TrueType resource id to the platform. The window
    // host may replace it.
    virtual bool installFontResource(int id);

private:
    int toPixels(int units) const { return units >> effectiveShift(); }
    void line(std::uint32_t colour, int x1, int y1, int x2, int y2, float alpha, bool antialias);
    void addDirtyArea(LayoutRect area);
    // Draw-bitmap pixels of a layout rect at the current shift (odd edges outward), clipped
    // to the bitmap.
    raster::Rect pixelBox(const LayoutRect& area);
    // Paints control, whose drawing reaches `reach`, changing no pixel outside keep.
    void paintControl(EditorControl& control, const LayoutRect& reach, const raster::Rect& keep);
    void parallelPair(std::uint32_t colour, int x1, int y1, int x2, int y2, int offset, float alpha,
                      bool antialias);

    std::vector<std::unique_ptr<EditorControl>> controls_;
    PluginBase* plugin_ = nullptr;
    raster::SystemBitmap drawBitmap_;
    LayoutRect paintArea_;
    const LayoutRect* paintRegion_ = nullptr;
    LayoutRect dirtyAreas_[kMaxDirtyAreas];
    int dirtyAreaCount_ = 0;
    // The pixels around the repaint that a control's drawing must not change.
    std::vector<std::uint32_t> saved_;
    int forcedShift_ = -1;
    int defaultShift_ = 1;
    int dpiValue_ = 0;

    void beginGesture(int controlIndex);
    void endGesture(int controlIndex);
    EditorControl* controlAt(int index) const;

    int captured_ = -1;
    int mouseOver_ = -1;
    int lastX_ = -1;
    int lastY_ = -1;
    int keyCatcher_ = -1;
    int mouseOverOption_ = 1;
    int tooltipsOption_ = 1;
    int wheelMode_ = 1;
    int wheelCountdown_ = 0;
};

}  // namespace corvalen::editor
