// The audio path at 48 kHz with all twelve bands on, at the block sizes hosts use, for every
// vector path this processor can run, next to the bank written straight from its per-sample
// formula in the same run. Counters report nanoseconds per stereo frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/eq_bank_processor.h"
#include "engine/flush_to_zero_guard.h"
#include "engine/vector_path.h"
#include "open_plugin.h"
#include "reference_bank.h"

namespace corvalen {
namespace {

constexpr int kLongestBlock = 2048;

struct Bank {
    EqBand bands[kBandCount];
    EngineState state;
    Bank() {
        for (int k = 0; k < kBandCount; ++k) {
            bands[k].frequency = 20.0 * std::pow(1000.0, k / 11.0);
            bands[k].gainDb = (k % 2 == 0) ? 4.5 : -3.0;
            bands[k].q = 0.71 + 0.5 * k;
            bands[k].type = k == 0 ? kLowShelf : (k == 11 ? kHighShelf : kPeak);
            bands[k].recompute();
            state.bandEnabled[k] = 1;
        }
        SetOutputGain(state, -1.5);
    }
};

struct Block {
    std::vector<double> in[2], out[2];
    explicit Block(int frames) {
        for (int c = 0; c < 2; ++c) {
            in[c].resize(static_cast<size_t>(frames));
            out[c].resize(static_cast<size_t>(frames));
            for (int n = 0; n < frames; ++n) in[c][static_cast<size_t>(n)] = std::sin(0.01 * n + c);
        }
    }
};

int Frames(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

// Seconds per stereo frame (shown scaled, e.g. "22.1ns").
void ReportPerFrame(benchmark::State& state) {
    state.counters["per_stereo_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Frames(state),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The plug-in's own hook, as the host frame calls it: twelve bands on, bypass off.
void BM_ProcessBlock(benchmark::State& state, VectorPath path) {
    if (!ForceVectorPath(path)) {
        state.SkipWithError("this processor cannot run the path");
        return;
    }
    const int frames = Frames(state);
    auto plugin = testing_support::MakeOpenPlugin(48000.0, kLongestBlock);
    const Bank settings;
    for (int k = 0; k < kBandCount; ++k) plugin->Model()->band(k + 1) = settings.bands[k];
    Block block(frames);
    double* in[2] = {block.in[0].data(), block.in[1].data()};
    double* out[2] = {block.out[0].data(), block.out[1].data()};
    for (auto _ : state) {
        plugin->ProcessBlock(in, out, frames);
        benchmark::DoNotOptimize(block.out[0].data());
    }
    ReportPerFrame(state);
}

void BM_PlainPerSampleReference(benchmark::State& state) {
    const int frames = Frames(state);
    Bank bank;
    Block block(frames);
    const double* in[2] = {block.in[0].data(), block.in[1].data()};
    double* out[2] = {block.out[0].data(), block.out[1].data()};
    for (auto _ : state) {
        FlushToZeroGuard guard;
        reference::ProcessBank(bank.bands, bank.state, in, out, frames);
        benchmark::DoNotOptimize(block.out[0].data());
    }
    ReportPerFrame(state);
}

// With --benchmark_repetitions, "min" is the figure to quote on a shared machine: the other
// repetitions were slowed by other processes.
void BlockSizes(benchmark::internal::Benchmark* benchmark) {
    for (int frames : {32, 64, 128, 512, kLongestBlock}) benchmark->Arg(frames);
    benchmark->ComputeStatistics("min", [](const std::vector<double>& values) {
        return *std::min_element(values.begin(), values.end());
    });
}

BENCHMARK(BM_PlainPerSampleReference)->Apply(BlockSizes);
BENCHMARK_CAPTURE(BM_ProcessBlock, sse2, VectorPath::kSse2)->Apply(BlockSizes);
BENCHMARK_CAPTURE(BM_ProcessBlock, avx2, VectorPath::kAvx2)->Apply(BlockSizes);
BENCHMARK_CAPTURE(BM_ProcessBlock, avx512, VectorPath::kAvx512)->Apply(BlockSizes);

}  // namespace
}  // namespace corvalen
