#include "engine/parameter_table.h"

#include "shell/linear_param.h"
#include "shell/shaped_param.h"
#include "shell/switch_param.h"

namespace corvalen {

namespace {
constexpr ParamTableKind Switch = ParamTableKind::Switch;
constexpr ParamTableKind Linear = ParamTableKind::Linear;
constexpr ParamTableKind Shaped = ParamTableKind::Shaped;

constexpr bool SameText(const char* a, const char* b) {
  for (; *a != '\0' && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}
}  // namespace

// Stored as these decimal constants (not as a computed series), so saved projects and the
// display of an untouched band stay exactly as they have always been.
constexpr std::array<double, kBandCount> kDefaultBandFrequencies = {
    20.0, 72.6497, 144.388, 263.301, 462.128, 794.981,
    1352.78, 2289.41, 3866.88, 6534.13, 11065.5, 18805.9};

constexpr std::array<ParamTableEntry, param::kCount> kParameterTable = {{
    // name, kind, minimum, maximum, default, precision, label, shape, excluded, text0, text1
    {"f1_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f2_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f3_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f4_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f5_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f6_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f7_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f8_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f9_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f10_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f11_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    {"f12_btn", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"},
    // The graph layers are a view setting, not part of a sound: presets leave them alone.
    {"EQ_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"FR_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"FRyEQ_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"TARGET_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"TipoF1", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "Peak", "LowShelf"},
    // Band 12 is a high shelf at 0 and a peak at 1 (stored projects carry the value, so the
    // mapping stays); the texts name what the band does.
    {"TipoF12", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "HighShelf", "Peak"},
    {"f1Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[0], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f1Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f1Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f2Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[1], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f2Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f2Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f3Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[2], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f3Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f3Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f4Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[3], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f4Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f4Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f5Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[4], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f5Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f5Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f6Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[5], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f6Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f6Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f7Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[6], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f7Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f7Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f8Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[7], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f8Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f8Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f9Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[8], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f9Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f9Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f10Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[9], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f10Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f10Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f11Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[10], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f11Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f11Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    {"f12Freq", Shaped, 20.0, 20000.0, kDefaultBandFrequencies[11], 2, "Hz", kFrequencyShape, false, nullptr, nullptr},
    {"f12Gain", Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"f12Q", Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr},
    // Triggers: every handled change of FR_file reloads the measurement, a non-zero unloadFR
    // unloads it.
    {"FR_file", Linear, 0.0, 1.0, 0.0, 1, "", 0.0, false, nullptr, nullptr},
    {"separator", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "comma", "tab"},
    {"targetResponses", Linear, 0.0, 120.0, 0.0, 1, "", 0.0, false, nullptr, nullptr},
    {"unloadFR", Linear, 0.0, 1.0, 0.0, 1, "", 0.0, false, nullptr, nullptr},
    {"out", Linear, -12.0, 12.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr},
    {"bypassEQ", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "OFF", "ON"},
    {"splashScreen", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "OFF", "ON"},
}};

static_assert(kParameterTable.size() == 61, "the host sees exactly 61 parameters");
static_assert(SameText(kParameterTable[param::BandFrequency(0)].name, "f1Freq"));
static_assert(SameText(kParameterTable[param::BandQuality(11)].name, "f12Q"));
static_assert(SameText(kParameterTable[param::kFrFile].name, "FR_file"));
static_assert(SameText(kParameterTable[param::kSplashScreen].name, "splashScreen"));
// The index constants follow the band count: a switch per band, then three values per band.
static_assert(param::BandSwitch(kBandCount - 1) + 1 == param::kEqGraph);
static_assert(param::BandQuality(kBandCount - 1) + 1 == param::kFrFile);

void AppendParameters(std::vector<std::unique_ptr<ParamSpec>>& list) {
  for (const ParamTableEntry& row : kParameterTable) {
    std::unique_ptr<ParamSpec> parameter;
    switch (row.kind) {
      case ParamTableKind::Switch:
        parameter = std::make_unique<SwitchParam>(row.name, row.defaultValue != 0.0 ? 1 : 0,
                                                  row.text0, row.text1);
        break;
      case ParamTableKind::Linear:
        parameter = std::make_unique<LinearParam>(row.name, row.defaultValue, row.minimum,
                                                  row.maximum, row.precision, row.label);
        break;
      case ParamTableKind::Shaped:
        parameter = std::make_unique<ShapedParam>(row.shape, row.name, row.defaultValue,
                                                  row.minimum, row.maximum, row.label);
        break;
    }
    if (row.excluded) {
      parameter->SetFlags(parameter->Flags() | ParamSpec::kExcludedFromSnapshot);
    }
    list.push_back(std::move(parameter));
  }
}

}  // namespace corvalen
