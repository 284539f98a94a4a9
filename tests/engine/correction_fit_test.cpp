// The automatic fit: curves made from known bands of our own come back, flat and unusable curves
// give nothing, every limit holds, the parameters it sets make the plug-in's own graph show what
// it optimised, and one input always gives the same bands.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/band_type_switch.h"
#include "engine/fit/correction_fit.h"
#include "engine/frequency_grid.h"
#include "engine/parameter_table.h"
#include "engine/response_curves.h"
#include "open_plugin.h"
#include "shell/parameter.h"

namespace corvalen {
namespace {

using testing_support::MakeOpenPlugin;

struct Grid {
    std::array<double, kGridPoints> hz{};
    Grid() {
        for (int i = 0; i < kGridPoints; ++i)
            hz[static_cast<std::size_t>(i)] = GridFrequency(i, 800);
    }
};
const Grid kGrid;

FitRequest RequestFor(const std::vector<double>& measured, double referenceDb = 0.0,
                      double rate = 48000.0) {
    FitRequest request;
    request.measuredDb = measured.data();
    request.gridHz = kGrid.hz.data();
    request.points = static_cast<int>(measured.size());
    request.referenceDb = referenceDb;
    request.sampleRate = rate;
    return request;
}

// A headphone that these bands would correct exactly: minus their summed response, 75 dB up.
std::vector<double> MeasurementCorrectedBy(const std::vector<FittedBand>& bands, double rate) {
    std::vector<double> measured(kGridPoints, 75.0);
    for (const FittedBand& band : bands) {
        EqBand filter;
        filter.sampleRate = rate;
        filter.frequency = band.frequencyHz;
        filter.gainDb = band.gainDb;
        filter.q = band.q;
        filter.type = band.type;
        filter.recompute();
        for (std::size_t i = 0; i < measured.size(); ++i) {
            measured[i] -= filter.responseDb(kGrid.hz[i]);
        }
    }
    return measured;
}

// The log-frequency RMS over 20 Hz to 10 kHz written out plainly: the curve integrated with the
// trapezoid rule over ln f on a fine grid of its own, each value taken from the nearest grid
// point (as the fit weighs each point by the stretch of the axis nearest to it).
double PlainRms(const std::vector<double>& deviation) {
    const int steps = 20000;
    const double low = std::log(20.0);
    const double high = std::log(10000.0);
    double sum = 0.0;
    for (int s = 0; s <= steps; ++s) {
        const double logHz = low + (high - low) * s / steps;
        std::size_t nearest = 0;
        for (std::size_t i = 1; i < kGrid.hz.size(); ++i) {
            if (std::fabs(std::log(kGrid.hz[i]) - logHz) <
                std::fabs(std::log(kGrid.hz[nearest]) - logHz))
                nearest = i;
        }
        const double square = deviation[nearest] * deviation[nearest];
        sum += (s == 0 || s == steps) ? 0.5 * square : square;
    }
    return std::sqrt(sum / steps);
}

FittedBand Band(BandType type, double hz, double gainDb, double q) {
    return FittedBand{true, type, hz, gainDb, q};
}

TEST(CorrectionFit, CurvesMadeFromKnownBandsAreFittedBackWithinATenthOfADecibel) {
    struct Case {
        const char* what;
        double rate;
        std::vector<FittedBand> bands;
    };
    const Case cases[] = {
        {"shelves and peaks at 48 kHz",
         48000.0,
         {Band(kLowShelf, 100.0, 4.0, 0.7), Band(kPeak, 1000.0, -3.0, 1.4),
          Band(kPeak, 3000.0, 3.0, 2.0), Band(kPeak, 6000.0, -5.0, 4.0),
          Band(kHighShelf, 8000.0, -2.0, 0.7)}},
        {"peaks only at 44.1 kHz",
         44100.0,
         {Band(kPeak, 60.0, -4.0, 1.0), Band(kPeak, 400.0, 2.0, 0.8),
          Band(kPeak, 2500.0, -6.0, 3.0), Band(kPeak, 7000.0, 4.0, 2.5)}},
        {"a deep narrow notch at 96 kHz",
         96000.0,
         {Band(kLowShelf, 200.0, -3.0, 0.6), Band(kPeak, 5000.0, -8.0, 5.0),
          Band(kHighShelf, 5000.0, 3.0, 0.8)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> measured = MeasurementCorrectedBy(c.bands, c.rate);
        const FitResult fit = FitCorrection(RequestFor(measured, 75.0, c.rate));
        std::vector<double> deviation(measured.size());
        for (std::size_t i = 0; i < measured.size(); ++i) deviation[i] = measured[i] - 75.0;
        EXPECT_NEAR(fit.before.rmsDb, PlainRms(deviation), 0.02);
        EXPECT_LT(fit.after.rmsDb, 0.1);
        EXPECT_LT(fit.after.maxDb, 0.5);
    }
}

TEST(CorrectionFit, AFlatMeasurementLeavesEveryBandOffAndTheOutputAtZero) {
    for (double level : {0.0, 75.0, 120.0}) {
        const std::vector<double> measured(kGridPoints, level);
        const FitResult fit = FitCorrection(RequestFor(measured, level));
        for (const FittedBand& band : fit.bands) {
            EXPECT_FALSE(band.on);
            EXPECT_EQ(band.gainDb, 0.0);
        }
        EXPECT_EQ(fit.outputDb, 0.0);
        EXPECT_EQ(fit.before.rmsDb, 0.0);
        EXPECT_EQ(fit.after.rmsDb, 0.0);
    }
}

// Every parameter value the fit gives must lie in its parameter's range and be finite.
void ExpectSettable(const FitResult& fit) {
    for (const FitParameterValue& value : FitParameterValues(fit)) {
        const ParamTableEntry& row = kParameterTable[static_cast<std::size_t>(value.index)];
        ASSERT_TRUE(std::isfinite(value.value)) << row.name;
        EXPECT_GE(value.value, row.minimum) << row.name;
        EXPECT_LE(value.value, row.maximum) << row.name;
    }
    for (const FitError& error : {fit.before, fit.after}) {
        EXPECT_TRUE(std::isfinite(error.rmsDb) && std::isfinite(error.maxDb));
    }
    EXPECT_LE(fit.after.rmsDb, fit.before.rmsDb) << "a fit never makes the error worse";
}

TEST(CorrectionFit, UnusableCurvesNeverGiveANonFiniteParameter) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> allNan(kGridPoints, nan);
    std::vector<double> someBad(kGridPoints, 70.0);
    for (std::size_t i = 0; i < someBad.size(); i += 7) someBad[i] = (i % 2 == 0) ? nan : -inf;
    std::vector<double> huge(kGridPoints, 1e300);
    huge[400] = -1e300;
    std::vector<double> ragged(kGridPoints);
    for (std::size_t i = 0; i < ragged.size(); ++i) ragged[i] = (i % 2 == 0) ? 40.0 : -40.0;
    std::vector<double> tilted(kGridPoints);
    for (std::size_t i = 0; i < tilted.size(); ++i) tilted[i] = 0.05 * static_cast<double>(i);
    std::array<double, kGridPoints> badGrid = kGrid.hz;
    badGrid[10] = nan;
    badGrid[500] = -1.0;
    badGrid[600] = badGrid[599];

    struct Case {
        const char* what;
        FitRequest request;
    };
    FitRequest nothing;
    FitRequest empty = RequestFor(tilted);
    empty.points = 0;
    FitRequest noGrid = RequestFor(tilted);
    noGrid.gridHz = nullptr;
    FitRequest nanReference = RequestFor(tilted, nan);
    FitRequest badRate = RequestFor(tilted, 0.0, -48000.0);
    FitRequest nanRate = RequestFor(tilted, 0.0, nan);
    FitRequest lowRate = RequestFor(tilted, 0.0, 8000.0);
    FitRequest brokenGrid = RequestFor(tilted);
    brokenGrid.gridHz = badGrid.data();
    const Case cases[] = {
        {"no curve", nothing},
        {"no points", empty},
        {"no grid", noGrid},
        {"every level not a number", RequestFor(allNan)},
        {"some levels not finite", RequestFor(someBad, 70.0)},
        {"levels at the edge of the doubles", RequestFor(huge)},
        {"levels no band can follow", RequestFor(ragged)},
        {"a reference that is not a number", nanReference},
        {"a negative rate", badRate},
        {"a rate that is not a number", nanRate},
        {"a rate below every band's top", lowRate},
        {"grid points not finite, negative and repeated", brokenGrid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectSettable(FitCorrection(c.request));
        const double reference =
            AlignedReferenceLevel(c.request.measuredDb, c.request.gridHz, c.request.points);
        EXPECT_TRUE(std::isfinite(reference));
    }
    const FitResult none = FitCorrection(RequestFor(allNan));
    for (const FittedBand& band : none.bands) EXPECT_FALSE(band.on);
    EXPECT_EQ(none.outputDb, 0.0);
}

// A headphone no equaliser can fully follow: a bass roll-off of 20 dB, a narrow 10 dB resonance,
// a dip deeper than the boost a correction may add, and ragged treble above 10 kHz.
std::vector<double> DemandingMeasurement() {
    std::vector<double> measured(kGridPoints);
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const double octave = std::log2(kGrid.hz[i] / 1000.0);
        double db = 80.0;
        if (kGrid.hz[i] < 100.0) db -= 20.0 * std::log2(100.0 / kGrid.hz[i]) / 2.32;
        db += 10.0 * std::exp(-0.5 * std::pow((octave - std::log2(5.0)) / 0.06, 2.0));
        db -= 9.0 * std::exp(-0.5 * std::pow((octave - std::log2(8.8)) / 0.15, 2.0));
        if (kGrid.hz[i] > 10000.0) db += (i % 2 == 0 ? 8.0 : -8.0) - 6.0;
        measured[i] = db;
    }
    return measured;
}

// The fitted parameters put into a real plug-in: the graph's own curves must show the fit's
// error, and the correction's highest point must sit at or below 0 dB.
TEST(CorrectionFit, TheGraphShowsWhatWasFittedAndEveryLimitHolds) {
    const std::vector<double> measured = DemandingMeasurement();
    const FitResult fit = FitCorrection(RequestFor(measured, 80.0));
    ExpectSettable(fit);
    for (const FittedBand& band : fit.bands) {
        if (!band.on) continue;
        EXPECT_LE(band.gainDb, 12.0);
        if (band.type == kPeak) {
            EXPECT_LE(band.frequencyHz, kFitErrorHighHz) << "no narrow peak in the treble";
            EXPECT_LE(band.q, 6.0);
        } else {
            EXPECT_LE(band.q, 1.0);
        }
    }
    EXPECT_GE(fit.outputDb, -6.5) << "the headroom of published corrections";
    for (std::size_t j = 0; j < fit.bands.size(); ++j) {
        for (std::size_t k = j + 1; k < fit.bands.size(); ++k) {
            if (!fit.bands[j].on || !fit.bands[k].on) continue;
            if (fit.bands[j].type != kPeak || fit.bands[k].type != kPeak) continue;
            EXPECT_GT(std::fabs(std::log2(fit.bands[j].frequencyHz / fit.bands[k].frequencyHz)),
                      1.0 / 24.0)
                << "peaks " << j + 1 << " and " << k + 1 << " stacked on one frequency";
        }
    }

    auto plugin = MakeOpenPlugin(48000.0);
    for (const FitParameterValue& value : FitParameterValues(fit)) {
        plugin->Param(value.index)->SetValue(value.value);
        plugin->OnParamChange(value.index);
    }
    plugin->Param(param::kTargetResponses)->SetValue(80.0);
    plugin->OnParamChange(param::kTargetResponses);
    ResponseModel& model = *plugin->Model();
    std::copy(measured.begin(), measured.end(), model.frCurve());
    EXPECT_EQ(model.band(1).type, fit.bands[0].type);
    EXPECT_EQ(model.band(12).type, fit.bands[11].type);

    std::vector<double> corrected(kGridPoints);
    double highest = -1e9;
    double highestAbove10k = -1e9;
    for (int i = 0; i < kGridPoints; ++i) {
        corrected[static_cast<std::size_t>(i)] = CorrectedCurveDb(model, i);
        highest = std::max(highest, EqCurveDb(model, i));
        if (model.gridFrequency(i) > kFitErrorHighHz)
            highestAbove10k = std::max(highestAbove10k, EqCurveDb(model, i));
    }
    EXPECT_NEAR(fit.after.rmsDb, PlainRms(corrected), 0.02);
    // No correction can do better than to follow the curve everywhere but where it needs more
    // than the +6 dB a correction may add.
    std::vector<double> unreachable(kGridPoints);
    for (std::size_t i = 0; i < unreachable.size(); ++i) {
        unreachable[i] = std::min(0.0, measured[i] - 80.0 + 6.0);
    }
    const double floor = PlainRms(unreachable);
    EXPECT_LT(fit.after.rmsDb, floor + 0.3) << "the best possible is " << floor;
    EXPECT_LE(highest + fit.outputDb, 0.0);
    EXPECT_GT(highest + fit.outputDb, -0.1) << "no more headroom than needed";
    EXPECT_LE(highestAbove10k, 6.5) << "no large boost in the treble";
}

TEST(CorrectionFit, TheParametersCoverEveryBandBothTypeSwitchesAndTheOutputInIndexOrder) {
    FitResult fit;
    for (std::size_t k = 0; k < fit.bands.size(); ++k) {
        fit.bands[k] = Band(kPeak, 100.0 * static_cast<double>(k + 1), 1.0, 2.0);
    }
    fit.bands[0].type = kLowShelf;
    fit.bands[11].on = false;
    fit.outputDb = -3.5;
    const auto values = FitParameterValues(fit);
    for (std::size_t i = 1; i < values.size(); ++i) EXPECT_LT(values[i - 1].index, values[i].index);
    const auto valueOf = [&values](int index) {
        for (const FitParameterValue& value : values) {
            if (value.index == index) return value.value;
        }
        ADD_FAILURE() << "parameter " << index << " not set";
        return -1.0;
    };
    // Written from the switches' meaning, not from the fit: TipoF1 1 is a low shelf, TipoF12 1 a
    // peak.
    EXPECT_EQ(valueOf(param::kTypeBand1), 1.0);
    EXPECT_EQ(valueOf(param::kTypeBand12), 1.0);
    EXPECT_EQ(Band1Type(valueOf(param::kTypeBand1)), kLowShelf);
    EXPECT_EQ(Band12Type(valueOf(param::kTypeBand12)), kPeak);
    EXPECT_EQ(valueOf(param::BandSwitch(11)), 0.0);
    EXPECT_EQ(valueOf(param::BandSwitch(0)), 1.0);
    EXPECT_EQ(valueOf(param::BandFrequency(4)), 500.0);
    EXPECT_EQ(valueOf(param::BandGain(4)), 1.0);
    EXPECT_EQ(valueOf(param::BandQuality(4)), 2.0);
    EXPECT_EQ(valueOf(param::kOut), -3.5);
    fit.bands[11].type = kHighShelf;
    EXPECT_EQ(FitParameterValues(fit)[kBandCount + 1].value, 0.0);
}

TEST(CorrectionFit, TheReferenceLevelAlignsTheMeasurementBetween200HzAnd2kHz) {
    struct Case {
        const char* what;
        double inside;   // level from 200 Hz to 2 kHz
        double outside;  // level elsewhere
        double expected;
    };
    const Case cases[] = {
        {"a level inside the range", 82.5, 60.0, 82.5},
        {"below the range's lowest level", -4.0, 0.0, 0.0},
        {"above the range's highest level", 130.0, 130.0, 120.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The inside level reaches a little past the range, over the points whose stretch of
        // the axis overlaps it.
        std::vector<double> measured(kGridPoints);
        for (std::size_t i = 0; i < measured.size(); ++i) {
            const bool inside = kGrid.hz[i] >= 150.0 && kGrid.hz[i] <= 2600.0;
            measured[i] = inside ? c.inside : c.outside;
        }
        EXPECT_NEAR(AlignedReferenceLevel(measured.data(), kGrid.hz.data(), kGridPoints),
                    c.expected, 1e-9);
    }
    // A slope: 1 dB per octave through 0 dB at the range's middle in log-frequency, about
    // 632 Hz; the mean over the range is that middle's level.
    std::vector<double> slope(kGridPoints);
    const double middle = std::sqrt(200.0 * 2000.0);
    for (std::size_t i = 0; i < slope.size(); ++i) {
        slope[i] = 50.0 + std::log2(kGrid.hz[i] / middle);
    }
    EXPECT_NEAR(AlignedReferenceLevel(slope.data(), kGrid.hz.data(), kGridPoints), 50.0, 0.05);
}

TEST(CorrectionFit, OneInputAlwaysGivesTheSameBands) {
    const std::vector<double> measured = DemandingMeasurement();
    const std::vector<double> copy = measured;
    const FitResult first = FitCorrection(RequestFor(measured, 80.0));
    FitCorrection(RequestFor(MeasurementCorrectedBy({Band(kPeak, 900.0, 3.0, 1.0)}, 48000.0)));
    const FitResult second = FitCorrection(RequestFor(copy, 80.0));
    for (std::size_t k = 0; k < first.bands.size(); ++k) {
        const FittedBand& a = first.bands[k];
        const FittedBand& b = second.bands[k];
        EXPECT_TRUE(a.on == b.on && a.type == b.type && a.frequencyHz == b.frequencyHz &&
                    a.gainDb == b.gainDb && a.q == b.q)
            << "band " << k + 1;
    }
    EXPECT_EQ(first.outputDb, second.outputDb);
    EXPECT_EQ(first.after.rmsDb, second.after.rmsDb);
}

}  // namespace
}  // namespace corvalen
