#include "tools/host/demo.h"

#include <vector>

#include "tools/host/signal_levels.h"
#include "tools/host/vst_host.h"

namespace corvalen::host {
namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlockSize = 512;
constexpr int kSignalFrames = 4800;  // 100 ms

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
    const int frames = static_cast<int>(std::min<std::size_t>(kBlockSize, signal.size() - offset));
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
  std::fprintf(out, "  %-14s %-22s in peak %7.2f dBFS rms %7.2f dBFS | out peak %7.2f dBFS rms %7.2f dBFS\n",
               what, path, ForPrinting(in.peakDb), ForPrinting(in.rmsDb),
               ForPrinting(result.peakDb), ForPrinting(result.rmsDb));
}

void PrintAudio(VstHost& host, std::FILE* out) {
  std::fprintf(out, "\nAudio (%.0f Hz, blocks of %d, %d frames, left channel)\n", kSampleRate,
               kBlockSize, kSignalFrames);
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
  host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
  host.Dispatch(vst2::effSetBlockSize, 0, kBlockSize);
  host.Dispatch(vst2::effMainsChanged, 0, 1);
  PrintParameters(host, out);
  PrintAudio(host, out);
  host.Dispatch(vst2::effMainsChanged, 0, 0);
  host.Close();
  std::fprintf(out, "\nClosed.\n");
  return 0;
}

}  // namespace corvalen::host
