// The audio path at 48 kHz in 512-frame blocks with all twelve bands on, next to the bank
// written straight from its per-sample formula. Counters report nanoseconds per stereo frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/eq_bank_processor.h"
#include "engine/flush_to_zero_guard.h"
#include "open_plugin.h"
#include "reference_bank.h"

namespace corvalen {
namespace {

constexpr int kFrames = 512;

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
    state.outputGainDb = -1.5;
  }
};

struct Block {
  std::vector<double> in[2], out[2];
  Block() {
    for (int c = 0; c < 2; ++c) {
      in[c].resize(kFrames);
      out[c].resize(kFrames);
      for (int n = 0; n < kFrames; ++n) in[c][static_cast<size_t>(n)] = std::sin(0.01 * n + c);
    }
  }
};

// Seconds per stereo frame (shown scaled, e.g. "22.1ns").
void ReportPerFrame(benchmark::State& state) {
  state.counters["per_stereo_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The plug-in's own hook, as the host frame calls it: twelve bands on, bypass off.
void BM_ProcessBlock(benchmark::State& state) {
  auto plugin = testing_support::MakeOpenPlugin(48000.0, kFrames);
  const Bank settings;
  for (int k = 0; k < kBandCount; ++k) {
    EqBand& band = plugin->Model()->band(k + 1);
    band = settings.bands[k];
  }
  Block block;
  double* in[2] = {block.in[0].data(), block.in[1].data()};
  double* out[2] = {block.out[0].data(), block.out[1].data()};
  for (auto _ : state) {
    plugin->ProcessBlock(in, out, kFrames);
    benchmark::DoNotOptimize(block.out[0].data());
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_ProcessBlock);

void BM_PlainPerSampleReference(benchmark::State& state) {
  Bank bank;
  Block block;
  const double* in[2] = {block.in[0].data(), block.in[1].data()};
  double* out[2] = {block.out[0].data(), block.out[1].data()};
  for (auto _ : state) {
    FlushToZeroGuard guard;
    reference::ProcessBank(bank.bands, bank.state, in, out, kFrames);
    benchmark::DoNotOptimize(block.out[0].data());
  }
  ReportPerFrame(state);
}
BENCHMARK(BM_PlainPerSampleReference);

}  // namespace
}  // namespace corvalen
