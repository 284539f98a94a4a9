// The bench command: the real DLL's audio callbacks with twelve bands on at 48 kHz, once per
// vector path this processor can run (each in a freshly loaded DLL, which chooses its path when
// it loads), next to the bank written from its per-sample formula compiled into this program.
#include "tools/host/bench_command.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/eq_band.h"
#include "engine/flush_to_zero_guard.h"
#include "engine/parameter_table.h"
#include "engine/vector_path.h"
#include "reference_bank.h"
#include "shell/parameter.h"
#include "tools/host/plugin_library.h"
#include "tools/host/vst_host.h"

namespace corvalen::host {
namespace {

constexpr double kRate = 48000.0;
constexpr int kBlockSizes[] = {32, 64, 128, 512, 2048};
constexpr int kLongestBlock = 2048;
constexpr int kFramesPerRound = 1 << 18;  // about 2 to 40 ms of work per round
constexpr int kRounds = 9;                // the fastest round counts: others were interrupted

// Twelve bands on, alternately lifted and cut, a low shelf first and a high shelf last.
void SetBands(VstHost& host) {
    host.SetParameter(param::kTypeBand1, 1.0f);
    host.SetParameter(param::kTypeBand12, 0.0f);
    for (int k = 0; k < kBandCount; ++k) {
        host.SetParameter(param::BandSwitch(k), 1.0f);
        host.SetParameter(param::BandGain(k), k % 2 == 0 ? 0.6f : 0.4f);
        host.SetParameter(param::BandFrequency(k), static_cast<float>(k) / 11.0f);
        host.SetParameter(param::BandQuality(k), 0.3f);
    }
    host.SetParameter(param::kOut, 0.45f);
}

// The same bank as the parameters describe it, tuned by the band's own formulas.
struct ReferenceBank {
    EqBand bands[kBandCount];
    EngineState state;

    explicit ReferenceBank(VstHost& host) {
        std::vector<std::unique_ptr<ParamSpec>> params;
        AppendParameters(params);
        auto value = [&](int index) {
            params[static_cast<std::size_t>(index)]->SetNormalised(
                static_cast<double>(host.GetParameter(index)));
            return params[static_cast<std::size_t>(index)]->Value();
        };
        reference::TuneFromParameters(bands, state, kRate, value);
    }
};

template <class Sample>
struct Buffers {
    std::vector<Sample> in[2], out[2];
    Sample* inputs[2];
    Sample* outputs[2];
    explicit Buffers(int frames) {
        for (int c = 0; c < 2; ++c) {
            in[c].resize(static_cast<std::size_t>(frames));
            out[c].assign(static_cast<std::size_t>(frames), Sample(0));
            for (int n = 0; n < frames; ++n) {
                in[c][static_cast<std::size_t>(n)] =
                    static_cast<Sample>(0.5 * std::sin(0.013 * n + c));
            }
            inputs[c] = in[c].data();
            outputs[c] = out[c].data();
        }
    }
};

// Nanoseconds per stereo frame of `block(frames)`: the fastest of several rounds.
template <class Block>
double TimePerFrame(int frames, Block&& block) {
    const int blocks = std::max(1, kFramesPerRound / frames);
    for (int i = 0; i < 16; ++i) block();  // warm caches and branch predictors
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < blocks; ++i) block();
        const auto stop = std::chrono::steady_clock::now();
        const double ns = std::chrono::duration<double, std::nano>(stop - start).count();
        best = std::min(best, ns / (static_cast<double>(blocks) * frames));
    }
    return best;
}

struct PathFigures {
    double doubleNs[std::size(kBlockSizes)] = {};
    double floatNs[std::size(kBlockSizes)] = {};
    // The double callback with the bands bypassed: the frame around the filters (the call, the
    // instance lock, the flush-to-zero guard, the gain), per block of 32 and of 512 frames.
    double bypassedBlockNs[2] = {};
    bool sameBits = false;
};

