#include "tools/host/demo.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "tools/host/signal_levels.h"
#include "tools/host/vst_host.h"

namespace corvalen::host {
namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSize = 512;
constexpr int kSignalFrames = 4800;  // 100 ms

// Parameters the demo sets: band 6's frequency and gain, the output level.
constexpr int kBand6Frequency = 33;
constexpr int kBand6Gain = 34;
constexpr int kOutputLevel = 58;
constexpr double kTolerance = 0.05;  // dB

std::string FourChars(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((code >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '.';
    }
    return text;
}

void PrintIdentity(VstHost& host, std::FILE* out) {
    const EffectRecord* effect = host.Effect();
    std::fprintf(out, "Plug-in\n");
    std::fprintf(out, "  name        %s\n", host.DispatchText(vst2::effGetEffectName).c_str());
    std::fprintf(out, "  vendor      %s\n", host.DispatchText(vst2::effGetVendorString).c_str());
    std::fprintf(out, "  version     %d\n", effect->version);
    std::fprintf(out, "  unique id   %s (0x%08X)\n", FourChars(effect->uniqueID).c_str(),
                 static_cast<unsigned>(effect->uniqueID));
    std::fprintf(out, "  flags       0x%X\n", static_cast<unsigned>(effect->flags));
    std::fprintf(out, "  parameters  %d, programs %d, inputs %d, outputs %d\n", effect->numParams,
                 effect->numPrograms, effect->numInputs, effect->numOutputs);
}

void PrintParameters(VstHost& host, std::FILE* out) {
    const int count = host.Effect()->numParams;
    std::fprintf(out, "\nParameters\n  %5s  %-16s %-12s %-6s %s\n", "index", "name", "display",
                 "label", "normalised");
    for (int i = 0; i < count; ++i) {
        std::fprintf(out, "  %5d  %-16s %-12s %-6s %.6f\n", i,
                     host.DispatchText(vst2::effGetParamName, i).c_str(),
                     host.DispatchText(vst2::effGetParamDisplay, i).c_str(),
                     host.DispatchText(vst2::effGetParamLabel, i).c_str(),
                     static_cast<double>(host.GetParameter(i)));
    }
}

// Two channels of the same signal through one of the replacing callbacks, block by block;
// answers the left output.
template <typename Sample, typename Callback>
std::vector<Sample> Run(const std::vector<double>& signal, Callback&& process) {
    std::vector<Sample> left(signal.begin(), signal.end());
    std::vector<Sample> right = left;
    std::vector<Sample> outLeft(signal.size()), outRight(signal.size());
    for (std::size_t offset = 0; offset < signal.size(); offset += kBlockSize) {
        const int frames =
            static_cast<int>(std::min<std::size_t>(kBlockSize, signal.size() - offset));
        Sample* inputs[2] = {left.data() + offset, right.data() + offset};
        Sample* outputs[2] = {outLeft.data() + offset, outRight.data() + offset};
        process(inputs, outputs, frames);
    }
    return outLeft;
}

std::vector<float> RunFloat(VstHost& host, const std::vector<double>& signal) {
    return Run<float>(signal, [&](float** in, float** out, int frames) {
        host.ProcessReplacing(in, out, frames);
    });
}

std::vector<double> RunDouble(VstHost& host, const std::vector<double>& signal) {
    return Run<double>(signal, [&](double** in, double** out, int frames) {
        host.ProcessDoubleReplacing(in, out, frames);
    });
}

// Levels a hair below full scale would print as -0.00.
double ForPrinting(double db) { return (db < 0.0 && db > -0.005) ? 0.0 : db; }

void PrintLevels(std::FILE* out, const char* what, const char* path, Levels in, Levels result) {
    std::fprintf(out, "  %-12s %-24s %6.2f / %6.2f   %6.2f / %6.2f\n", what, path,
                 ForPrinting(in.peakDb), ForPrinting(in.rmsDb), ForPrinting(result.peakDb),
                 ForPrinting(result.rmsDb));
}

void PrintPassThrough(VstHost& host, std::FILE* out) {
    std::fprintf(out,
                 "\nAudio before the host sets a sample rate and block size: passed through "
                 "unchanged\n  (%d frames in blocks of %d, left channel; peak / rms in dBFS)\n"
                 "  %-12s %-24s %-18s %s\n",
                 kSignalFrames, kBlockSize, "signal", "callback", "in", "out");
    const std::vector<double> sine = MakeSine(1000.0, kSampleRate, 0.5, kSignalFrames);
    const std::vector<double> impulse = MakeImpulse(kSignalFrames);
    const Levels sineIn = MeasureLevels(sine);
    const Levels impulseIn = MeasureLevels(impulse);
    PrintLevels(out, "1 kHz sine", "processReplacing", sineIn, MeasureLevels(RunFloat(host, sine)));
    PrintLevels(out, "1 kHz sine", "processDoubleReplacing", sineIn,
                MeasureLevels(RunDouble(host, sine)));
    PrintLevels(out, "impulse", "processReplacing", impulseIn,
                MeasureLevels(RunFloat(host, impulse)));
    PrintLevels(out, "impulse", "processDoubleReplacing", impulseIn,
                MeasureLevels(RunDouble(host, impulse)));
}

// The rms level of the second half of a run, once the filters have settled; the sines hold
// whole periods there.
double SettledRmsDb(const std::vector<double>& samples) {
    const auto half = static_cast<std::ptrdiff_t>(samples.size() / 2);
    const std::vector<double> tail(samples.begin() + half, samples.end());
    return MeasureLevels(tail).rmsDb;
}

// Types a value into a parameter as a host's text field does and answers its display text.
std::string SetByText(VstHost& host, int index, const char* text) {
    std::string typed = text;
    host.Dispatch(vst2::effString2Parameter, index, 0, typed.data());
    return host.DispatchText(vst2::effGetParamDisplay, index);
}

struct EqualiserRow {
    double changeAt1k = 0.0;  // dB, output rms minus input rms
    double changeAt100 = 0.0;
};

EqualiserRow PrintEqualiserRow(VstHost& host, std::FILE* out, const std::string& setting) {
    const std::vector<double> sine1k = MakeSine(1000.0, kSampleRate, 0.5, 2 * kSignalFrames);
    const std::vector<double> sine100 = MakeSine(100.0, kSampleRate, 0.5, 2 * kSignalFrames);
    const double in1k = SettledRmsDb(sine1k);
    const double in100 = SettledRmsDb(sine100);
    const double out1k = SettledRmsDb(RunDouble(host, sine1k));
    const double out100 = SettledRmsDb(RunDouble(host, sine100));
    const EqualiserRow row{out1k - in1k, out100 - in100};
    std::fprintf(out, "  %-24s %6.2f dBFS (%+5.2f dB)   %6.2f dBFS (%+5.2f dB)\n", setting.c_str(),
                 ForPrinting(out1k), ForPrinting(row.changeAt1k), ForPrinting(out100),
                 ForPrinting(row.changeAt100));
    return row;
}

// Answers whether the band and the output level changed the 1 kHz sine as set.
bool PrintEqualiser(VstHost& host, std::FILE* out) {
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    host.Dispatch(vst2::effSetBlockSize, 0, kBlockSize);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    std::fprintf(out,
                 "\nEqualiser, once the host has set %.0f Hz and blocks of %d\n"
                 "  (sines of amplitude 0.5 through processDoubleReplacing; rms of the last %d "
                 "frames)\n  %-24s %-22s   %s\n",
                 kSampleRate, kBlockSize, kSignalFrames, "setting", "1 kHz sine", "100 Hz sine");
    const EqualiserRow flat = PrintEqualiserRow(host, out, "all bands at 0 dB");

    const std::string frequency = SetByText(host, kBand6Frequency, "1000");
    const std::string gain = SetByText(host, kBand6Gain, "6");
    const EqualiserRow band =
        PrintEqualiserRow(host, out, "f6 " + frequency + " Hz " + gain + " dB");

    const std::string level = SetByText(host, kOutputLevel, "-6");
    const EqualiserRow lowered = PrintEqualiserRow(host, out, "and out " + level + " dB");

    // A peak band lifts its own frequency by exactly its gain; the output level moves all.
    const bool ok = std::fabs(flat.changeAt1k) < kTolerance &&
                    std::fabs(band.changeAt1k - 6.0) < kTolerance &&
                    std::fabs(lowered.changeAt1k - (band.changeAt1k - 6.0)) < kTolerance &&
                    std::fabs(lowered.changeAt100 - (band.changeAt100 - 6.0)) < kTolerance;
    std::fprintf(out, "  %s\n",
                 ok ? "as set: band 6 lifts 1 kHz by 6 dB, the output level takes 6 dB off both"
                    : "FAILED: the levels do not follow the settings");
    host.Dispatch(vst2::effMainsChanged, 0, 0);
    return ok;
}

}  // namespace

int RunDemo(const std::string& pluginPath, std::FILE* out) {
    VstHost host;
    if (!host.Load(pluginPath)) {
        std::fprintf(out, "cannot load %s: %s\n", pluginPath.c_str(), host.LastError().c_str());
        return 1;
    }
    // Like a DAW with long parameter texts: announce them before asking for any.
    host.Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>("hasCockosExtensions"));
    PrintIdentity(host, out);
    host.Dispatch(vst2::effOpen);
    PrintParameters(host, out);
    PrintPassThrough(host, out);
    const bool equaliserOk = PrintEqualiser(host, out);
    host.Close();
    std::fprintf(out, "\nClosed.\n");
    return equaliserOk ? 0 : 1;
}

}  // namespace corvalen::host
