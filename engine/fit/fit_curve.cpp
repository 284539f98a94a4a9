#include "engine/fit/fit_curve.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/band_formulas.h"
#include "engine/fit/fit_settings.h"
#include "engine/fit/portable_maths.h"

namespace corvalen::fit {

namespace {

// The largest deviation the fit tries to follow; beyond, the measurement is surely not aligned
// with the target and the bands could not follow anyway.
constexpr double kLargestGoalCutDb = 2.0 * kMaxBandCutDb;
// A level this far from the reference is no measurement (and its square would overflow the
// error's sum); such a point does not count.
constexpr double kLargestDeviationDb = 1000.0;

bool Usable(double hz) { return std::isfinite(hz) && hz > 0.0; }

// The part of the log-frequency axis nearer to point i than to its neighbours, within
// [lowLog, highLog]: each point stands for its share of the axis, however dense the grid is.
double LogShare(const std::vector<double>& logHz, std::size_t i, double lowLog, double highLog) {
    const std::size_t last = logHz.size() - 1;
    const double left = i > 0 ? 0.5 * (logHz[i - 1] + logHz[i]) : logHz[i];
    const double right = i < last ? 0.5 * (logHz[i] + logHz[i + 1]) : logHz[i];
    return std::max(0.0, std::min(right, highLog) - std::max(left, lowLog));
}

}  // namespace

FitCurve PrepareCurve(const FitRequest& request) {
    FitCurve curve;
    const bool rateUsable = std::isfinite(request.sampleRate) && request.sampleRate > 0.0;
    curve.sampleRate = rateUsable ? request.sampleRate : 48000.0;
    if (request.measuredDb == nullptr || request.gridHz == nullptr || request.points <= 0) {
        return curve;
    }
    const std::size_t n = static_cast<std::size_t>(request.points);
    curve.points = request.points;
    curve.hz.assign(request.gridHz, request.gridHz + n);
    curve.phi.assign(n, 0.0);
    curve.deviation.assign(n, 0.0);
    curve.goal.assign(n, 0.0);
    curve.weight.assign(n, 0.0);
    curve.errorWeight.assign(n, 0.0);
    curve.limitWeight.assign(n, 0.0);

    // A grid point that is not a rising positive frequency, or a level that is not finite,
    // does not count.
    std::vector<bool> counts(n, false);
    std::vector<double>& logHz = curve.logHz;
    logHz.assign(n, 0.0);
    double previous = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double hz = curve.hz[i];
        const bool rising = Usable(hz) && hz > previous;
        if (rising) previous = hz;
        logHz[i] = rising ? PortableMaths::Log(hz) : (i > 0 ? logHz[i - 1] : 0.0);
        curve.phi[i] =
            rising ? band_formulas::ResponsePhi<PortableMaths>(hz, curve.sampleRate) : 0.0;
        const double level = request.measuredDb[i] - request.referenceDb;
        counts[i] = rising && std::fabs(level) <= kLargestDeviationDb;
        curve.deviation[i] = counts[i] ? level : 0.0;
    }

    const double lowLog = PortableMaths::Log(kErrorLowHz);
    const double highLog = PortableMaths::Log(kErrorHighHz);
    std::vector<double> share(n, 0.0);
    double errorTotal = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!counts[i]) continue;
        share[i] = LogShare(logHz, i, -HUGE_VAL, HUGE_VAL);
        curve.errorWeight[i] = LogShare(logHz, i, lowLog, highLog);
        errorTotal += curve.errorWeight[i];
    }
    if (!(errorTotal > 0.0)) return curve;
    curve.usable = true;

    const std::vector<double> trend =
        SmoothOverOctaves(curve.deviation, logHz, share, kTrendOctaves);
    for (std::size_t i = 0; i < n; ++i) {
        if (!counts[i]) continue;
        curve.errorWeight[i] /= errorTotal;
        curve.limitWeight[i] = share[i] / errorTotal;
        const double above = LogShare(logHz, i, highLog, HUGE_VAL) / errorTotal;
        curve.weight[i] = curve.errorWeight[i] + kTrendWeight * above;
        // A point mostly above the error range follows the trend.
        const double wanted =
            curve.errorWeight[i] >= kTrendWeight * above ? -curve.deviation[i] : -trend[i];
        curve.goal[i] = std::clamp(wanted, kLargestGoalCutDb, kMaxCorrectionBoostDb);
    }
    return curve;
}

