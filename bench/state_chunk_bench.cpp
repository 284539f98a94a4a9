// What saving and restoring the state costs the host (and the audio thread, which waits for
// the instance lock meanwhile). Setting a chunk includes the full parameter pass.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "shell/plugin_entry.h"
#include "shell/vst2_abi.h"
#include "tools/host/vst_host.h"

namespace {

using corvalen::host::VstHost;

void OpenProduct(VstHost& host) {
    host.Open([](corvalen::vst2::HostCallback callback) {
        return corvalen::CreateEffect(callback, &corvalen::CreatePluginObject);
    });
}

std::vector<unsigned char> Saved(VstHost& host, int32_t index) {
    void* data = nullptr;
    const intptr_t length = host.Dispatch(corvalen::vst2::effGetChunk, index, 0, &data);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + length);
}

void GetChunk(benchmark::State& state) {
    VstHost host;
    OpenProduct(host);
    const auto index = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        void* data = nullptr;
        benchmark::DoNotOptimize(host.Dispatch(corvalen::vst2::effGetChunk, index, 0, &data));
    }
}

void SetChunk(benchmark::State& state) {
    VstHost host;
    OpenProduct(host);
    const auto index = static_cast<int32_t>(state.range(0));
    std::vector<unsigned char> chunk = Saved(host, index);
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.Dispatch(corvalen::vst2::effSetChunk, index,
                                               static_cast<intptr_t>(chunk.size()), chunk.data()));
    }
}

void SwitchPreset(benchmark::State& state) {
    VstHost host;
    OpenProduct(host);
    intptr_t next = 0;
    for (auto _ : state) {
        next = (next + 1) % 16;
        host.Dispatch(corvalen::vst2::effSetProgram, 0, next);
    }
}

// Argument: 1 program chunk, 0 bank chunk.
BENCHMARK(GetChunk)->Arg(1)->Arg(0);
BENCHMARK(SetChunk)->Arg(1)->Arg(0);
BENCHMARK(SwitchPreset);

}  // namespace
