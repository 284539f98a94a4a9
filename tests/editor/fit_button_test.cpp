// The FIT button on the real product, natively: what a press sends the host (one gesture per
// changed parameter, quieter changes first), what the graph then shows, a press without a
// measurement, Ctrl aligning the reference level first, and audio that never waits for a fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "editor/controls/file_button.h"
#include "editor/controls/fit_button.h"
#include "editor/controls/knob.h"
#include "editor/controls/text_control.h"
#include "editor/fit_press.h"
#include "editor/image_ids.h"
#include "editor/input_modifiers.h"
#include "editor_under_test.h"
#include "engine/parameter_table.h"
#include "engine/response_curves.h"
#include "temp_folder.h"

namespace corvalen::editor {
namespace {

using testing::EditCall;
using testing::EditorUnderTest;
using testing::HostLog;

using Parameters = std::array<double, param::kCount>;

BitmapRef Image(int id, int width, int height, int frames) {
    return BitmapRef{nullptr, width, height, frames, id + 1};
}

// The measurement panel with the status line and band 1's gain knob, on the real product.
struct FitPanel {
    EditorUnderTest editor;
    FileButton* file = nullptr;
    TextControl* status = nullptr;
    Knob* gain = nullptr;
    FitButton* fit = nullptr;

    FitPanel() {
        file = editor.add<FileButton>(1428, param::kFrFile, Image(kImageFileButton, 114, 40, 2));
        status = editor.add<TextControl>(LayoutRect{14, 8, 420, 30}, TextStyle{});
        gain = editor.add<Knob>(LayoutRect{62, 790, 134, 862}, param::BandGain(0),
                                Image(kImageBandKnob, 72, 72, 60));
        fit = editor.add<FitButton>(1428, 848, Image(kImageFitButton, 154, 32, 2),
                                    *editor.plugin->Model());
        fit->setStatusText(status);
        EditorLinks links;
        links.fileButton = file;
        links.statusText = status;
        editor.finish(links);
    }
    // As a user picks the file in the chooser.
    void load(const std::string& path) {
        editor.graphics->fileAnswers = {path};
        file->mouseDown(1430, 920, kModifierLeftButton);
        file->mouseUp(1430, 920, 0);
    }
    void press(int modifiers = 0) {
        HostLog::instance().reset();
        fit->mouseDown(1500, 860, kModifierLeftButton | modifiers);
        fit->mouseUp(1500, 860, modifiers);
    }
    Parameters parameters() {
        LockScope hold(editor.plugin->Lock());
        Parameters values{};
        for (int i = 0; i < param::kCount; ++i)
            values[static_cast<std::size_t>(i)] = editor.plugin->Param(i)->GetNormalised();
        return values;
    }
    // FR + EQ against the target over 20 Hz to 10 kHz, as the graph draws it: RMS and largest.
    std::pair<double, double> deviation() {
        const ResponseModel& model = *editor.plugin->Model();
        double squares = 0.0;
        double largest = 0.0;
        int count = 0;
        for (int i = 0; i < model.pointCount(); ++i) {
            const double hz = model.gridFrequency(i);
            if (hz < 20.0 || hz > 10000.0) continue;
            const double db = CorrectedCurveDb(model, i) - TargetCurveDb(model, i);
            squares += db * db;
            largest = std::max(largest, std::abs(db));
            ++count;
        }
        return {std::sqrt(squares / count), largest};
    }
};

bool IsBandSwitch(int index) {
    return index >= param::kFirstBandSwitch && index < param::kFirstBandSwitch + kBandCount;
}

TEST(FitButton, APressPutsTheCorrectedCurveOnTheTargetOneGesturePerChangedParameter) {
    FitPanel panel;
    panel.load(CORVALEN_SAMPLE_MEASUREMENT);
    panel.editor.setNatural(param::kTargetResponses, 75.0);  // the sample's level
    const auto [rmsBefore, largestBefore] = panel.deviation();
    const Parameters before = panel.parameters();
    panel.press();
    const Parameters after = panel.parameters();

    // Begin, automate, end for one parameter at a time; each changed one exactly once, and
    // nothing for the parameters that kept their value.
    const std::vector<EditCall> edits = HostLog::instance().edits();
    ASSERT_EQ(edits.size() % 3, 0u);
    std::vector<int> order;
    for (std::size_t at = 0; at < edits.size(); at += 3) {
        const int index = edits[at].index;
        EXPECT_EQ(edits[at].opcode, vst2::audioMasterBeginEdit) << at;
        EXPECT_EQ(edits[at + 1].opcode, vst2::audioMasterAutomate) << at;
        EXPECT_EQ(edits[at + 2].opcode, vst2::audioMasterEndEdit) << at;
        EXPECT_EQ(edits[at + 1].index, index);
        EXPECT_EQ(edits[at + 2].index, index);
        order.push_back(index);
    }
    const std::set<int> pushed(order.begin(), order.end());
    EXPECT_EQ(pushed.size(), order.size());
    for (int index = 0; index < param::kCount; ++index) {
        const std::size_t i = static_cast<std::size_t>(index);
        EXPECT_EQ(pushed.count(index) == 1, after[i] != before[i]) << index;
    }
    // The host heard the values the plug-in holds (it takes them as floats).
    for (const testing::Automation& automated : HostLog::instance().entries()) {
        EXPECT_NEAR(automated.value, after[static_cast<std::size_t>(automated.index)], 1e-6);
    }
    // Quieter first: a lower output level before any band, bands switched on after every
    // band is tuned.
    ASSERT_LT(after[param::kOut], before[param::kOut]);  // the sample needs boosts
    EXPECT_EQ(order.front(), param::kOut);
    const auto lastTuned =
        std::find_if(order.rbegin(), order.rend(), [](int index) { return !IsBandSwitch(index); });
    for (auto switched = order.begin(); switched != order.end(); ++switched) {
        const std::size_t i = static_cast<std::size_t>(*switched);
        if (IsBandSwitch(*switched) && after[i] > before[i]) {
            EXPECT_GT(switched - order.begin(), order.rend() - lastTuned - 1) << *switched;
        }
    }
    EXPECT_GE(order.size(), 20u);

    // What the graph shows: the sample's features of up to 10 dB brought within a few dB of
    // the target, most of the curve well within one.
    const auto [rms, largest] = panel.deviation();
    std::printf(
        "FR+EQ from the target over 20 Hz .. 10 kHz: RMS %.2f -> %.2f dB, largest "
        "%.2f -> %.2f dB; %zu parameters pushed\n",
        rmsBefore, rms, largestBefore, largest, order.size());
    EXPECT_GT(rmsBefore, 3.0);
    EXPECT_LT(rms, 1.0);
    EXPECT_LT(largest, 5.0);
    // The controls follow, and nothing is said.
    EXPECT_DOUBLE_EQ(panel.gain->readValue(), after[param::BandGain(0)]);
    EXPECT_STREQ(panel.status->text(), "");
    EXPECT_EQ(panel.fit->currentFrame(), 0);

    // A second fit finds nothing more to change.
    HostLog::instance().reset();
    const FitPressResult again =
        PressFit(*panel.editor.plugin, *panel.editor.plugin->Model(), panel.status, false);
    EXPECT_TRUE(again.fitted);
    EXPECT_EQ(again.changedParameters, 0);
    EXPECT_TRUE(HostLog::instance().edits().empty());
}

TEST(FitButton, CtrlFirstMovesTheReferenceLevelToTheMeasurementsMidBand) {
    FitPanel panel;
    panel.load(CORVALEN_SAMPLE_MEASUREMENT);
    // The mean of the measured curve between 200 Hz and 2 kHz over log frequency, each point
    // standing for the half-intervals to its neighbours.
    const ResponseModel& model = *panel.editor.plugin->Model();
    double weighted = 0.0;
    double total = 0.0;
    for (int i = 1; i + 1 < model.pointCount(); ++i) {
        const double hz = model.gridFrequency(i);
        if (hz < 200.0 || hz > 2000.0) continue;
        const double width =
            std::log(model.gridFrequency(i + 1)) - std::log(model.gridFrequency(i - 1));
        weighted += model.frCurve()[i] * width;
        total += width;
    }
    const double midBand = weighted / total;
    ASSERT_GT(midBand, 70.0);  // the sample sits near 75 dB

    panel.press(kModifierControl);
    const std::vector<EditCall> edits = HostLog::instance().edits();
    ASSERT_GE(edits.size(), 6u);
    EXPECT_EQ(edits[0].opcode, vst2::audioMasterBeginEdit);
    EXPECT_EQ(edits[0].index, param::kTargetResponses);
    EXPECT_EQ(edits[2].opcode, vst2::audioMasterEndEdit);
    EXPECT_EQ(edits[2].index, param::kTargetResponses);
    EXPECT_NEAR(panel.editor.plugin->Engine().referenceLevelDb, midBand, 0.25);
    EXPECT_LT(panel.deviation().first, 1.0);
}

TEST(FitButton, WithoutAMeasurementNothingChangesAndTheStatusSaysSo) {
    corvalen::testing::TempFolder folder;
    const std::string empty = (folder.path() / "empty.csv").string();
    std::ofstream(empty) << "frequency,raw\n";
    struct Case {
        const char* what;
        std::string path;  // loaded first unless empty
        int modifiers;
    };
    const Case cases[] = {
        {"nothing loaded", "", 0},
        {"nothing loaded, Ctrl", "", kModifierControl},
        {"a missing file", "/no/such/folder/headphone.csv", 0},
        {"a file without data, Ctrl", empty, kModifierControl},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FitPanel panel;
        if (!c.path.empty()) panel.load(c.path);
        const Parameters before = panel.parameters();
        panel.press(c.modifiers);
        EXPECT_STREQ(panel.status->text(), "NO MEASUREMENT TO FIT");
        EXPECT_TRUE(HostLog::instance().edits().empty());
        EXPECT_EQ(panel.parameters(), before);
        EXPECT_EQ(panel.fit->currentFrame(), 0);
    }
    // Loading a measurement clears the message; unloading it makes a press say it again.
    FitPanel panel;
    panel.press();
    panel.load(CORVALEN_SAMPLE_MEASUREMENT);
    EXPECT_STREQ(panel.status->text(), "");
    panel.editor.setNatural(param::kUnloadFr, 1.0);
    const FitPressResult unloaded =
        PressFit(*panel.editor.plugin, *panel.editor.plugin->Model(), panel.status, true);
    EXPECT_FALSE(unloaded.fitted);
    EXPECT_EQ(unloaded.changedParameters, 0);
    EXPECT_STREQ(panel.status->text(), "NO MEASUREMENT TO FIT");
}

// While a fit computes on the editor's thread, an audio thread runs a fixed number of blocks,
// each taking the instance lock: none waits anywhere near as long as the fit takes.
TEST(FitButton, AudioBlocksNeverWaitForTheFit) {
    FitPanel panel;
    panel.load(CORVALEN_SAMPLE_MEASUREMENT);
    panel.editor.setNatural(param::kTargetResponses, 75.0);
    EffectRecord* record = panel.editor.plugin->Record();
    constexpr int kBlocks = 2000;
    constexpr int kFrames = 256;
    std::atomic<bool> running{false};
    double longestBlock = 0.0;
    std::thread audio([&] {
        std::vector<float> left(kFrames, 0.25f), right(kFrames, -0.25f);
        float* channels[2] = {left.data(), right.data()};
        running.store(true);
        for (int block = 0; block < kBlocks; ++block) {
            const auto start = std::chrono::steady_clock::now();
            record->processReplacing(record, channels, channels, kFrames);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            longestBlock = std::max(longestBlock, took.count());
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    while (!running.load()) std::this_thread::yield();
    const auto start = std::chrono::steady_clock::now();
    panel.press();
    const std::chrono::duration<double> fitTook = std::chrono::steady_clock::now() - start;
    audio.join();
    std::printf("fit press %.1f ms, longest audio block meanwhile %.3f ms\n", fitTook.count() * 1e3,
                longestBlock * 1e3);
    EXPECT_GT(HostLog::instance().edits().size(), 0u);
    EXPECT_LT(longestBlock, fitTook.count() / 2);
}

}  // namespace
}  // namespace corvalen::editor
