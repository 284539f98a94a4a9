// What the plug-in core asks of its editor. The editor subsystem implements this interface
// (its drawing host with all controls); the shell never sees the editor's own types. The
// editor object lives as long as the plug-in object; only its window comes and goes.
#pragma once

namespace corvalen {

class PluginEditor {
public:
    virtual ~PluginEditor() = default;

    // Window size in pixels at the current scale.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Host UI thread, instance lock held. Opens the window as a child of the host's window;
    // false when it could not be made.
    virtual bool OpenWindow(void* parentWindow) = 0;
    // Host UI thread, instance lock held.
    virtual void CloseWindow() = 0;

    // Every control bound to the parameter takes the normalised value (instance lock held).
    virtual void SetControlsForParameter(int index, double normalised) = 0;

    // Index of the control that takes keys, or -1 when no control does.
    virtual int KeyControlIndex() const = 0;
    // A key the host forwarded: a Windows virtual-key code and the editor's modifier bits
    // (4 shift, 8 control, 16 alternate). Answers what the editor did with it.
    virtual int OnKey(int virtualKey, int modifiers, bool keyDown) = 0;

    // A mouse-wheel movement the host forwarded; answers the editor's result.
    virtual int OnHostWheel(float delta) = 0;

    // Stops the countdown that ends a wheel gesture (the pending wheel edit is being closed).
    virtual void StopWheelGestureCountdown() = 0;

    // Sets the scale shift (0 full size, 1 half size) and resizes the drawing surface.
    virtual void SetScale(int shift) = 0;
};

}  // namespace corvalen
