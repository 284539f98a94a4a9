#include "tools/soak/soak_threads.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "editor/layout/control_table.h"
#include "engine/parameter_table.h"
#include "tools/host/project_state.h"

namespace corvalen::soak {
namespace {

using Clock = std::chrono::steady_clock;

// How often the worker and the user act; the audio runs in real time.
constexpr double kWorkerPeriod = 0.1;    // seconds between worker rounds
constexpr double kGesturePeriod = 0.25;  // seconds between gestures
// Every this many blocks the audio thread also asks for the measurement again.
constexpr long kMeasurementEveryBlocks = 64;
constexpr double kTwoPi = 6.283185307179586;

// Waits until `at` seconds after start; at once when that has passed (a busy machine).
void PaceTo(Clock::time_point start, double at) {
    std::this_thread::sleep_until(
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(at)));
}

// A two-tone stereo block (100 Hz left, 5 kHz right) starting at frame `first`.
template <typename Sample>
void FillBlock(std::vector<Sample>& left, std::vector<Sample>& right, long first, double rate) {
    for (std::size_t i = 0; i < left.size(); ++i) {
        const double t = static_cast<double>(first + static_cast<long>(i)) / rate;
        left[i] = static_cast<Sample>(0.5 * std::sin(kTwoPi * 100.0 * t));
        right[i] = static_cast<Sample>(0.5 * std::sin(kTwoPi * 5000.0 * t));
    }
}

template <typename Sample>
long NonFinite(const std::vector<Sample>& left, const std::vector<Sample>& right) {
    long count = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (!std::isfinite(left[i])) ++count;
        if (!std::isfinite(right[i])) ++count;
    }
    return count;
}

// The checker takes the chunk and must save it again as the same bytes.
bool ReloadsToTheSameBytes(host::VstHost& checker, std::vector<unsigned char> chunk, bool bank) {
    const std::vector<unsigned char> saved = chunk;
    if (checker.Dispatch(vst2::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(chunk.size()),
                         chunk.data()) != 1) {
        return false;
    }
    return SavedChunk(checker, bank) == saved;
}

}  // namespace

SoakPlan SoakPlan::ForSeconds(double seconds) {
    SoakPlan plan;
    plan.seconds = seconds > 0.0 ? seconds : 0.0;
    plan.audioBlocks = static_cast<long>(plan.seconds * plan.sampleRate / plan.blockFrames);
    plan.workerRounds = static_cast<int>(plan.seconds / kWorkerPeriod);
    plan.gestures = static_cast<int>(plan.seconds / kGesturePeriod);
    return plan;
}

SoakGesture GestureNumber(int i) {
    const int band = i % kBandCount;
    const int part = (i / kBandCount) % kValuesPerBand;  // frequency, gain, Q knob
    const editor::LayoutRect& knob =
        editor::kControlTable[static_cast<std::size_t>(editor::layout_row::BandControl(band, part))]
            .rect;
    SoakGesture gesture;
    gesture.drag = i % 2 == 0;
    gesture.x = (knob.left + knob.right) / 2;
    gesture.y = (knob.top + knob.bottom) / 2;
    const bool up = (i / 2) % 2 == 0;
    gesture.distance = gesture.drag ? (up ? -60 : 60) : (up ? 3 : -3);
    return gesture;
}

std::vector<unsigned char> SavedChunk(host::VstHost& instance, bool bank) {
    void* data = nullptr;
    const intptr_t length = instance.Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
    if (length <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + length);
}

void RunAudio(const std::vector<host::VstHost*>& instances, const SoakPlan& plan,
              SoakTally& tally) {
    const auto frames = static_cast<std::size_t>(plan.blockFrames);
    std::vector<float> left(frames), right(frames), outLeft(frames), outRight(frames);
    std::vector<double> dLeft(frames), dRight(frames), dOutLeft(frames), dOutRight(frames);
    const Clock::time_point start = Clock::now();
    for (long block = 0; block < plan.audioBlocks; ++block) {
        PaceTo(start, static_cast<double>(block) * plan.blockFrames / plan.sampleRate);
        const long first = block * plan.blockFrames;
        for (std::size_t n = 0; n < instances.size(); ++n) {
            host::VstHost& instance = *instances[n];
            // Automation played back on the audio thread, as many DAWs do.
            const int band = static_cast<int>((block / 2) % kBandCount);
            instance.SetParameter(
                param::BandGain(band),
                static_cast<float>(0.5 + 0.2 * std::sin(0.05 * static_cast<double>(block))));
            tally.automatedValues.fetch_add(1, std::memory_order_relaxed);
            if (block % kMeasurementEveryBlocks == 0) {
                instance.SetParameter(param::kFrFile,
                                      static_cast<float>(block / kMeasurementEveryBlocks % 2));
            }
            if (block % 2 == 0) {
                FillBlock(left, right, first, plan.sampleRate);
                float* inputs[2] = {left.data(), right.data()};
                float* outputs[2] = {outLeft.data(), outRight.data()};
                instance.ProcessReplacing(inputs, outputs, plan.blockFrames);
                tally.nonFiniteSamples.fetch_add(NonFinite(outLeft, outRight));
            } else {
                FillBlock(dLeft, dRight, first, plan.sampleRate);
                double* inputs[2] = {dLeft.data(), dRight.data()};
                double* outputs[2] = {dOutLeft.data(), dOutRight.data()};
                instance.ProcessDoubleReplacing(inputs, outputs, plan.blockFrames);
                tally.nonFiniteSamples.fetch_add(NonFinite(dOutLeft, dOutRight));
            }
        }
        tally.blocks.fetch_add(1, std::memory_order_relaxed);
    }
}

void RunWorker(const std::vector<host::VstHost*>& instances, host::VstHost& checker,
               const std::vector<std::string>& measurementPaths, const SoakPlan& plan,
               SoakTally& tally) {
    const Clock::time_point start = Clock::now();
    for (int round = 0; round < plan.workerRounds; ++round) {
        PaceTo(start, round * kWorkerPeriod);
        host::VstHost& instance = *instances[static_cast<std::size_t>(round) % instances.size()];
        const int task = (round / static_cast<int>(instances.size())) % 4;
        if (task == 0 || task == 1) {
            // A project saved (a program, or every program as a bank) and restored.
            const bool bank = task == 1;
            std::vector<unsigned char> chunk = SavedChunk(instance, bank);
            if (chunk.empty() || !ReloadsToTheSameBytes(checker, chunk, bank)) {
                tally.chunksNotReloaded.fetch_add(1);
            }
            tally.chunksChecked.fetch_add(1);
            if (!chunk.empty() &&
                instance.Dispatch(vst2::effSetChunk, bank ? 0 : 1,
                                  static_cast<intptr_t>(chunk.size()), chunk.data()) != 1) {
                tally.chunksNotReloaded.fetch_add(1);
            }
        } else if (task == 2) {
            instance.Dispatch(vst2::effSetProgram, 0, (round / 3) % 16);
            tally.programChanges.fetch_add(1);
        } else if (!measurementPaths.empty()) {
            // A project naming a measurement: the path is unloaded, then a program carrying the
            // next path is restored, which reads it.
            instance.SetParameter(param::kUnloadFr, 1.0f);
            instance.SetParameter(param::kUnloadFr, 0.0f);
            const std::string& path =
                measurementPaths[static_cast<std::size_t>(round) % measurementPaths.size()];
            std::string error;
            if (host::RestoreProgramWithMeasurement(instance, {}, path, error)) {
                tally.measurementLoads.fetch_add(1);
            }
        }
    }
}

}  // namespace corvalen::soak
