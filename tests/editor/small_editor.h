// Most of the editor, built from real controls on the real product at the layout's places
// (the band knobs, switches and read-outs, the output slider, the level knob, the file button,
// the status and sample-rate lines and the splash panel), for tests and benchmarks.
#pragma once

#include <vector>

#include "editor/controls/background_image.h"
#include "editor/controls/file_button.h"
#include "editor/controls/image_display.h"
#include "editor/controls/knob.h"
#include "editor/controls/slider.h"
#include "editor/controls/switch_control.h"
#include "editor/controls/text_control.h"
#include "editor/controls/toggle_area.h"
#include "editor/controls/value_knob.h"
#include "editor/image_ids.h"
#include "editor_under_test.h"
#include "engine/parameter_table.h"

namespace corvalen::editor::testing {

struct SmallEditor {
    SmallEditor() {
        EditorLinks links;
        editor.add<BackgroundImage>(BitmapRef{nullptr, 1600, 1054, 1, kImageBackground + 1});
        for (int band = 0; band < kBandCount; ++band) {
            const int x = 66 + 114 * band;
            const int left = 54 + 114 * band;
            const int params[3] = {param::BandFrequency(band), param::BandGain(band),
                                   param::BandQuality(band)};
            for (int role = 0; role < 3; ++role) {
                const int top = 686 + 104 * role;
                knobs.push_back(
                    editor.add<Knob>(LayoutRect{x - 4, top, x + 68, top + 72}, params[role],
                                     BitmapRef{nullptr, 72, 72, 60, kImageBandKnob + 1}, 6.0));
                TextControl* text = editor.add<TextControl>(
                    LayoutRect{left, top + 68, left + 88, top + 100}, ReadoutStyle());
                readouts.push_back(text);
                links.bandReadouts[3 * band + role] = text;
            }
            switches.push_back(
                editor.add<SwitchControl>(x - 12, 646, param::BandSwitch(band),
                                          BitmapRef{nullptr, 88, 36, 2, kImageBandSwitch + 1}));
        }
        slider =
            editor.add<Slider>(LayoutRect{1420, 1014, 1588, 1050}, param::kOut,
                               BitmapRef{nullptr, 40, 36, 1, kImageOutputHandle + 1}, 168, true);
        output = editor.add<TextControl>(LayoutRect{1532, 982, 1588, 1008}, ReadoutStyle());
        level = editor.add<ValueKnob>(LayoutRect{1428, 804, 1582, 836}, param::kTargetResponses,
                                      BitmapRef{nullptr, 154, 32, 1, kImageOffsetPlate + 1}, 14.0);
        button = editor.add<FileButton>(1428, param::kFrFile,
                                        BitmapRef{nullptr, 114, 40, 2, kImageFileButton + 1});
        status = editor.add<TextControl>(LayoutRect{14, 8, 420, 30}, ReadoutStyle());
        rate = editor.add<TextControl>(LayoutRect{1000, 1012, 1276, 1048}, ReadoutStyle());
        toggle = editor.add<ToggleArea>(param::kSplashScreen, LayoutRect{176, 1012, 212, 1048});
        splash = editor.add<ImageDisplay>(340, 202, param::kSplashScreen,
                                          BitmapRef{nullptr, 920, 650, 1, kImageSplash + 1});
        links.outputReadout = output;
        links.statusText = status;
        links.sampleRateReadout = rate;
        links.fileButton = button;
        links.splashImage = splash;
        editor.finish(links);
    }

    static TextStyle ReadoutStyle() {
        TextStyle style;
        style.faceName = "Agency FB";
        style.size = 36;
        style.colour = 0xFFFFFFFF;
        style.style = kTextStyleBold;
        style.alignment = kAlignCentre;
        return style;
    }

    EditorUnderTest editor;
    std::vector<Knob*> knobs;
    std::vector<TextControl*> readouts;
    std::vector<SwitchControl*> switches;
    Slider* slider = nullptr;
    TextControl* output = nullptr;
    ValueKnob* level = nullptr;
    FileButton* button = nullptr;
    TextControl* status = nullptr;
    TextControl* rate = nullptr;
    ToggleArea* toggle = nullptr;
    ImageDisplay* splash = nullptr;
};

}  // namespace corvalen::editor::testing
