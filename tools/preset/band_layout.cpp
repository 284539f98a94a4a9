#include "tools/preset/band_layout.h"
#include "engine/engine_state.h"

#include <algorithm>
#include <cstddef>

#include "tools/preset/number_text.h"

namespace corvalen::preset {

namespace {

constexpr int kFirstBand = 0;
constexpr int kLastBand = kBandCount - 1;

const ParamTableEntry& Row(int index) { return kParameterTable[static_cast<std::size_t>(index)]; }

std::string AtLine(int line, const std::string& message) {
    return "line " + std::to_string(line) + ": " + message;
}

// The value inside the parameter's range; a value outside is set to the nearest limit and the
// change reported.
double Clamp(double value, const ParamTableEntry& row, const char* what, const char* unit, int line,
             std::vector<std::string>& warnings) {
    const double limit =
        value < row.minimum ? row.minimum : (value > row.maximum ? row.maximum : value);
    if (limit != value) {
        warnings.push_back(AtLine(line, std::string(what) + " " + ShortestDecimal(value) + unit +
                                            " is outside the equaliser's " +
                                            ShortestDecimal(row.minimum) + " to " +
                                            ShortestDecimal(row.maximum) + unit + "; set to " +
                                            ShortestDecimal(limit) + unit));
    }
    return limit;
}

// A band nothing has been placed on: the state of a new instance, switched off at 0 dB.
BandSetting UnusedBand(int band) {
    BandSetting unused;
    unused.on = false;
    unused.frequencyHz = kDefaultBandFrequencies[static_cast<std::size_t>(band)];
    unused.gainDb = 0.0;
    unused.q = Row(param::BandQuality(band)).defaultValue;
    // Band 12 of a new instance is a high shelf.
    unused.shape = band == kLastBand ? FilterShape::HighShelf : FilterShape::Peak;
    return unused;
}

// The filter's values as band `band` (from 0) holds them: each one inside the band's range.
// A peak's band is known only once all are sorted; it is checked against band 12's ranges,
// which every band shares.
BandSetting SettingOnBand(const ParametricFilter& filter, int band,
                          std::vector<std::string>& warnings) {
    BandSetting setting;
    setting.on = filter.on;
    setting.shape = filter.shape;
    setting.frequencyHz = Clamp(filter.frequencyHz, Row(param::BandFrequency(band)), "Fc", " Hz",
                                filter.line, warnings);
    setting.gainDb =
        Clamp(filter.gainDb, Row(param::BandGain(band)), "Gain", " dB", filter.line, warnings);
    setting.q = Clamp(filter.q, Row(param::BandQuality(band)), "Q", "", filter.line, warnings);
    return setting;
}

// Only band 1 can be a low shelf and only band 12 a high shelf.
std::string SecondShelfError(const ParametricFilter& filter, const ParametricFilter& first) {
    const int bandNumber = filter.shape == FilterShape::LowShelf ? 1 : kBandCount;
    const char* description = NamesOf(filter.shape).description;
    return AtLine(filter.line, std::string("a second ") + description + ": only band " +
                                   std::to_string(bandNumber) + " can be one, and it holds the " +
                                   description + " of line " + std::to_string(first.line));
}

}  // namespace

LayoutOutcome LayOutCorrection(const ParametricCorrection& correction) {
    LayoutOutcome outcome;
    PresetProgram& program = outcome.program;
    for (int band = kFirstBand; band <= kLastBand; ++band) {
        program.bands[static_cast<std::size_t>(band)] = UnusedBand(band);
    }

    const ParametricFilter* lowShelf = nullptr;
    const ParametricFilter* highShelf = nullptr;
    std::vector<BandSetting> peaks;
    int placed = 0;
    for (const ParametricFilter& filter : correction.filters) {
        if (!filter.on && filter.gainDb == 0.0) {
            outcome.warnings.push_back(AtLine(
                filter.line, "switched off at 0 dB, the filter does nothing and is left out"));
            continue;
        }
        if (++placed > kBandCount) {
            outcome.error = AtLine(filter.line, "filter number " + std::to_string(placed) +
                                                    " does not fit: the equaliser has " +
                                                    std::to_string(kBandCount) + " bands");
            return outcome;
        }
        const ParametricFilter*& shelf =
            filter.shape == FilterShape::LowShelf ? lowShelf : highShelf;
        if (filter.shape != FilterShape::Peak) {
            if (shelf != nullptr) {
                outcome.error = SecondShelfError(filter, *shelf);
                return outcome;
            }
            shelf = &filter;
        }

        const int band = filter.shape == FilterShape::LowShelf ? kFirstBand : kLastBand;
        const BandSetting setting = SettingOnBand(filter, band, outcome.warnings);
        if (filter.shape == FilterShape::Peak) {
            peaks.push_back(setting);
        } else {
            program.bands[static_cast<std::size_t>(band)] = setting;
        }
    }

    // Peaks go in frequency order (ties in file order) onto the bands the shelves leave.
    std::stable_sort(peaks.begin(), peaks.end(), [](const BandSetting& a, const BandSetting& b) {
        return a.frequencyHz < b.frequencyHz;
    });
    int band = lowShelf != nullptr ? kFirstBand + 1 : kFirstBand;
    for (const BandSetting& peak : peaks) {
        program.bands[static_cast<std::size_t>(band++)] = peak;
    }

    if (correction.preampDb) {
        program.outputDb = Clamp(*correction.preampDb, Row(param::kOut), "Preamp", " dB",
                                 correction.preampLine, outcome.warnings);
    }
    outcome.ok = true;
    return outcome;
}

ParametricCorrection DescribeProgram(const PresetProgram& program) {
    ParametricCorrection correction;
    correction.preampDb = program.outputDb;
    for (const BandSetting& band : program.bands) {
        if (IsUnused(band)) continue;
        ParametricFilter filter;
        filter.on = band.on;
        filter.shape = band.shape;
        filter.frequencyHz = band.frequencyHz;
        filter.gainDb = band.gainDb;
        filter.q = band.q;
        correction.filters.push_back(filter);
    }
    return correction;
}

}  // namespace corvalen::preset
