// Loading a 10,000-line measurement file: two passes over the file and the resampling onto
// the 800-point grid.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/measurement_reader.h"
#include "long_measurement_file.h"

namespace corvalen {
namespace {

void BM_LoadMeasurement10000Lines(benchmark::State& state) {
    const std::string path = testing::WriteLongMeasurementFile("measurement.csv");
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
