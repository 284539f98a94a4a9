// The pictures the native snapshot tool drew for the states of tests/gui/pictures.txt, the
// states themselves, and the comparison of the editor's captures under Wine with them.
//
// Text is the one thing the two builds draw differently (FreeType glyphs natively, GDI's
// under Wine): away from text a capture must equal the native picture pixel for pixel;
// near text (within kTextMargin pixels of a pixel the native text touches, found by
// comparing with the same picture drawn without text) both pictures are smoothed over
// 3 x 3 pixels and a pixel counts as differing when their luminances differ by more than
// kTextLuminanceStep.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/host/vst_host.h"
#include "tools/host/win/editor_frame.h"

namespace corvalen::gui {

inline constexpr int kTextMargin = 3;
inline constexpr double kTextLuminanceStep = 48.0;

// A region of the picture in pixels: left, top inclusive; right, bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct PictureDifference {
    int awayFromText = 0;  // pixels away from text that are not equal
    int nearText = 0;      // pixels near text
    int nearTextDiffering = 0;
    double NearTextShare() const {
        return nearText > 0 ? double(nearTextDiffering) / nearText : 0.0;
    }
};

// A state of pictures.txt: its name and its snapshot options as (kind, argument) with kind
// "set" (NAME=VALUE in the parameter's own units), "measurement" (a path; SAMPLE for the
// sample file) or "fit" (a click on the FIT button, no argument).
struct PictureState {
    std::string name;
    bool fullSize = false;  // drawn at 200 %
    std::vector<std::pair<std::string, std::string>> steps;
};

class NativePictures {
public:
    // Reads pictures.txt and the two pictures of every state; false with LastError().
    bool Load();
    const std::string& LastError() const { return error_; }
    const PictureState* State(const std::string& name) const;
    // Brings the plug-in in host to the state as a host would: parameter texts through
    // effString2Parameter, a measurement as a restored program with its path. A click on FIT
    // is left to the caller, whose window is open.
    bool Apply(host::VstHost& host, const std::string& name, std::string& error) const;
    // The capture against the state's picture inside region (the whole picture by default).
    PictureDifference Compare(const host::Screenshot& shot, const std::string& name,
                              PixelRect region = {0, 0, 1 << 20, 1 << 20}) const;
    // The native picture, for saving beside a failing capture.
    const host::Screenshot* Picture(const std::string& name) const;

private:
    struct Entry {
        PictureState state;
        host::Screenshot picture;
        host::Screenshot textFree;
    };
    const Entry* Find(const std::string& name) const;
    std::vector<Entry> entries_;
    std::string error_;
};

}  // namespace corvalen::gui
