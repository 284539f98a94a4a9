// The test host as a DAW's window: a top-level frame of its own in which the plug-in's
// editor opens (sized from effEditGetRect and resized when the plug-in asks), a message
// pump on the thread that made it, and a capture of the editor's pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/vst_host.h"

namespace corvalen::host {

// A window message the frame received (the editor forwards the keys it does not take).
struct FrameMessage {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Pixels as 0xAARRGGBB, row by row from the top.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

class EditorFrame {
public:
    // host must outlive the frame and hold a loaded plug-in.
    explicit EditorFrame(VstHost& host);
    // Closes the editor (effEditClose) and destroys the frame.
    ~EditorFrame();
    EditorFrame(const EditorFrame&) = delete;
    EditorFrame& operator=(const EditorFrame&) = delete;

    // Creates the frame at the size effEditGetRect reports (once) and opens the editor in it
    // (effEditOpen); false with a reason in LastError().
    bool Open();
    // effEditOpen again into the same frame, while the editor may still be open.
    bool Reopen();
    // effEditClose; the frame stays.
    void Close();
    const std::string& LastError() const { return lastError_; }

    // Window handles (HWND) of the frame and of the editor's child window (null when none).
    void* Frame() const { return frame_; }
    void* Editor() const;
    // The editor's client size in pixels, and where its top-left sits in the frame.
    int EditorWidth() const;
    int EditorHeight() const;
    int EditorLeft() const;
    int EditorTop() const;
    // The frame's client size.
    int FrameClientWidth() const;
    int FrameClientHeight() const;

    // Dispatches the thread's messages for about `seconds` (0: only what is waiting now).
    void Pump(double seconds);
    // True once the user closed the frame.
    bool FrameClosed() const { return frame_ == nullptr; }

    // Paints the editor now and copies its pixels from its own device context.
    bool Capture(Screenshot& shot);
    // Writes a capture as a PNG file.
    static bool SavePng(const Screenshot& shot, const std::string& path, std::string& error);

    // Keys the frame received since the last clear.
    const std::vector<FrameMessage>& FrameKeys() const { return frameKeys_; }
    void ClearFrameKeys() { frameKeys_.clear(); }
    void RecordFrameKey(const FrameMessage& message) { frameKeys_.push_back(message); }

private:
    bool ResizeFrame(int width, int height);

    VstHost& host_;
    void* frame_ = nullptr;
    std::string lastError_;
    std::vector<FrameMessage> frameKeys_;
};

}  // namespace corvalen::host