// Loads the DLL afresh with `path` requested, checks its output against the reference, times
// its callbacks. False with a reason when the DLL cannot be used.
bool MeasurePath(const std::string& dll, VectorPath path, PathFigures& figures, std::FILE* out) {
    const std::string windowsPath = ToWindowsPath(dll);
    if (GetModuleHandleA(windowsPath.c_str()) != nullptr) {
        std::fprintf(out, "the DLL is still loaded: it would keep the path it chose before\n");
        return false;
    }
    const std::string setting = std::string(kVectorPathVariable) + "=" + VectorPathName(path);
    _putenv(setting.c_str());
    VstHost host;
    if (!host.Load(dll)) {
        std::fprintf(out, "cannot load %s: %s\n", dll.c_str(), host.LastError().c_str());
        return false;
    }
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    host.Dispatch(vst2::effSetBlockSize, 0, kLongestBlock);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    SetBands(host);

    {
        ReferenceBank reference(host);
        Buffers<double> dll512(512), ref512(512);
        host.ProcessDoubleReplacing(dll512.inputs, dll512.outputs, 512);
        FlushToZeroGuard guard;
        reference::ProcessBank(reference.bands, reference.state, ref512.inputs, ref512.outputs,
                               512);
        figures.sameBits =
            std::memcmp(dll512.out[0].data(), ref512.out[0].data(), sizeof(double) * 512) == 0 &&
            std::memcmp(dll512.out[1].data(), ref512.out[1].data(), sizeof(double) * 512) == 0;
    }
    for (std::size_t i = 0; i < std::size(kBlockSizes); ++i) {
        const int frames = kBlockSizes[i];
        Buffers<double> d(frames);
        figures.doubleNs[i] =
            TimePerFrame(frames, [&] { host.ProcessDoubleReplacing(d.inputs, d.outputs, frames); });
        Buffers<float> f(frames);
        figures.floatNs[i] =
            TimePerFrame(frames, [&] { host.ProcessReplacing(f.inputs, f.outputs, frames); });
    }
    host.SetParameter(param::kBypassEq, 1.0f);
    for (int i = 0; i < 2; ++i) {
        const int frames = i == 0 ? 32 : 512;
        Buffers<double> d(frames);
        figures.bypassedBlockNs[i] = frames * TimePerFrame(frames, [&] {
                                         host.ProcessDoubleReplacing(d.inputs, d.outputs, frames);
                                     });
    }
    return true;
}

}  // namespace

int RunBench(const std::string& pluginPath, std::FILE* out) {
    // The literal formula, compiled into this program, on the bank the DLL is given.
    double referenceNs[std::size(kBlockSizes)] = {};
    {
        VstHost host;
        if (!host.Load(pluginPath)) {
            std::fprintf(out, "cannot load %s: %s\n", pluginPath.c_str(), host.LastError().c_str());
            return 1;
        }
        host.Dispatch(vst2::effOpen);
        SetBands(host);
        ReferenceBank reference(host);
        for (std::size_t i = 0; i < std::size(kBlockSizes); ++i) {
            const int frames = kBlockSizes[i];
            Buffers<double> d(frames);
            referenceNs[i] = TimePerFrame(frames, [&] {
                FlushToZeroGuard guard;
                reference::ProcessBank(reference.bands, reference.state, d.inputs, d.outputs,
                                       frames);
            });
        }
    }

    std::fprintf(out,
                 "%s, 48 kHz, twelve bands on: ns per stereo frame (ratio: the formula's "
                 "time over the DLL's)\n",
                 pluginPath.c_str());
    std::fprintf(out, "%-9s %-8s", "path", "callback");
    for (int frames : kBlockSizes) std::fprintf(out, " %15d", frames);
    std::fprintf(out, "\n%-9s %-8s", "formula", "-");
    // The formula's gain is a pow per sample; this C runtime's pow is what the DLL has too.
    double powNs = 0.0;
    {
        volatile double exponent = -0.0375;
        volatile double sink = 0.0;
        powNs = TimePerFrame(1024, [&] {
            for (int i = 0; i < 1024; ++i) sink = std::pow(10.0, exponent);
        });
        (void)sink;
    }
    for (double ns : referenceNs) std::fprintf(out, " %15.2f", ns);
    std::fprintf(out,
                 "\n(pow in this C runtime: %.1f ns per call; the formula makes two per frame)\n",
                 powNs);

    const VectorSupport support = DetectVectorSupport();
    int failures = 0;
    for (VectorPath path : {VectorPath::kSse2, VectorPath::kAvx2, VectorPath::kAvx512}) {
        if (!Supports(support, path)) {
            std::fprintf(out, "%-9s not supported by this processor\n", VectorPathName(path));
            continue;
        }
        PathFigures figures;
        if (!MeasurePath(pluginPath, path, figures, out)) return 1;
        for (int callback = 0; callback < 2; ++callback) {
            const double* ns = callback == 0 ? figures.doubleNs : figures.floatNs;
            std::fprintf(out, "%-9s %-8s", VectorPathName(path),
                         callback == 0 ? "double" : "float");
            for (std::size_t i = 0; i < std::size(kBlockSizes); ++i) {
                std::fprintf(out, " %7.2f (%5.1fx)", ns[i], referenceNs[i] / ns[i]);
            }
            std::fprintf(out, "\n");
        }
        std::fprintf(out,
                     "%-9s bands bypassed, double: %.0f ns per block of 32, %.0f per block of 512;"
                     " output %s\n",
                     VectorPathName(path), figures.bypassedBlockNs[0], figures.bypassedBlockNs[1],
                     figures.sameBits ? "bit for bit the formula's" : "DIFFERS from the formula");
        if (!figures.sameBits) ++failures;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace corvalen::host
