// The soak natively, for the thread sanitizer: two instances of the product with their editors
// as the plug-in assembles them, the audio thread and the worker of a DAW (tools/soak), and an
// editor thread that drags and turns the knobs through the drawing host's input and repaints at
// the editor's frame rate, all at once. Afterwards: no sample but finite ones, every chunk saved
// reloaded to the same bytes, and each editor's picture, kept up by its ticks alone, equal to
// what a fresh instance given its final program paints. Corvalen-host's soak command does the
// same with the real DLL and windows under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"
#include "plugin/editor_assembly.h"
#include "shell/plugin_entry.h"
#include "shell/vst2_plugin.h"
#include "tools/soak/soak_threads.h"

namespace corvalen::editor {
namespace {

constexpr double kSoakSeconds = 4.0;
constexpr int kDragSteps = 6;
constexpr int kTicksPerGesture = 6;  // a gesture every quarter second at 24 ticks a second

void OpenInstance(host::VstHost& host, const soak::SoakPlan& plan) {
    ASSERT_TRUE(host.Open(
        [](vst2::HostCallback callback) { return CreateEffect(callback, &CreatePluginObject); }));
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(plan.sampleRate));
    host.Dispatch(vst2::effSetBlockSize, 0, plan.blockFrames);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
}

EditorGraphics& GraphicsOf(host::VstHost& host) {
    return *AssembledEditorGraphics(*Vst2Plugin::FromRecord(host.Effect()));
}

// One editor tick: what changed is repainted, a wheel gesture counts down.
void Tick(EditorGraphics& graphics) {
    LayoutRect dirty;
    if (graphics.isDirty(dirty)) graphics.paintDirtyAreas();
    graphics.tickWheelGesture();
}

void Perform(EditorGraphics& graphics, const soak::SoakGesture& gesture) {
    if (gesture.drag) {
        graphics.buttonPressedAt(gesture.x, gesture.y, kModifierLeftButton);
        for (int step = 1; step <= kDragSteps; ++step) {
            graphics.mouseMovedTo(gesture.x, gesture.y + gesture.distance * step / kDragSteps,
                                  kModifierLeftButton, true, true);
        }
        graphics.buttonReleasedAt(gesture.x, gesture.y + gesture.distance, 0);
        return;
    }
    const int notches = gesture.distance < 0 ? -gesture.distance : gesture.distance;
    for (int notch = 0; notch < notches; ++notch) {
        graphics.wheelAt(gesture.x, gesture.y, kModifierWheel, gesture.distance < 0 ? -1.0f : 1.0f);
    }
}

std::vector<std::uint32_t> Picture(EditorGraphics& graphics) {
    raster::RasterBitmap& bitmap = graphics.drawBitmap();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint32_t* row =
            bitmap.bits() + static_cast<std::ptrdiff_t>(y) * bitmap.rowSpan();
        pixels.insert(pixels.end(), row, row + bitmap.width());
    }
    return pixels;
}

TEST(SoakThreads, TwoEditorsUnderEveryHostThreadAtOnce) {
    const soak::SoakPlan plan = soak::SoakPlan::ForSeconds(kSoakSeconds);
    host::VstHost first, second, checker;
    for (host::VstHost* host : {&first, &second, &checker}) OpenInstance(*host, plan);
    std::vector<host::VstHost*> instances = {&first, &second};
    for (host::VstHost* host : instances) host->Dispatch(vst2::effEditGetRect);
    for (host::VstHost* host : instances) {
        Vst2Plugin::FromRecord(host->Effect())->Editor()->SetScale(1);
    }
    const std::vector<std::string> measurements = {CORVALEN_SAMPLE_MEASUREMENT,
                                                   "/no/such/folder/measurement.csv"};

    soak::SoakTally tally;
    std::thread audio([&] { soak::RunAudio(instances, plan, tally); });
    std::thread worker([&] { soak::RunWorker(instances, checker, measurements, plan, tally); });
    const auto start = std::chrono::steady_clock::now();
    const int ticks = plan.gestures * kTicksPerGesture;
    for (int tick = 0; tick < ticks; ++tick) {
        std::this_thread::sleep_until(start + std::chrono::microseconds(static_cast<long long>(
                                                  1e6 * plan.seconds * tick / ticks)));
        if (tick % kTicksPerGesture == 0) {
            const int g = tick / kTicksPerGesture;
            Perform(GraphicsOf(*instances[static_cast<std::size_t>(g) % instances.size()]),
                    soak::GestureNumber(g));
        }
        for (host::VstHost* host : instances) Tick(GraphicsOf(*host));
    }
    audio.join();
    worker.join();

    EXPECT_EQ(tally.blocks.load(), plan.audioBlocks);
    EXPECT_EQ(tally.nonFiniteSamples.load(), 0);
    EXPECT_GT(tally.chunksChecked.load(), 0);
    EXPECT_EQ(tally.chunksNotReloaded.load(), 0);
    EXPECT_GT(tally.measurementLoads.load(), 0);
    // The gestures moved knobs: the host heard the editors' values.
    EXPECT_GT(first.CountCalls(vst2::audioMasterAutomate), plan.gestures / 4);
    EXPECT_GT(second.CountCalls(vst2::audioMasterAutomate), plan.gestures / 4);
    for (host::VstHost* host : instances) {
        SCOPED_TRACE(host == &first ? "first" : "second");
        // The last requests handled, the pointer gone, the wheel gesture ended, the ticks done.
        host->Dispatch(vst2::effGetProgram);
        EditorGraphics& graphics = GraphicsOf(*host);
        graphics.mouseLeft();
        for (int tick = 0; tick < EditorGraphics::kFrameRate; ++tick) Tick(graphics);

        host::VstHost fresh;
        OpenInstance(fresh, plan);
        std::vector<unsigned char> program = soak::SavedChunk(*host, false);
        ASSERT_EQ(fresh.Dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(program.size()),
                                 program.data()),
                  1);
        Vst2Plugin::FromRecord(fresh.Effect())->Editor()->SetScale(1);
        EditorGraphics& freshGraphics = GraphicsOf(fresh);
        LayoutRect everything;
        freshGraphics.isDirty(everything);
        freshGraphics.paint({0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight});
        const std::vector<std::uint32_t> picture = Picture(graphics);
        ASSERT_EQ(picture.size(), 800u * 527u);
        EXPECT_TRUE(picture == Picture(freshGraphics));
    }
}

}  // namespace
}  // namespace corvalen::editor