FitCurve Coarsened(const FitCurve& fine, double octaves) {
    FitCurve coarse;
    coarse.sampleRate = fine.sampleRate;
    coarse.usable = fine.usable;
    const std::size_t n = static_cast<std::size_t>(fine.points);
    const double span = octaves * PortableMaths::Log(2.0);
    for (std::size_t first = 0; first < n;) {
        std::size_t end = first + 1;
        while (end < n && fine.logHz[end] - fine.logHz[first] < span) ++end;
        // The group's middle point stands for it; its goal is the group's weighted mean, which
        // leaves the weighted squared miss the same for a response flat across the group.
        const std::size_t middle = first + (end - first - 1) / 2;
        double weight = 0.0, errorWeight = 0.0, limitWeight = 0.0, goal = 0.0, deviation = 0.0;
        for (std::size_t i = first; i < end; ++i) {
            weight += fine.weight[i];
            errorWeight += fine.errorWeight[i];
            limitWeight += fine.limitWeight[i];
            goal += fine.weight[i] * fine.goal[i];
            deviation += fine.errorWeight[i] * fine.deviation[i];
        }
        coarse.hz.push_back(fine.hz[middle]);
        coarse.logHz.push_back(fine.logHz[middle]);
        coarse.phi.push_back(fine.phi[middle]);
        coarse.weight.push_back(weight);
        coarse.errorWeight.push_back(errorWeight);
        coarse.limitWeight.push_back(limitWeight);
        coarse.goal.push_back(weight > 0.0 ? goal / weight : fine.goal[middle]);
        coarse.deviation.push_back(errorWeight > 0.0 ? deviation / errorWeight
                                                     : fine.deviation[middle]);
        first = end;
    }
    coarse.points = static_cast<int>(coarse.hz.size());
    return coarse;
}

std::vector<double> SmoothOverOctaves(const std::vector<double>& values,
                                      const std::vector<double>& logHz,
                                      const std::vector<double>& share, double octaves) {
    const double halfWidth = 0.5 * octaves * PortableMaths::Log(2.0);
    const std::size_t n = values.size();
    std::vector<double> smooth(n, 0.0);
    std::size_t begin = 0;
    std::size_t end = 0;
    double sum = 0.0;
    double total = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        // Sums are formed afresh for each window (no running difference), so rounding never
        // carries from one point to the next.
        while (begin < n && logHz[begin] < logHz[i] - halfWidth) ++begin;
        while (end < n && logHz[end] <= logHz[i] + halfWidth) ++end;
        sum = 0.0;
        total = 0.0;
        for (std::size_t j = begin; j < end; ++j) {
            sum += share[j] * values[j];
            total += share[j];
        }
        smooth[i] = total > 0.0 ? sum / total : values[i];
    }
    return smooth;
}

void BandResponse(const FitCurve& curve, const FittedBand& band, double* response) {
    const std::size_t n = static_cast<std::size_t>(curve.points);
    if (!band.on) {
        std::fill(response, response + n, 0.0);
        return;
    }
    EqBand filter;
    filter.sampleRate = curve.sampleRate;
    filter.frequency = band.frequencyHz;
    filter.gainDb = band.gainDb;
    filter.q = band.q;
    filter.type = band.type;
    band_formulas::Recompute<PortableMaths>(filter);
    for (std::size_t i = 0; i < n; ++i) {
        const double db = band_formulas::ResponseDbAtPhi<PortableMaths>(filter, curve.phi[i]);
        response[i] = std::isfinite(db) ? db : 0.0;
    }
}

std::vector<double> EqualiserResponse(const FitCurve& curve,
                                      const std::array<FittedBand, kBandCount>& bands) {
    const std::size_t n = static_cast<std::size_t>(curve.points);
    std::vector<double> sum(n, 0.0);
    std::vector<double> one(n, 0.0);
    for (const FittedBand& band : bands) {
        if (!band.on) continue;
        BandResponse(curve, band, one.data());
        for (std::size_t i = 0; i < n; ++i) sum[i] += one[i];
    }
    return sum;
}

FitError ErrorWith(const FitCurve& curve, const double* equaliser) {
    FitError error;
    double squares = 0.0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(curve.points); ++i) {
        if (!(curve.errorWeight[i] > 0.0)) continue;
        const double miss = curve.deviation[i] + (equaliser != nullptr ? equaliser[i] : 0.0);
        squares += curve.errorWeight[i] * miss * miss;
        error.maxDb = std::max(error.maxDb, std::fabs(miss));
    }
    error.rmsDb = std::sqrt(squares);
    return error;
}

}  // namespace corvalen::fit
