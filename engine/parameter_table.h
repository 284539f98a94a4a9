#pragma once
// The 61 parameters of the plug-in, in host index order. The index is the host's parameter
// number and the order of the values in every state chunk, so rows are never reordered.

#include <array>
#include <memory>
#include <vector>

#include "engine/engine_state.h"
#include "shell/parameter.h"

namespace corvalen {

// Steepness of the two exponential mappings: 2 ln(970 / 29) puts 600 Hz at the middle of the
// frequency knobs, 2 ln(92 / 7) puts 0.3 + 11.7 * 7 / 99 at the middle of the Q knobs.
inline constexpr double kFrequencyShape = 7.020000483021908;
inline constexpr double kQualityShape = 5.151756855987454;

enum class ParamTableKind { Switch, Linear, Shaped };

struct ParamTableEntry {
    const char* name;
    ParamTableKind kind;
    double minimum;
    double maximum;
    double defaultValue;
    int precision;      // decimals shown (continuous kinds; shaped ones always show 2)
    const char* label;  // unit label
    double shape;       // shaped kind only
    bool excluded;      // left out of preset snapshots
    const char* text0;  // switch kind: display text for 0
    const char* text1;  // switch kind: display text for 1
};

namespace param {
inline constexpr int kFirstBandSwitch = 0;  // f1_btn .. f12_btn
inline constexpr int kEqGraph = 12;
inline constexpr int kFrGraph = 13;
inline constexpr int kFrAndEqGraph = 14;
inline constexpr int kTargetGraph = 15;
inline constexpr int kTypeBand1 = 16;
inline constexpr int kTypeBand12 = 17;
inline constexpr int kFirstBandValue = 18;  // f1Freq, f1Gain, f1Q, f2Freq, ...
inline constexpr int kFrFile = 54;
inline constexpr int kSeparator = 55;
inline constexpr int kTargetResponses = 56;
inline constexpr int kUnloadFr = 57;
inline constexpr int kOut = 58;
inline constexpr int kBypassEq = 59;
inline constexpr int kSplashScreen = 60;
inline constexpr int kCount = 61;

// band counts from 0 (band 1) to 11 (band 12).
constexpr int BandSwitch(int band) { return kFirstBandSwitch + band; }
constexpr int BandFrequency(int band) { return kFirstBandValue + kValuesPerBand * band; }
constexpr int BandGain(int band) { return BandFrequency(band) + 1; }
constexpr int BandQuality(int band) { return BandFrequency(band) + 2; }
}  // namespace param

extern const std::array<ParamTableEntry, param::kCount> kParameterTable;

// Default band frequencies in hertz, band 1 to band 12.
extern const std::array<double, kBandCount> kDefaultBandFrequencies;

// Makes one ParamSpec per table row, in order, and appends it to `list`, with the
// snapshot-exclusion flag set on the rows marked excluded.
void AppendParameters(std::vector<std::unique_ptr<ParamSpec>>& list);

}  // namespace corvalen
