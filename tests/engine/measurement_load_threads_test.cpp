// How long the audio thread waits for the instance lock while another thread loads a
// 10,000-line measurement file again and again, as a user choosing files or a host restoring
// programs does. Reading the file under the lock made every block that came during a load wait
// for the whole read; the plug-in reads outside the lock and holds it only to put the curve in
// place, so the wait no longer grows with the file. Both are measured here, the first by
// loading the way the change handler used to.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "engine/measurement_reader.h"
#include "engine/parameter_table.h"
#include "long_measurement_file.h"
#include "open_plugin.h"
#include "shell/instance_lock.h"

namespace corvalen {
namespace {

using Clock = std::chrono::steady_clock;

class LoadingPlugin : public CorrectionPlugin {
public:
    LoadingPlugin() : CorrectionPlugin(&testing_support::SilentHost) {
        EffectRecord* record = Record();
        record->dispatcher(record, vst2::effOpen, 0, 0, nullptr, 0.0f);
        record->dispatcher(record, vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        record->dispatcher(record, vst2::effSetBlockSize, 0, 64, nullptr, 0.0f);
    }
    // As the file button: the path and the change under the lock, the file read after it.
    void loadAsTheEditorDoes(const std::string& path) {
        LockScope hold(Lock());
        measurementPath_ = path;
        OnParamChange(param::kFrFile);
    }
    // As the change handler used to: the whole read under the lock.
    void loadUnderTheLock(const std::string& path) {
        LockScope hold(Lock());
        measurementPath_ = path;
        LoadMeasurement(*Model(), path);
    }
};

struct Waits {
    double medianUs, p999Us, maxUs;
    int longerThan;  // waits longer than the limit asked for
};

// A fixed number of loads on one thread and a fixed number of 64-frame blocks on the audio
// thread, one every 250 microseconds; the audio thread times each wait for the lock.
template <typename Load>
Waits MeasureAudioWaits(LoadingPlugin& plugin, int loads, double limitUs, Load load) {
    constexpr int kBlocks = 2000;
    std::thread loader([&] {
        for (int n = 0; n < loads; ++n) load();
    });
    std::vector<double> waitsUs;
    waitsUs.reserve(kBlocks);
    std::vector<double> left(64, 0.25), right(64, -0.25);
    double* channels[2] = {left.data(), right.data()};
    Clock::time_point next = Clock::now();
    for (int block = 0; block < kBlocks; ++block) {
        next += std::chrono::microseconds(250);
        std::this_thread::sleep_until(next);
        const Clock::time_point asked = Clock::now();
        AudioLockScope hold(*plugin.Lock());
        waitsUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - asked).count());
        plugin.ProcessBlock(channels, channels, 64);
    }
    loader.join();
    std::sort(waitsUs.begin(), waitsUs.end());
    const auto longer = waitsUs.end() - std::upper_bound(waitsUs.begin(), waitsUs.end(), limitUs);
    return {waitsUs[waitsUs.size() / 2], waitsUs[waitsUs.size() * 999 / 1000], waitsUs.back(),
            static_cast<int>(longer)};
}

TEST(MeasurementLoadThreads, AudioWaitsForNoFileBeingRead) {
    LoadingPlugin plugin;
    const std::string path = testing::WriteLongMeasurementFile("corvalen_load_wait.csv");

    // One load's time, to size the loader's share: it loads for about as long as audio runs.
    const Clock::time_point start = Clock::now();
    plugin.loadAsTheEditorDoes(path);
    const double loadUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    const int loads = std::clamp(static_cast<int>(500000.0 / loadUs), 20, 400);

    // A wait that grew with the file would reach a good part of one load.
    const double limitUs = loadUs / 4;
    const Waits before =
        MeasureAudioWaits(plugin, loads, limitUs, [&] { plugin.loadUnderTheLock(path); });
    const Waits after =
        MeasureAudioWaits(plugin, loads, limitUs, [&] { plugin.loadAsTheEditorDoes(path); });
    std::printf(
        "one load %.0f us; audio wait for the lock, median / 99.9th percentile / longest:\n"
        "  file read under the lock  %.1f / %.1f / %.1f us\n"
        "  file read outside it      %.1f / %.1f / %.1f us\n",
        loadUs, before.medianUs, before.p999Us, before.maxUs, after.medianUs, after.p999Us,
        after.maxUs);
    // On a quiet machine no block waits that long; a busy one may take the processor from the
    // loader for a time slice while it puts a curve in place, rarely.
    EXPECT_LE(after.longerThan, 4);
    EXPECT_GT(before.longerThan, after.longerThan);  // the measurement sees such waits
    std::remove(path.c_str());
}

}  // namespace
}  // namespace corvalen
