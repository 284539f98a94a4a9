#include "engine/fit/band_placement.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/fit/band_solver.h"
#include "engine/fit/fit_settings.h"
#include "engine/fit/portable_maths.h"

namespace corvalen::fit {

namespace {

// A peak's Q for a bandwidth between its half-gain points: Q = sqrt(2^N) / (2^N - 1) for N
// octaves.
double QForOctaves(double octaves) {
    const double ratio = PortableMaths::TwoToThe(octaves);
    return std::sqrt(ratio) / (ratio - 1.0);
}

struct Run {
    std::size_t first = 0;
    std::size_t last = 0;  // inclusive
    double squares = 0.0;
};

}  // namespace

bool PlacePeak(const FitCurve& curve, const std::vector<double>& equaliser, FittedBand& band) {
    const std::size_t n = static_cast<std::size_t>(curve.points);
    std::vector<double> remaining(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        if (curve.errorWeight[i] > 0.0) remaining[i] = curve.goal[i] - equaliser[i];
    }
    const std::vector<double> located =
        SmoothOverOctaves(remaining, curve.logHz, curve.errorWeight, kLocateOctaves);

    // Runs of one sign within the error range; the one with the most squared error wins (the
    // first of equals).
    Run best;
    bool found = false;
    Run current;
    bool inRun = false;
    for (std::size_t i = 0; i <= n; ++i) {
        const bool counts = i < n && curve.errorWeight[i] > 0.0;
        const bool continues =
            inRun && counts && (located[i] > 0.0) == (located[current.last] > 0.0);
        if (inRun && !continues) {
            if (!found || current.squares > best.squares) best = current;
            found = true;
            inRun = false;
        }
        if (!counts) continue;
        if (!inRun) {
            current = Run{i, i, 0.0};
            inRun = true;
        }
        current.last = i;
        current.squares += curve.errorWeight[i] * remaining[i] * remaining[i];
    }
    if (!found) return false;

    std::size_t peak = best.first;
    for (std::size_t i = best.first; i <= best.last; ++i) {
        if (std::fabs(located[i]) > std::fabs(located[peak])) peak = i;
    }
    const double height = located[peak];
    if (!(std::fabs(height) >= kSmallestDeviationDb)) return false;

    std::size_t left = peak;
    while (left > best.first && std::fabs(located[left - 1]) >= 0.5 * std::fabs(height)) --left;
    std::size_t right = peak;
    while (right < best.last && std::fabs(located[right + 1]) >= 0.5 * std::fabs(height)) ++right;
    const double octaves = (curve.logHz[right] - curve.logHz[left]) / PortableMaths::Log(2.0);

    const BandRange range = RangeOf(kPeak);
    band.on = true;
    band.type = kPeak;
    band.frequencyHz = std::clamp(curve.hz[peak], range.lowHz, range.highHz);
    band.gainDb = std::clamp(height, range.lowGainDb, range.highGainDb);
    band.q =
        octaves > 0.0 ? std::clamp(QForOctaves(octaves), range.lowQ, range.highQ) : range.highQ;
    return true;
}

}  // namespace corvalen::fit
