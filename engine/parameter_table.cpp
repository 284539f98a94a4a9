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
// clang-format off
constexpr std::array<double, kBandCount> kDefaultBandFrequencies = {
    20.0, 72.6497, 144.388, 263.301, 462.128, 794.981,
    1352.78, 2289.41, 3866.88, 6534.13, 11065.5, 18805.9};
// clang-format on

namespace {
// Every band has the same switch and the same ranges; only the frequency's default differs.
constexpr ParamTableEntry BandSwitchRow(const char* name) {
    return {name, Switch, 0.0, 1.0, 1.0, 0, "", 0.0, false, "OFF", "ON"};
}
constexpr ParamTableEntry BandFrequencyRow(const char* name, int band) {
    const double defaultHz = kDefaultBandFrequencies[static_cast<std::size_t>(band)];
    // clang-format off
    return {name, Shaped, 20.0, 20000.0, defaultHz, 2, "Hz", kFrequencyShape, false,
            nullptr, nullptr};
    // clang-format on
}
constexpr ParamTableEntry BandGainRow(const char* name) {
    return {name, Linear, -24.0, 24.0, 0.0, 1, "dB", 0.0, false, nullptr, nullptr};
}
constexpr ParamTableEntry BandQualityRow(const char* name) {
    return {name, Shaped, 0.3, 12.0, 0.71, 2, "", kQualityShape, false, nullptr, nullptr};
}
}  // namespace

// The rows keep the layout their authors gave them: three bands to a line, one row per value.
// clang-format off
constexpr std::array<ParamTableEntry, param::kCount> kParameterTable = {{
    // name, kind, minimum, maximum, default, precision, label, shape, excluded, text0, text1
    BandSwitchRow("f1_btn"), BandSwitchRow("f2_btn"), BandSwitchRow("f3_btn"),
    BandSwitchRow("f4_btn"), BandSwitchRow("f5_btn"), BandSwitchRow("f6_btn"),
    BandSwitchRow("f7_btn"), BandSwitchRow("f8_btn"), BandSwitchRow("f9_btn"),
    BandSwitchRow("f10_btn"), BandSwitchRow("f11_btn"), BandSwitchRow("f12_btn"),
    // The graph layers are a view setting, not part of a sound: presets leave them alone.
    {"EQ_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"FR_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"FRyEQ_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"TARGET_grafico", Switch, 0.0, 1.0, 1.0, 0, "", 0.0, true, "OFF", "ON"},
    {"TipoF1", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "Peak", "LowShelf"},
    // Band 12 is a high shelf at 0 and a peak at 1 (stored projects carry the value, so the
    // mapping stays); the texts name what the band does.
    {"TipoF12", Switch, 0.0, 1.0, 0.0, 0, "", 0.0, false, "HighShelf", "Peak"},
    BandFrequencyRow("f1Freq", 0), BandGainRow("f1Gain"), BandQualityRow("f1Q"),
    BandFrequencyRow("f2Freq", 1), BandGainRow("f2Gain"), BandQualityRow("f2Q"),
    BandFrequencyRow("f3Freq", 2), BandGainRow("f3Gain"), BandQualityRow("f3Q"),
    BandFrequencyRow("f4Freq", 3), BandGainRow("f4Gain"), BandQualityRow("f4Q"),
    BandFrequencyRow("f5Freq", 4), BandGainRow("f5Gain"), BandQualityRow("f5Q"),
    BandFrequencyRow("f6Freq", 5), BandGainRow("f6Gain"), BandQualityRow("f6Q"),
    BandFrequencyRow("f7Freq", 6), BandGainRow("f7Gain"), BandQualityRow("f7Q"),
    BandFrequencyRow("f8Freq", 7), BandGainRow("f8Gain"), BandQualityRow("f8Q"),
    BandFrequencyRow("f9Freq", 8), BandGainRow("f9Gain"), BandQualityRow("f9Q"),
    BandFrequencyRow("f10Freq", 9), BandGainRow("f10Gain"), BandQualityRow("f10Q"),
    BandFrequencyRow("f11Freq", 10), BandGainRow("f11Gain"), BandQualityRow("f11Q"),
    BandFrequencyRow("f12Freq", 11), BandGainRow("f12Gain"), BandQualityRow("f12Q"),
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
// clang-format on

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
