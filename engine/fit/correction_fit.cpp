#include "engine/fit/correction_fit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "engine/band_type_switch.h"
#include "engine/fit/band_placement.h"
#include "engine/fit/band_solver.h"
#include "engine/fit/fit_curve.h"
#include "engine/fit/fit_settings.h"
#include "engine/fit/portable_maths.h"
#include "engine/parameter_table.h"

namespace corvalen {

namespace {

using Bands = std::array<FittedBand, kBandCount>;
constexpr std::size_t kFirst = 0;
constexpr std::size_t kLast = kBandCount - 1;

const ParamTableEntry& Row(int index) { return kParameterTable[static_cast<std::size_t>(index)]; }

// A band the fit does not use: off at 0 dB, as a new instance has it.
FittedBand UnusedBand(std::size_t k) {
    FittedBand band;
    band.on = false;
    band.type = k == kLast ? kHighShelf : kPeak;
    band.frequencyHz = kDefaultBandFrequencies[k];
    band.gainDb = 0.0;
    band.q = Row(param::BandQuality(static_cast<int>(k))).defaultValue;
    return band;
}

Bands UnusedBands() {
    Bands bands;
    for (std::size_t k = 0; k < bands.size(); ++k) bands[k] = UnusedBand(k);
    return bands;
}

FittedBand Shelf(BandType type, double hz) {
    FittedBand band;
    band.on = true;
    band.type = type;
    band.frequencyHz = hz;
    band.gainDb = 0.0;
    band.q = fit::kShelfStartQ;
    return band;
}

std::vector<int> BandsOn(const Bands& bands) {
    std::vector<int> on;
    for (std::size_t k = 0; k < bands.size(); ++k) {
        if (bands[k].on) on.push_back(static_cast<int>(k));
    }
    return on;
}

// A value as the parameter shows it (its display precision), so the editor shows exactly what
// was set and the printed correction reads cleanly.
double AsShown(double value, int index) {
    const double scale = PortableMaths::TenToThe(Row(index).precision);
    return std::round(value * scale) / scale;
}

// The peaks in frequency order on the bands the shelves leave, lowest first; bands left over are
// unused. Bands 1 and 12 keep their shelves.
Bands Ordered(const Bands& fitted) {
    std::vector<FittedBand> peaks;
    for (const FittedBand& band : fitted) {
        if (band.on && band.type == kPeak) peaks.push_back(band);
    }
    std::stable_sort(peaks.begin(), peaks.end(), [](const FittedBand& a, const FittedBand& b) {
        return a.frequencyHz < b.frequencyHz;
    });
    Bands ordered = UnusedBands();
    const bool lowShelf = fitted[kFirst].on && fitted[kFirst].type == kLowShelf;
    const bool highShelf = fitted[kLast].on && fitted[kLast].type == kHighShelf;
    if (lowShelf) ordered[kFirst] = fitted[kFirst];
    if (highShelf) ordered[kLast] = fitted[kLast];
    std::size_t slot = lowShelf ? kFirst + 1 : kFirst;
    for (const FittedBand& peak : peaks) {
        while (slot == kLast && highShelf) ++slot;
        if (slot >= ordered.size()) break;
        ordered[slot++] = peak;
    }
    return ordered;
}

// Every value at its shown precision; a band left at 0 dB does nothing and is switched off.
Bands Rounded(const Bands& fitted) {
    Bands rounded = fitted;
    for (std::size_t k = 0; k < rounded.size(); ++k) {
        FittedBand& band = rounded[k];
        if (!band.on) continue;
        const int b = static_cast<int>(k);
        band.frequencyHz = AsShown(band.frequencyHz, param::BandFrequency(b));
        band.gainDb = AsShown(band.gainDb, param::BandGain(b));
        band.q = AsShown(band.q, param::BandQuality(b));
        if (band.gainDb == 0.0) band = UnusedBand(k);
    }
    return rounded;
}

// The output level that puts the correction's highest point at or below 0 dB: minus the
// equaliser's highest point, rounded down to the level's shown precision; never a gain.
double OutputLevel(const std::vector<double>& equaliser) {
    double highest = 0.0;
    for (double db : equaliser) highest = std::max(highest, db);
    const ParamTableEntry& out = Row(param::kOut);
    const double scale = PortableMaths::TenToThe(out.precision);
    const double level = -std::ceil(highest * scale) / scale;
    return std::clamp(level, out.minimum, 0.0);
}

void PlacePeaks(const fit::FitCurve& curve, Bands& bands) {
    for (std::size_t k = 0; k < bands.size(); ++k) {
        if (bands[k].on) continue;
        const std::vector<double> equaliser = fit::EqualiserResponse(curve, bands);
        FittedBand placed = bands[k];
        if (!fit::PlacePeak(curve, equaliser, placed)) return;
        bands[k] = placed;
        fit::RefineBands(curve, bands, {static_cast<int>(k)}, fit::kSingleBandEvaluations,
                         fit::kSingleBandTolerance);
    }
}

// The peak whose loss would raise the fit's cost the least; bands.size() when there is none.
std::size_t WeakestPeak(const fit::FitCurve& curve, const Bands& bands) {
    std::size_t weakest = bands.size();
    double lowest = 0.0;
    for (std::size_t k = 0; k < bands.size(); ++k) {
        if (!bands[k].on || bands[k].type != kPeak) continue;
        Bands without = bands;
        without[k].on = false;
        const double cost = fit::FitCost(curve, without);
        if (weakest == bands.size() || cost < lowest) {
            weakest = k;
            lowest = cost;
        }
    }
    return weakest;
}

// While the joint refinement leaves evaluations unused (it settled early, perhaps in a poor
// valley), the weakest peak is tried at the largest remaining deviation and everything refined
// again; the move is kept only when the cost falls.
void MoveWeakPeaks(const fit::FitCurve& curve, Bands& bands, int evaluations) {
    double cost = fit::FitCost(curve, bands);
    while (evaluations >= fit::kSmallestRound) {
        Bands trial = bands;
        const std::size_t weakest = WeakestPeak(curve, trial);
        if (weakest == trial.size()) return;
        trial[weakest].on = false;
        FittedBand placed = trial[weakest];
        if (!fit::PlacePeak(curve, fit::EqualiserResponse(curve, trial), placed)) return;
        trial[weakest] = placed;
        fit::RefineBands(curve, trial, {static_cast<int>(weakest)}, fit::kSingleBandEvaluations,
                         fit::kSingleBandTolerance);
        evaluations -=
            fit::RefineBands(curve, trial, BandsOn(trial), evaluations, fit::kJointTolerance);
        const double trialCost = fit::FitCost(curve, trial);
        if (!(trialCost < cost)) return;
        bands = trial;
        cost = trialCost;
    }
}

// Two peaks at nearly one frequency do the work of one band (the optimiser stacks them where it
// would like a narrower peak than a person sets): they become one, at their gain-weighted
// frequency with their summed gain and the narrower Q, and the other band is freed. True when a
// pair was merged.
bool MergeStackedPeaks(Bands& bands) {
    const double closest = fit::kStackedOctaves * PortableMaths::Log(2.0);
    bool merged = false;
    for (std::size_t j = 0; j < bands.size(); ++j) {
        for (std::size_t k = j + 1; k < bands.size(); ++k) {
            FittedBand& a = bands[j];
            FittedBand& b = bands[k];
            if (!a.on || !b.on || a.type != kPeak || b.type != kPeak) continue;
            const double apart = std::fabs(PortableMaths::Log(a.frequencyHz / b.frequencyHz));
            if (!(apart < closest)) continue;
            const double weightA = std::fabs(a.gainDb);
            const double weightB = std::fabs(b.gainDb);
            const double total = weightA + weightB;
            if (total > 0.0) {
                a.frequencyHz = PortableMaths::Exp((weightA * PortableMaths::Log(a.frequencyHz) +
                                                    weightB * PortableMaths::Log(b.frequencyHz)) /
                                                   total);
            }
            const fit::BandRange range = fit::RangeOf(kPeak);
            a.gainDb = std::clamp(a.gainDb + b.gainDb, range.lowGainDb, range.highGainDb);
            a.q = std::max(a.q, b.q);
            b = UnusedBand(k);
            b.type = kPeak;
            merged = true;
        }
    }
    return merged;
}

}  // namespace

FitResult FitCorrection(const FitRequest& request) {
    FitResult result;
    result.bands = UnusedBands();
    const fit::FitCurve fine = fit::PrepareCurve(request);
    if (!fine.usable) return result;
    result.before = fit::ErrorWith(fine, nullptr);
    const fit::FitCurve curve = fit::Coarsened(fine, fit::kFitSpacingOctaves);

    // The shelves take the broad tilts first; one that does little gives its band to a peak.
    Bands bands = UnusedBands();
    bands[kFirst] = Shelf(kLowShelf, fit::kLowShelfStartHz);
    bands[kLast] = Shelf(kHighShelf, fit::kHighShelfStartHz);
    fit::RefineBands(curve, bands, {0, kBandCount - 1}, fit::kJointEvaluations,
                     fit::kJointTolerance);
    for (std::size_t k : {kFirst, kLast}) {
        if (std::fabs(bands[k].gainDb) < fit::kWeakShelfDb) bands[k] = UnusedBand(k);
        if (!bands[k].on) bands[k].type = kPeak;
    }

    PlacePeaks(curve, bands);
    const int used = fit::RefineBands(curve, bands, BandsOn(bands), fit::kJointEvaluations,
                                      fit::kJointTolerance);
    MoveWeakPeaks(curve, bands, fit::kJointEvaluations - used);
    // The polish after a merge may stack two peaks again; a fixed number of rounds keeps the
    // work bounded, and a pair still stacked after them is merged without a polish.
    for (int round = 0; round < fit::kMergeRounds && MergeStackedPeaks(bands); ++round) {
        PlacePeaks(curve, bands);
        fit::RefineBands(curve, bands, BandsOn(bands), fit::kPolishEvaluations,
                         fit::kJointTolerance);
    }
    MergeStackedPeaks(bands);

    result.bands = Rounded(Ordered(bands));
    const std::vector<double> equaliser = fit::EqualiserResponse(fine, result.bands);
    result.after = fit::ErrorWith(fine, equaliser.data());
    // A curve the bands cannot follow at all (levels far beyond any headphone's, or misread
    // numbers) is better left uncorrected than made worse.
    if (!(result.after.rmsDb < result.before.rmsDb)) {
        result.bands = UnusedBands();
        result.after = result.before;
        return result;
    }
    result.outputDb = OutputLevel(equaliser);
    return result;
}

double AlignedReferenceLevel(const double* measuredDb, const double* gridHz, int points) {
    const ParamTableEntry& reference = Row(param::kTargetResponses);
    if (measuredDb == nullptr || gridHz == nullptr || points <= 0) return reference.defaultValue;
    // The mean over log-frequency: each point weighed by its share of the log axis in the band.
    double sum = 0.0;
    double total = 0.0;
    const double low = PortableMaths::Log(fit::kAlignLowHz);
    const double high = PortableMaths::Log(fit::kAlignHighHz);
    for (int i = 0; i < points; ++i) {
        if (!std::isfinite(measuredDb[i]) || !(gridHz[i] > 0.0) || !std::isfinite(gridHz[i]))
            continue;
        const double here = PortableMaths::Log(gridHz[i]);
        const double left =
            i > 0 && gridHz[i - 1] > 0.0 ? 0.5 * (PortableMaths::Log(gridHz[i - 1]) + here) : here;
        const double right = i + 1 < points && gridHz[i + 1] > 0.0
                                 ? 0.5 * (here + PortableMaths::Log(gridHz[i + 1]))
                                 : here;
        const double share = std::max(0.0, std::min(right, high) - std::max(left, low));
        sum += share * measuredDb[i];
        total += share;
    }
    if (!(total > 0.0) || !std::isfinite(sum)) return reference.defaultValue;
    const double level = AsShown(sum / total, param::kTargetResponses);
    return std::clamp(level, reference.minimum, reference.maximum);
}

FitError CorrectionError(const FitRequest& request, const Bands& bands) {
    const fit::FitCurve curve = fit::PrepareCurve(request);
    if (!curve.usable) return FitError{};
    const std::vector<double> equaliser = fit::EqualiserResponse(curve, bands);
    return fit::ErrorWith(curve, equaliser.data());
}

std::array<FitParameterValue, kFitParameterCount> FitParameterValues(const FitResult& fit) {
    std::array<FitParameterValue, kFitParameterCount> values{};
    std::size_t next = 0;
    for (int b = 0; b < kBandCount; ++b) {
        values[next++] = {param::BandSwitch(b),
                          fit.bands[static_cast<std::size_t>(b)].on ? 1.0 : 0.0};
    }
    values[next++] = {param::kTypeBand1, Band1Switch(fit.bands[kFirst].type)};
    values[next++] = {param::kTypeBand12, Band12Switch(fit.bands[kLast].type)};
    for (int b = 0; b < kBandCount; ++b) {
        const FittedBand& band = fit.bands[static_cast<std::size_t>(b)];
        values[next++] = {param::BandFrequency(b), band.frequencyHz};
        values[next++] = {param::BandGain(b), band.gainDb};
        values[next++] = {param::BandQuality(b), band.q};
    }
    values[next++] = {param::kOut, fit.outputDb};
    return values;
}

}  // namespace corvalen
