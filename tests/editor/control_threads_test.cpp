// Host threads and the editor thread on one instance, as DAWs drive it: automation and audio
// on one thread, chunk loads, program and sample-rate changes on another, painting and input
// on the editor's. Run under the thread sanitizer it proves the controls' values, flags and
// texts are published safely; everywhere it checks that no painted text is ever torn and
// that host threads writing to the editor allocate nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "allocation_counter.h"
#include "editor/controls/text_control.h"
#include "editor/input_modifiers.h"
#include "editor_under_test.h"
#include "engine/parameter_table.h"
#include "engine/readout_text.h"
#include "small_editor.h"

namespace corvalen::editor {
namespace {

using testing::EditorUnderTest;
using testing::HostLog;
using testing::SmallEditor;

// The text the engine forms for band read-out `slot` at the parameter's natural value.
ReadoutText ExpectedBandText(int slot, double value) {
    if (slot % 3 == 0) return FrequencyReadoutText(value);
    if (slot % 3 == 1) return GainReadoutText(value);
    return QualityReadoutText(value);
}

// A painted copy is whole when it is exactly what the engine forms for the number it shows.
// A frequency just under 1 kHz shows "1000" in the hertz form, which the number alone would
// put in the kilohertz form: the hertz form is judged as such.
bool IsWholeBandText(int slot, const char* text) {
    const double shown = std::strtod(text, nullptr);
    if (slot % 3 == 0 && std::strstr(text, " k") == nullptr)
        return std::strcmp(FixedReadoutText(shown, 0).text, text) == 0;
    const double value = slot % 3 == 0 ? shown * 1000.0 : shown;
    return std::strcmp(ExpectedBandText(slot, value).text, text) == 0;
}

TEST(ControlThreads, AutomationChunksAndPaintingRunTogetherWithoutTornTexts) {
    SmallEditor ui;
    CorrectionPlugin& plugin = *ui.editor.plugin;
    EffectRecord* record = plugin.Record();
    HostLog::instance().reset(false);

    // A program chunk to load again and again, taken with band 3 lifted.
    ui.editor.setNatural(param::BandGain(2), 6.0);
    void* chunkData = nullptr;
    const intptr_t chunkSize = ui.editor.dispatch(vst2::effGetChunk, 1, 0, 0.0f, &chunkData);
    ASSERT_GT(chunkSize, 0);
    const std::vector<char> chunk(static_cast<const char*>(chunkData),
                                  static_cast<const char*>(chunkData) + chunkSize);

    // Every thread does a fixed amount of work, so the test ends whatever share of the lock
    // each thread gets.
    constexpr int kAutomationRounds = 400;
    constexpr int kChunkRounds = 40;
    constexpr int kTicks = 120;

    std::thread automation([&] {
        std::mt19937 random(1);
        std::uniform_int_distribution<int> index(0, param::kCount - 1);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        std::vector<float> left(256), right(256), outLeft(256), outRight(256);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (int round = 0; round < kAutomationRounds; ++round) {
            for (int i = 0; i < 16; ++i) {
                const int which = index(random);
                // Reloading or unloading the measurement reads files: other tests cover it.
                if (which == param::kFrFile || which == param::kUnloadFr) continue;
                record->setParameter(record, which, value(random));
            }
            record->processReplacing(record, inputs, outputs, 256);
        }
    });
    std::thread host([&] {
        std::vector<char> copy = chunk;
        for (int round = 0; round < kChunkRounds; ++round) {
            ui.editor.dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(copy.size()), 0.0f,
                               copy.data());
            ui.editor.dispatch(vst2::effSetProgram, 0, round % 16);
            ui.editor.dispatch(vst2::effSetSampleRate, 0, 0, round % 2 == 0 ? 44100.0f : 96000.0f);
        }
    });

    // The editor thread: ticks that repaint what is dirty, with a gesture on some control
    // between them, and its own check that every read-out it copies is whole.
    testing::ScriptedGraphics& graphics = *ui.editor.graphics;
    graphics.fileAnswers.assign(1000, "/no/such/folder/measurement.csv");
    int torn = 0;
    int paints = 0;
    for (int tick = 0; tick < kTicks; ++tick) {
        const int band = tick % kBandCount;
        switch (tick % 6) {
            case 0:
                ui.knobs[3 * band + 1]->mouseDrag(0, 0, 0, tick % 2 == 0 ? -20 : 20,
                                                  kModifierLeftButton);
                break;
            case 1: ui.switches[band]->mouseDown(0, 0, kModifierLeftButton); break;
            case 2: ui.slider->mouseDrag(0, 0, 7, 0, kModifierLeftButton); break;
            case 3: ui.knobs[3 * band]->mouseWheel(0, 0, kModifierWheel, 1.0f); break;
            case 4: ui.level->mouseDoubleClick(0, 0, kModifierLeftButton); break;
            case 5:
                if (tick % 60 == 5) ui.button->mouseUp(0, 0, 0);
                if (tick % 30 == 11) ui.toggle->mouseDown(0, 0, kModifierLeftButton);
                break;
        }
        LayoutRect dirty;
        if (graphics.isDirty(dirty)) {
            graphics.paint(dirty);
            ++paints;
        }
        char shown[TextControl::kCapacity];
        for (int slot = 0; slot < kBandReadoutCount; ++slot) {
            ui.readouts[static_cast<std::size_t>(slot)]->copyText(shown);
            if (!IsWholeBandText(slot, shown)) ++torn;
        }
    }
    automation.join();
    host.join();

    EXPECT_EQ(torn, 0);
    EXPECT_GT(paints, 0);
    // Once every thread is done, each read-out shows its parameter's value.
    for (int slot = 0; slot < kBandReadoutCount; ++slot) {
        const double value = plugin.Param(param::kFirstBandValue + slot)->Value();
        EXPECT_STREQ(ui.readouts[static_cast<std::size_t>(slot)]->text(),
                     ExpectedBandText(slot, value).text)
            << slot;
    }
    EXPECT_STREQ(ui.output->text(), OutputReadoutText(plugin.Param(param::kOut)->Value()).text);
    EXPECT_STREQ(ui.rate->text(), SampleRateReadoutText(plugin.SampleRate()).text);
}

TEST(ControlThreads, HostWritesToTheEditorAllocateNothing) {
    SmallEditor ui;
    EffectRecord* record = ui.editor.plugin->Record();
    std::vector<float> left(256), right(256);
    float* channels[2] = {left.data(), right.data()};
    // Warm up: the first texts and images are in place.
    record->processReplacing(record, channels, channels, 256);

    for (int index = 0; index < param::kCount; ++index) {
        // These two read or drop the measurement file, which allocates by its nature.
        if (index == param::kFrFile || index == param::kUnloadFr || index == param::kSeparator)
            continue;
        for (float value : {0.0f, 0.37f, 1.0f, 0.5f}) {
            testing_support::StartCountingAllocations();
            record->setParameter(record, index, value);
            record->processReplacing(record, channels, channels, 256);
            EXPECT_EQ(testing_support::StopCountingAllocations(), 0)
                << "parameter " << index << " to " << value;
        }
    }
    testing_support::StartCountingAllocations();
    record->dispatcher(record, vst2::effSetSampleRate, 0, 0, nullptr, 88200.0f);
    EXPECT_EQ(testing_support::StopCountingAllocations(), 0);
    EXPECT_STREQ(ui.rate->text(), "Fs: 88.2 kHz");
}

}  // namespace
}  // namespace corvalen::editor
