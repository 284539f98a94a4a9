// The read-outs, the status line and the sample-rate text as the engine writes them into real
// text controls. Expected texts are printf's "%.0f", "%.2f k", "%.1f dB", "%.2f" and "%.1f"
// worked out by hand.
#include <gtest/gtest.h>

#include "editor/controls/file_button.h"
#include "editor/controls/text_control.h"
#include "editor_under_test.h"
#include "engine/parameter_table.h"

namespace corvalen::editor {
namespace {

using testing::EditorUnderTest;

class ReadoutLinks : public ::testing::Test {
protected:
    void SetUp() override {
        EditorLinks links;
        for (int i = 0; i < kBandReadoutCount; ++i) {
            bands[i] = editor.add<TextControl>(LayoutRect{0, 0, 88, 32}, TextStyle{});
            links.bandReadouts[i] = bands[i];
        }
        output = editor.add<TextControl>(LayoutRect{1532, 982, 1588, 1008}, TextStyle{});
        status = editor.add<TextControl>(LayoutRect{14, 8, 420, 30}, TextStyle{});
        rate = editor.add<TextControl>(LayoutRect{1000, 1012, 1276, 1048}, TextStyle{});
        links.outputReadout = output;
        links.statusText = status;
        links.sampleRateReadout = rate;
        button = editor.add<FileButton>(1428, param::kFrFile, BitmapRef{nullptr, 114, 40, 2, 151});
        links.fileButton = button;
        for (TextControl* text : bands) EXPECT_STREQ(text->text(), "");  // empty until opened
        editor.finish(links);
    }

    EditorUnderTest editor;
    TextControl* bands[kBandReadoutCount] = {};
    TextControl* output = nullptr;
    TextControl* status = nullptr;
    TextControl* rate = nullptr;
    FileButton* button = nullptr;
};

TEST_F(ReadoutLinks, ShowTheDefaultsOnceTheHostOpensTheEffect) {
    EXPECT_STREQ(bands[0]->text(), "20");
    EXPECT_STREQ(bands[1]->text(), "0.0 dB");
    EXPECT_STREQ(bands[2]->text(), "0.71");
    EXPECT_STREQ(output->text(), "0.0");
    EXPECT_STREQ(status->text(), "");
    EXPECT_STREQ(rate->text(), "Fs: 48.0 kHz");
    editor.dispatch(vst2::effSetSampleRate, 0, 0, 44100.0f);
    EXPECT_STREQ(rate->text(), "Fs: 44.1 kHz");
}

TEST_F(ReadoutLinks, FormatEachParameterAndMarkOnlyChangedTexts) {
    struct Case {
        int index;
        double value;
        const char* text;
        int readout;  // into bands, or -1 for the output read-out
    };
    const Case cases[] = {
        {param::BandFrequency(0), 999.6, "1000", 0},  // rounds up, still the hertz form
        {param::BandFrequency(0), 1000.0, "1.00 k", 0},
        {param::BandFrequency(0), 999.4, "999", 0},
        {param::BandFrequency(4), 72.6497, "73", 12},
        {param::BandFrequency(11), 20000.0, "20.00 k", 33},
        {param::BandFrequency(11), 12345.0, "12.35 k", 33},  // 12.345 is stored just above
        {param::BandGain(2), -0.04, "-0.0 dB", 7},
        {param::BandGain(2), 23.96, "24.0 dB", 7},
        {param::BandQuality(6), 0.71, "0.71", 20},
        {param::BandQuality(11), 12.0, "12.00", 35},
        {param::kOut, 0.0, "0.0", -1},
        {param::kOut, -11.96, "-12.0", -1},
    };
    for (const Case& c : cases) {
        TextControl* text = c.readout >= 0 ? bands[c.readout] : output;
        editor.setNatural(c.index, c.value);
        EXPECT_STREQ(text->text(), c.text) << c.index << " " << c.value;
    }

    // The same text again marks a band read-out nothing; the output read-out is always
    // redrawn when its parameter changes.
    bands[7]->markClean();
    editor.setNatural(param::BandGain(2), 23.97);
    EXPECT_STREQ(bands[7]->text(), "24.0 dB");
    EXPECT_FALSE(bands[7]->isDirty());
    output->markClean();
    editor.setNatural(param::kOut, -11.96);
    EXPECT_TRUE(output->isDirty());
    // A band's change touches only its own read-out.
    EXPECT_STREQ(bands[8]->text(), "0.71");
}

TEST_F(ReadoutLinks, StatusShowsAMissingFileCutToTheBuffer) {
    // Longer than the status line holds: the message is cut, never allocated for.
    const std::string longPath = "/" + std::string(600, 'x') + ".csv";
    {
        LockScope hold(editor.plugin->Lock());
        button->path() = longPath;
    }
    editor.setNatural(param::kFrFile, 0.0);
    const std::string expected = ("FILE NOT FOUND: " + longPath).substr(0, 511);
    EXPECT_STREQ(status->text(), expected.c_str());
    {
        LockScope hold(editor.plugin->Lock());
        button->path().clear();
    }
    editor.setNatural(param::kFrFile, 0.0);
    EXPECT_STREQ(status->text(), "");
}

}  // namespace
}  // namespace corvalen::editor
