// The editor's layout as data: every control in attach order (which is drawing order: later
// rows draw over earlier ones) with its kind, parameter, rectangles, image and text style.
// The builder walks this table; the snapshot tool draws what the builder makes, and tests
// check the artwork generator's picture against these rectangles. Positions, image ids and
// text styles are written here and nowhere else.
#pragma once

#include <array>
#include <cstdint>

#include "editor/layout_rect.h"
#include "editor/text_style.h"
#include "engine/engine_state.h"

namespace corvalen::editor {

enum class ControlKind : std::uint8_t {
    Background,
    FileButton,
    MomentaryButton,
    ResponseGraph,
    Text,
    Switch,
    GraphLegend,
    Knob,
    ValueKnob,
    Slider,
    ToggleArea,
    ImageDisplay,
    FitButton,
};

// The text styles the layout uses.
enum class LayoutTextStyle : std::uint8_t {
    None,
    Status,
    SampleRate,
    BandNumber,
    BandReadout,
    OutputReadout,
};

// Why the plug-in keeps a reference to a control (what the change handler writes through).
enum class ControlRole : std::uint8_t {
    None,
    Graph,
    FileButton,
    UnloadButton,
    StatusText,
    SampleRateReadout,
    OutputReadout,
    LayerSwitch,
    Legend,
    TypeSwitch,
    BypassSwitch,
    SplashImage,
    SplashToggle,
    BandReadout,  // roleIndex: frequency, gain, Q of band 1, then band 2, ...
};

struct ControlRow {
    ControlKind kind = ControlKind::Background;
    int parameter = -1;  // host parameter index; -1 for none
    LayoutRect rect;     // where the control draws; an image control's is one frame
    LayoutRect target;   // where it takes the mouse, when that differs from rect
    int imageId = 0;     // full-size id of the image pair; 0 for none
    int frameWidth = 0;  // one frame of the image, in layout units (full size)
    int frameHeight = 0;
    int frameCount = 1;  // frames stacked vertically in the image
    LayoutTextStyle style = LayoutTextStyle::None;
    const char* text = "";    // the text a text control starts with
    double gearing = 0.0;     // knobs: layout units of drag per unit of height over the range
    int trackLength = 0;      // slider: layout units along its track
    bool horizontal = false;  // slider: runs left to right
    ControlRole role = ControlRole::None;
    int roleIndex = 0;
};

inline constexpr int kLayoutControlCount = 117;
// Controls per band in the band block, in their order: frequency, gain and Q knobs, the
// on/off switch, the band number.
inline constexpr int kControlsPerBand = 5;

using ControlTable = std::array<ControlRow, kLayoutControlCount>;

extern const ControlTable kControlTable;

// The text style a layout style name stands for (null face for None).
TextStyle MakeLayoutTextStyle(LayoutTextStyle style);

// Rows of the table by what they are, for code and tests that need one control.
namespace layout_row {
inline constexpr int kBackground = 0;
inline constexpr int kFileButton = 1;
inline constexpr int kUnloadButton = 2;
inline constexpr int kGraph = 3;
inline constexpr int kStatusText = 4;
inline constexpr int kSampleRateReadout = 5;
inline constexpr int kFirstLayerSwitch = 6;
inline constexpr int kLegend = 10;
inline constexpr int kFirstBandControl = 11;
inline constexpr int kBand1Type = 71;
inline constexpr int kBand12Type = 72;
inline constexpr int kOutputSlider = 73;
inline constexpr int kOutputReadout = 74;
inline constexpr int kBypassSwitch = 75;
inline constexpr int kSplashToggle = 76;
inline constexpr int kFirstBandReadout = 77;
inline constexpr int kSeparatorSwitch = 113;
inline constexpr int kTargetLevelKnob = 114;
inline constexpr int kFitButton = 115;
inline constexpr int kSplashImage = 116;

// band counts from 0 (band 1); part: 0 frequency knob, 1 gain knob, 2 Q knob, 3 switch,
// 4 band number.
constexpr int BandControl(int band, int part) {
    return kFirstBandControl + kControlsPerBand * band + part;
}
// band from 0; quantity: 0 frequency, 1 gain, 2 Q.
constexpr int BandReadout(int band, int quantity) {
    return kFirstBandReadout + kValuesPerBand * band + quantity;
}
}  // namespace layout_row

}  // namespace corvalen::editor
