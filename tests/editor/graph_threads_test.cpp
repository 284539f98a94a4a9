// The graph painting while host threads retune bands, switch layers, load measurements and
// process audio, the way a DAW drives an open editor. Every paint copies what it shows under
// the instance lock and every file is read outside it, so the thread sanitizer build reports
// nothing here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/graph/response_graph.h"
#include "engine/measurement_reader.h"
#include "engine/parameter_table.h"
#include "graph_picture.h"
#include "open_plugin.h"
#include "shell/instance_lock.h"
#include "shell/parameter.h"
#include "temp_folder.h"

namespace corvalen::editor {
namespace {

class MeasuringPlugin : public CorrectionPlugin {
public:
    MeasuringPlugin() : CorrectionPlugin(&testing_support::SilentHost) {}
    // Instance lock held: what the file button does before it pushes FR_file.
    void loadMeasurement(const std::string& path) {
        measurementPath_ = path;
        OnParamChange(param::kFrFile);
    }
};

std::string writeMeasurement(const char* name, double level) {
    const std::string path = corvalen::testing::TestTempPath(name);
    std::FILE* file = std::fopen(path.c_str(), "w");
    for (double hz = 10.0; hz < 30000.0; hz *= 1.05)
        std::fprintf(file, "%g,%g\n", hz, level + hz / 3000.0);
    std::fclose(file);
    return path;
}

// Every thread does a fixed amount of work, so the test ends whatever share of the lock each
// gets; the instance lock is fair, so the painter is not starved meanwhile either.
TEST(ResponseGraphThreads, PaintsWhileOtherThreadsChangeWhatItShows) {
    MeasuringPlugin plugin;
    EffectRecord* record = plugin.Record();
    record->dispatcher(record, vst2::effOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    record->dispatcher(record, vst2::effSetBlockSize, 0, 256, nullptr, 0.0f);
    const std::string files[] = {writeMeasurement("corvalen_graph_a.csv", 80.0),
                                 writeMeasurement("corvalen_graph_b.csv", 90.0), ""};
    constexpr int kChanges = 600;
    constexpr int kLoads = 90;
    constexpr int kBlocks = 2000;
    constexpr int kPaints = 100;

    GraphPicture picture(1);
    picture.graphics.setPlugin(&plugin);
    picture.graphics.attach(std::make_unique<ResponseGraph>(*plugin.Model()));

    std::thread host([&] {
        for (unsigned n = 0; n < kChanges; ++n) {
            const int band = static_cast<int>(n % kBandCount);
            plugin.ApplyEditorChange(param::BandGain(band), (n % 97) / 96.0);
            plugin.ApplyEditorChange(param::BandFrequency(band), (n % 89) / 88.0);
            plugin.ApplyEditorChange(param::BandSwitch(band), (n / 3) % 2);
            plugin.ApplyEditorChange(param::kEqGraph + static_cast<int>(n % 4), (n / 4) % 2);
            plugin.ApplyEditorChange(param::kBypassEq, (n / 7) % 2);
            plugin.ApplyEditorChange(param::kTargetResponses, (n % 10) / 9.0);
            if (n % 50 == 0) {
                LockScope hold(plugin.Lock());
                plugin.SetSampleRate(n % 100 == 0 ? 44100.0 : 96000.0);
            }
        }
    });
    // Loads as the file button makes them: the path and the change under the lock, the file
    // read once the lock is left. The last one loads file a.
    std::thread loader([&] {
        for (unsigned n = 1; n <= kLoads; ++n) {
            LockScope hold(plugin.Lock());
            plugin.loadMeasurement(files[n % 3]);
        }
    });
    std::thread audio([&] {
        std::vector<double> left(256), right(256);
        double* channels[2] = {left.data(), right.data()};
        for (unsigned n = 0; n < kBlocks; ++n) {
            for (std::size_t i = 0; i < left.size(); ++i)
                left[i] = right[i] = static_cast<double>((i + n) % 64) / 64.0 - 0.5;
            AudioLockScope hold(*plugin.Lock());
            plugin.ProcessBlock(channels, channels, 256);
        }
    });

    for (int paint = 0; paint < kPaints; ++paint) picture.graphics.paint(kGraphRect);
    host.join();
    loader.join();
    audio.join();

    // The loader's last load is the last one asked for: its curve is the one in place.
    double expected[kGridPoints];
    ReadMeasurementCurve(files[kLoads % 3], 0, plugin.Model()->gridFrequencies(), kGridPoints,
                         expected);
    EXPECT_TRUE(std::equal(expected, expected + kGridPoints, plugin.Model()->frCurve()));
    EXPECT_FALSE(plugin.HasDeferredWork());
    for (const std::string& file : files) {
        if (!file.empty()) std::filesystem::remove(file);
    }
}

}  // namespace
}  // namespace corvalen::editor
