// The layout table against what a person checks on the editor: the attach order, the places
// of the controls people look at, the parameters bound, the images' sizes in the image table,
// and the artwork generator's picture drawn around the same rectangles.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "editor/image_ids.h"
#include "editor/layout/control_table.h"
#include "engine/parameter_table.h"

namespace corvalen::editor {
namespace {

using Kind = ControlKind;

// One letter per kind, so the attach order reads as one line.
char Letter(Kind kind) {
    switch (kind) {
        case Kind::Background: return 'B';
        case Kind::FileButton: return 'F';
        case Kind::MomentaryButton: return 'M';
        case Kind::ResponseGraph: return 'G';
        case Kind::Text: return 'T';
        case Kind::Switch: return 'S';
        case Kind::GraphLegend: return 'L';
        case Kind::Knob: return 'K';
        case Kind::ValueKnob: return 'V';
        case Kind::Slider: return 'R';
        case Kind::ToggleArea: return 'A';
        case Kind::ImageDisplay: return 'I';
        case Kind::FitButton: return 'P';
    }
    return '?';
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(LayoutTable, AttachOrderIsTheDrawingOrderOfAllControls) {
    std::string order;
    for (const ControlRow& entry : kControlTable) order += Letter(entry.kind);
    const std::string expected =
        "BFMGTT"
        "SSSSL" +
        Repeat("KKKST", 12) + "SSRTSA" + Repeat("T", 36) + "SVPI";
    EXPECT_EQ(order, expected);
    EXPECT_EQ(order.size(), 117u);
}

struct Place {
    const char* what;
    int row;
    LayoutRect rect;
    int parameter;
    int image;
};

TEST(LayoutTable, ControlsSitWhereAPersonFindsThem) {
    const Place places[] = {
        {"background", layout_row::kBackground, {0, 0, 1600, 1054}, -1, kImageBackground},
        {"file button",
         layout_row::kFileButton,
         {1428, 916, 1542, 956},
         param::kFrFile,
         kImageFileButton},
        {"unload button",
         layout_row::kUnloadButton,
         {1542, 916, 1582, 956},
         param::kUnloadFr,
         kImageUnloadButton},
        {"graph", layout_row::kGraph, {0, 0, 1600, 640}, -1, 0},
        {"status text", layout_row::kStatusText, {14, 8, 420, 30}, -1, 0},
        {"sample rate", layout_row::kSampleRateReadout, {1000, 1012, 1276, 1048}, -1, 0},
        {"EQ layer",
         layout_row::kFirstLayerSwitch,
         {1552, 24, 1576, 48},
         param::kEqGraph,
         kImageLayerSwitch},
        {"FR+EQ layer",
         layout_row::kFirstLayerSwitch + 1,
         {1552, 72, 1576, 96},
         param::kFrAndEqGraph,
         kImageLayerSwitch},
        {"FR layer",
         layout_row::kFirstLayerSwitch + 2,
         {1552, 120, 1576, 144},
         param::kFrGraph,
         kImageLayerSwitch},
        {"target layer",
         layout_row::kFirstLayerSwitch + 3,
         {1552, 168, 1576, 192},
         param::kTargetGraph,
         kImageLayerSwitch},
        {"legend", layout_row::kLegend, {1356, 24, 1520, 192}, -1, 0},
        {"band 1 frequency",
         layout_row::BandControl(0, 0),
         {62, 686, 134, 758},
         param::BandFrequency(0),
         kImageBandKnob},
        {"band 12 gain",
         layout_row::BandControl(11, 1),
         {1316, 790, 1388, 862},
         param::BandGain(11),
         kImageBandKnob},
        {"band 12 Q",
         layout_row::BandControl(11, 2),
         {1316, 894, 1388, 966},
         param::BandQuality(11),
         kImageBandKnob},
        {"band 12 switch",
         layout_row::BandControl(11, 3),
         {1308, 646, 1396, 682},
         param::BandSwitch(11),
         kImageBandSwitch},
        {"band 12 number", layout_row::BandControl(11, 4), {1308, 646, 1396, 682}, -1, 0},
        {"band 1 type",
         layout_row::kBand1Type,
         {54, 998, 142, 1038},
         param::kTypeBand1,
         kImageBand1Type},
        {"band 12 type",
         layout_row::kBand12Type,
         {1308, 998, 1396, 1038},
         param::kTypeBand12,
         kImageBand12Type},
        {"output slider",
         layout_row::kOutputSlider,
         {1420, 1014, 1588, 1050},
         param::kOut,
         kImageOutputHandle},
        {"output read-out", layout_row::kOutputReadout, {1532, 982, 1588, 1008}, -1, 0},
        {"bypass",
         layout_row::kBypassSwitch,
         {0, 646, 42, 682},
         param::kBypassEq,
         kImageBypassSwitch},
        {"splash toggle draws nothing",
         layout_row::kSplashToggle,
         {0, 0, 0, 0},
         param::kSplashScreen,
         0},
        {"band 1 frequency read-out", layout_row::BandReadout(0, 0), {54, 754, 142, 786}, -1, 0},
        {"band 12 Q read-out", layout_row::BandReadout(11, 2), {1308, 962, 1396, 994}, -1, 0},
        {"separator",
         layout_row::kSeparatorSwitch,
         {1428, 724, 1582, 756},
         param::kSeparator,
         kImageSeparatorSwitch},
        {"target level",
         layout_row::kTargetLevelKnob,
         {1428, 804, 1582, 836},
         param::kTargetResponses,
         kImageOffsetPlate},
        // Between the offset plate (bottom 836) and the file buttons' label above 916.
        {"fit button", layout_row::kFitButton, {1428, 848, 1582, 880}, -1, kImageFitButton},
        {"splash",
         layout_row::kSplashImage,
         {340, 202, 1260, 852},
         param::kSplashScreen,
         kImageSplash},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.what);
        const ControlRow& entry = kControlTable[static_cast<std::size_t>(place.row)];
        EXPECT_EQ(entry.rect, place.rect);
        EXPECT_EQ(entry.parameter, place.parameter);
        EXPECT_EQ(entry.imageId, place.image);
    }
    const ControlRow& toggle = kControlTable[layout_row::kSplashToggle];
    EXPECT_EQ(toggle.target, (LayoutRect{176, 1012, 212, 1048}));
    const ControlRow& slider = kControlTable[layout_row::kOutputSlider];
    EXPECT_EQ(slider.target, slider.rect);
    EXPECT_EQ(slider.trackLength, 168);
    EXPECT_TRUE(slider.horizontal);
    EXPECT_EQ(kControlTable[layout_row::kTargetLevelKnob].gearing, 14.0);
}

TEST(LayoutTable, EveryBandHasItsColumnAndReadOutsCentredUnderTheKnobs) {
    for (int band = 0; band < 12; ++band) {
        SCOPED_TRACE(band + 1);
        const int x = 66 + 114 * band;
        const int parameters[3] = {param::BandFrequency(band), param::BandGain(band),
                                   param::BandQuality(band)};
        for (int quantity = 0; quantity < 3; ++quantity) {
            const ControlRow& knob = kControlTable[layout_row::BandControl(band, quantity)];
            const ControlRow& readout = kControlTable[layout_row::BandReadout(band, quantity)];
            EXPECT_EQ(knob.kind, Kind::Knob);
            EXPECT_EQ(knob.parameter, parameters[quantity]);
            EXPECT_EQ(knob.gearing, 6.0);
            EXPECT_EQ(knob.rect.left, x - 4);
            EXPECT_EQ(knob.rect.right - knob.rect.left, 72);
            EXPECT_EQ(knob.rect.left + knob.rect.right, readout.rect.left + readout.rect.right);
            EXPECT_EQ(readout.rect.top, knob.rect.bottom - 4);
            EXPECT_EQ(readout.role, ControlRole::BandReadout);
            EXPECT_EQ(readout.roleIndex, 3 * band + quantity);
            EXPECT_EQ(readout.style, LayoutTextStyle::BandReadout);
        }
        const ControlRow& number = kControlTable[layout_row::BandControl(band, 4)];
        EXPECT_EQ(std::string(number.text), std::to_string(band + 1));
        EXPECT_EQ(number.style, LayoutTextStyle::BandNumber);
    }
}

TEST(LayoutTable, EveryParameterIsBoundOnceAndTheSplashTwice) {
    std::array<int, param::kCount> bound{};
    for (const ControlRow& entry : kControlTable) {
        if (entry.parameter >= 0) ++bound[static_cast<std::size_t>(entry.parameter)];
    }
    for (int index = 0; index < param::kCount; ++index) {
        EXPECT_EQ(bound[static_cast<std::size_t>(index)], index == param::kSplashScreen ? 2 : 1)
            << kParameterTable[static_cast<std::size_t>(index)].name;
    }
}

TEST(LayoutTable, TextStylesAreTheLayoutsFive) {
    struct Expected {
        LayoutTextStyle style;
        const char* face;
        int size;
        std::uint32_t colour;
        std::uint8_t bold;
        std::int8_t alignment;
    };
    const Expected styles[] = {
        {LayoutTextStyle::Status, "Arial", 32, 0x69FFFFFF, 0, kAlignLeft},
        {LayoutTextStyle::SampleRate, "Agency FB", 40, 0x69FFFFFF, kTextStyleBold, kAlignRight},
        {LayoutTextStyle::BandNumber, "Bahnschrift", 36, 0xB4FFFFFF, kTextStyleBold, kAlignCentre},
        {LayoutTextStyle::BandReadout, "Agency FB", 36, 0xFFFFFFFF, kTextStyleBold, kAlignCentre},
        {LayoutTextStyle::OutputReadout, "Consolas", 28, 0xFF0A1F05, kTextStyleBold, kAlignRight},
    };
    for (const Expected& expected : styles) {
        const TextStyle style = MakeLayoutTextStyle(expected.style);
        SCOPED_TRACE(expected.face);
        EXPECT_STREQ(style.faceName, expected.face);
        EXPECT_EQ(style.size, expected.size);
        EXPECT_EQ(style.colour, expected.colour);
        EXPECT_EQ(style.style, expected.bold);
        EXPECT_EQ(style.alignment, expected.alignment);
    }
}

TEST(LayoutTable, ImageFramesAreTheSizesTheImageTableRenders) {
    ASSERT_EQ(kImageCount, 14);
    for (const ControlRow& entry : kControlTable) {
        if (entry.imageId == 0) continue;
        SCOPED_TRACE(entry.imageId);
        const ImageSize* listed = nullptr;
        for (const ImageSize& image : kImages) {
            if (image.id == entry.imageId) listed = &image;
        }
        ASSERT_NE(listed, nullptr);
        EXPECT_EQ(entry.frameWidth, listed->width);
        EXPECT_EQ(entry.frameHeight * listed->frames, listed->height);
        EXPECT_EQ(entry.frameCount, listed->frames);
        if (entry.kind != Kind::Slider && entry.kind != Kind::Knob) {
            EXPECT_EQ(entry.rect.right - entry.rect.left, entry.frameWidth);
            EXPECT_EQ(entry.rect.bottom - entry.rect.top, entry.frameHeight);
        }
    }
}

// The rectangles the artwork generator draws the background around, by its names.
std::map<std::string, LayoutRect> GeneratorLayout() {
    std::map<std::string, LayoutRect> rows;
    const std::string command =
        std::string(CORVALEN_PYTHON) + " " + CORVALEN_ARTWORK_GENERATOR + " --print-layout";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return rows;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::istringstream line(buffer);
        std::string word;
        std::string name;
        std::array<int, 4> numbers{};
        std::string rest[8];
        int count = 0;
        while (line >> word && count < 8) rest[count++] = word;
        if (count < 5 || rest[0] == "frames") {
            if (count >= 4 && rest[0] == "frames") {
                rows["frames " + rest[1] + " 0 " + rest[2]] = {};
                rows["frames " + rest[1] + " 1 " + rest[3]] = {};
            }
            continue;
        }
        for (int i = 0; i < count - 4; ++i) name += (i ? " " : "") + rest[i];
        for (int i = 0; i < 4; ++i)
            numbers[static_cast<std::size_t>(i)] = std::stoi(rest[count - 4 + i]);
        rows[name] = {numbers[0], numbers[1], numbers[2], numbers[3]};
    }
    ::pclose(pipe);
    return rows;
}

TEST(LayoutTable, TheArtworkIsDrawnAroundTheTablesRectangles) {
    const auto drawn = GeneratorLayout();
    std::map<std::string, LayoutRect> table = {
        {"graph", kControlTable[layout_row::kGraph].rect},
        {"legend", kControlTable[layout_row::kLegend].rect},
        {"separator_switch", kControlTable[layout_row::kSeparatorSwitch].rect},
        {"target_level_knob", kControlTable[layout_row::kTargetLevelKnob].rect},
        {"fit_button", kControlTable[layout_row::kFitButton].rect},
        {"file_button", kControlTable[layout_row::kFileButton].rect},
        {"unload_button", kControlTable[layout_row::kUnloadButton].rect},
        {"output_slider", kControlTable[layout_row::kOutputSlider].rect},
        {"output_readout", kControlTable[layout_row::kOutputReadout].rect},
        {"splash_toggle", kControlTable[layout_row::kSplashToggle].target},
    };
    for (int layer = 0; layer < 4; ++layer) {
        table["layer_switch " + std::to_string(layer)] =
            kControlTable[static_cast<std::size_t>(layout_row::kFirstLayerSwitch + layer)].rect;
    }
    for (int band = 0; band < 12; ++band) {
        const std::string k = std::to_string(band + 1);
        table["band_switch " + k] = kControlTable[layout_row::BandControl(band, 3)].rect;
        for (int quantity = 0; quantity < 3; ++quantity) {
            const std::string q = std::to_string(quantity);
            table["band_knob " + k + " " + q] =
                kControlTable[layout_row::BandControl(band, quantity)].rect;
            table["band_readout " + k + " " + q] =
                kControlTable[layout_row::BandReadout(band, quantity)].rect;
        }
    }
    // Frame 0 of each type switch is what the band filters as at value 0 (band 12's
    // switch reads 0 as the high shelf), frame 1 at value 1.
    for (const char* frame : {"frames band1_type 0 peak", "frames band1_type 1 lowshelf",
                              "frames band12_type 0 highshelf", "frames band12_type 1 peak"}) {
        table[frame] = {};
    }
    EXPECT_EQ(drawn.size(), table.size());
    for (const auto& [name, rect] : table) {
        SCOPED_TRACE(name);
        ASSERT_EQ(drawn.count(name), 1u);
        EXPECT_EQ(drawn.at(name), rect);
    }
}

}  // namespace
}  // namespace corvalen::editor
