// A full automatic fit of the sample measurement: the twelve bands, their types and the output
// level, at the level that aligns the measurement with the target (what the editor's fit and
// `corvalen-preset fit --reference auto` do). The error before and after are reported beside the
// time.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>

#include "engine/file_access.h"
#include "engine/fit/correction_fit.h"
#include "engine/frequency_grid.h"
#include "engine/grid_resampler.h"
#include "engine/measurement_reader.h"

namespace corvalen {
namespace {

struct SampleCurve {
    std::array<double, kGridPoints> hz{};
    std::array<double, kGridPoints> levelDb{};
    SampleCurve() {
        for (int i = 0; i < kGridPoints; ++i)
            hz[static_cast<std::size_t>(i)] = GridFrequency(i, kGridPoints);
        FrequencyResponse points;
        if (std::FILE* file = OpenFileForReading(CORVALEN_SAMPLE_MEASUREMENT)) {
            ReadFrequencyResponse(file, SeparatorCharacter(0), points);
            std::fclose(file);
        }
        ResampleOntoGrid(points.data(), points.size(), hz.data(), kGridPoints, levelDb.data());
    }
};

void BM_FitSampleMeasurement(benchmark::State& state) {
    static const SampleCurve curve;
    FitRequest request;
    request.measuredDb = curve.levelDb.data();
    request.gridHz = curve.hz.data();
    request.points = kGridPoints;
    request.referenceDb = AlignedReferenceLevel(request.measuredDb, request.gridHz, kGridPoints);
    request.sampleRate = static_cast<double>(state.range(0));
    FitResult fit;
    for (auto _ : state) {
        fit = FitCorrection(request);
        benchmark::DoNotOptimize(fit.bands[0].gainDb);
    }
    state.counters["before_rms_dB"] = fit.before.rmsDb;
    state.counters["after_rms_dB"] = fit.after.rmsDb;
    state.counters["after_max_dB"] = fit.after.maxDb;
}
BENCHMARK(BM_FitSampleMeasurement)
    ->Arg(44100)
    ->Arg(48000)
    ->Arg(96000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvalen
