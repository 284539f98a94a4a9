// Loading a 10,000-line measurement file: two passes over the file and the resampling onto
// the 800-point grid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/measurement_reader.h"
#include "temp_folder.h"

namespace corvalen {
namespace {

std::string WriteMeasurementFile() {
    const std::string path = testing::TestTempPath("measurement.csv");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return path;
    std::fputs("frequency,raw\n", file);
    for (int i = 0; i < 9999; ++i) {
        const double hz = 20.0 * std::pow(1000.0, i / 9998.0);
        std::fprintf(file, "%.4f,%.3f\n", hz, 80.0 + 6.0 * std::sin(i * 0.01));
    }
    std::fclose(file);
    return path;
}

void BM_LoadMeasurement10000Lines(benchmark::State& state) {
    const std::string path = WriteMeasurementFile();
    EngineState engine;
    ResponseModel model(engine, path);
    for (auto _ : state) {
        LoadMeasurement(model, path);
        benchmark::DoNotOptimize(model.frCurve()[400]);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadMeasurement10000Lines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvalen
