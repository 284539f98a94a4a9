#include "editor/layout/control_table.h"

#include "editor/image_ids.h"
#include "engine/parameter_table.h"

namespace corvalen::editor {

namespace {

using Kind = ControlKind;
using Style = LayoutTextStyle;
using Role = ControlRole;

// Band k's column (k from 0): the knobs start 4 units left of it, the switch, the number and
// the read-outs 12 units left of it.
constexpr int BandColumn(int band) { return 66 + 114 * band; }

// The rows of the knob, the switch and the read-out texts under each knob.
constexpr int kBandSwitchTop = 646;
constexpr int kKnobTops[kValuesPerBand] = {686, 790, 894};
constexpr int kReadoutTops[kValuesPerBand] = {754, 858, 962};
constexpr int kReadoutWidth = 88;
constexpr int kReadoutHeight = 32;
constexpr double kBandKnobGearing = 6.0;

// An image control at (x, y): its rect is one frame of the image, as the image table sizes it.
constexpr ControlRow Image(Kind kind, int parameter, int x, int y, int imageId,
                           Role role = Role::None) {
    const ImageSize& image = ImageById(imageId);
    ControlRow entry;
    entry.kind = kind;
    entry.parameter = parameter;
    entry.imageId = imageId;
    entry.frameWidth = image.width;
    entry.frameHeight = image.height / image.frames;
    entry.frameCount = image.frames;
    entry.rect = {x, y, x + entry.frameWidth, y + entry.frameHeight};
    entry.role = role;
    return entry;
}

constexpr ControlRow Text(const LayoutRect& rect, Style style, Role role = Role::None,
                          int roleIndex = 0, const char* text = "") {
    ControlRow entry;
    entry.kind = Kind::Text;
    entry.rect = rect;
    entry.style = style;
    entry.text = text;
    entry.role = role;
    entry.roleIndex = roleIndex;
    return entry;
}

constexpr ControlRow Drawing(Kind kind, const LayoutRect& rect, Role role) {
    ControlRow entry;
    entry.kind = kind;
    entry.rect = rect;
    entry.role = role;
    return entry;
}

constexpr const char* kBandNumbers[kBandCount] = {"1", "2", "3", "4",  "5",  "6",
                                                  "7", "8", "9", "10", "11", "12"};

constexpr ControlTable MakeControlTable() {
    ControlTable table{};
    int row = 0;
    auto add = [&](const ControlRow& entry) { table[static_cast<std::size_t>(row++)] = entry; };

    add(Image(Kind::Background, -1, 0, 0, kImageBackground));
    add(Image(Kind::FileButton, param::kFrFile, 1428, 916, kImageFileButton, Role::FileButton));
    add(Image(Kind::MomentaryButton, param::kUnloadFr, 1542, 916, kImageUnloadButton,
              Role::UnloadButton));
    add(Drawing(Kind::ResponseGraph, {0, 0, 1600, 640}, Role::Graph));
    add(Text({14, 8, 420, 30}, Style::Status, Role::StatusText));
    add(Text({1000, 1012, 1276, 1048}, Style::SampleRate, Role::SampleRateReadout));
    // The layer switches, top to bottom beside the legend's rows.
    const int layers[4] = {param::kEqGraph, param::kFrAndEqGraph, param::kFrGraph,
                           param::kTargetGraph};
    for (int layer = 0; layer < 4; ++layer) {
        add(Image(Kind::Switch, layers[layer], 1552, 24 + 48 * layer, kImageLayerSwitch,
                  Role::LayerSwitch));
    }
    add(Drawing(Kind::GraphLegend, {1356, 24, 1520, 192}, Role::Legend));

    for (int band = 0; band < kBandCount; ++band) {
        const int x = BandColumn(band);
        const int values[kValuesPerBand] = {param::BandFrequency(band), param::BandGain(band),
                                            param::BandQuality(band)};
        for (int quantity = 0; quantity < kValuesPerBand; ++quantity) {
            ControlRow knob =
                Image(Kind::Knob, values[quantity], x - 4, kKnobTops[quantity], kImageBandKnob);
            knob.gearing = kBandKnobGearing;
            add(knob);
        }
        const LayoutRect head = {x - 12, kBandSwitchTop, x + 76, kBandSwitchTop + 36};
        add(Image(Kind::Switch, param::BandSwitch(band), head.left, head.top, kImageBandSwitch));
        add(Text(head, Style::BandNumber, Role::None, 0, kBandNumbers[band]));
    }

    add(Image(Kind::Switch, param::kTypeBand1, 54, 998, kImageBand1Type, Role::TypeSwitch));
    add(Image(Kind::Switch, param::kTypeBand12, 1308, 998, kImageBand12Type, Role::TypeSwitch));
    // The handle travels the whole target; the slider draws and takes the mouse there.
    ControlRow output = Image(Kind::Slider, param::kOut, 1420, 1014, kImageOutputHandle);
    output.rect = {1420, 1014, 1588, 1050};
    output.target = output.rect;
    output.trackLength = 168;
    output.horizontal = true;
    add(output);
    add(Text({1532, 982, 1588, 1008}, Style::OutputReadout, Role::OutputReadout));
    add(Image(Kind::Switch, param::kBypassEq, 0, 646, kImageBypassSwitch, Role::BypassSwitch));
    // Invisible: it draws nothing and only takes presses in its target.
    ControlRow toggle;
    toggle.kind = Kind::ToggleArea;
    toggle.parameter = param::kSplashScreen;
    toggle.target = {176, 1012, 212, 1048};
    toggle.role = Role::SplashToggle;
    add(toggle);

    for (int band = 0; band < kBandCount; ++band) {
        const int left = BandColumn(band) - 12;
        for (int quantity = 0; quantity < kValuesPerBand; ++quantity) {
            const int top = kReadoutTops[quantity];
            add(Text({left, top, left + kReadoutWidth, top + kReadoutHeight}, Style::BandReadout,
                     Role::BandReadout, kValuesPerBand * band + quantity));
        }
    }

    add(Image(Kind::Switch, param::kSeparator, 1428, 724, kImageSeparatorSwitch));
    ControlRow level =
        Image(Kind::ValueKnob, param::kTargetResponses, 1428, 804, kImageOffsetPlate);
    level.gearing = 14.0;
    add(level);
    // Between the offset plate and the file buttons' label: it fits the bands to the loaded
    // measurement at that offset.
    add(Image(Kind::FitButton, -1, 1428, 848, kImageFitButton));
    // Last, so the splash panel covers everything and takes the presses inside it.
    add(Image(Kind::ImageDisplay, param::kSplashScreen, 340, 202, kImageSplash, Role::SplashImage));
    return table;
}

constexpr int CountFilledRows(const ControlTable& table) {
    int filled = 0;
    for (const ControlRow& entry : table) {
        if (entry.kind != Kind::Background || entry.imageId != 0) ++filled;
    }
    return filled;
}

}  // namespace

constexpr ControlTable kControlTable = MakeControlTable();

static_assert(CountFilledRows(kControlTable) == kLayoutControlCount,
              "every row of the layout is written exactly once");
static_assert(kControlTable[layout_row::kSplashImage].kind == Kind::ImageDisplay);
static_assert(kControlTable[layout_row::kBand12Type].parameter == param::kTypeBand12);
static_assert(kControlTable[layout_row::kSplashToggle].kind == Kind::ToggleArea);
static_assert(kControlTable[layout_row::BandControl(11, 4)].kind == Kind::Text);
static_assert(kControlTable[layout_row::BandReadout(11, 2)].roleIndex == 35);
static_assert(kControlTable[layout_row::kTargetLevelKnob].kind == Kind::ValueKnob);
static_assert(kControlTable[layout_row::kFitButton].kind == Kind::FitButton);

TextStyle MakeLayoutTextStyle(LayoutTextStyle style) {
    auto make = [](const char* face, int size, std::uint32_t colour, bool bold, std::int8_t align) {
        TextStyle text;
        text.faceName = face;
        text.size = size;
        text.colour = colour;
        text.style = bold ? kTextStyleBold : 0;
        text.alignment = align;
        return text;
    };
    switch (style) {
        case Style::Status: return make("Arial", 32, 0x69FFFFFF, false, kAlignLeft);
        case Style::SampleRate: return make("Agency FB", 40, 0x69FFFFFF, true, kAlignRight);
        case Style::BandNumber: return make("Bahnschrift", 36, 0xB4FFFFFF, true, kAlignCentre);
        case Style::BandReadout: return make("Agency FB", 36, 0xFFFFFFFF, true, kAlignCentre);
        case Style::OutputReadout: return make("Consolas", 28, 0xFF0A1F05, true, kAlignRight);
        case Style::None: break;
    }
    return TextStyle{};
}

}  // namespace corvalen::editor
