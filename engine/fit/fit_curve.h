// The measurement as the fit sees it: on the grid, with what the equaliser should add at every
// point, how much each point counts, and each band's response there through EqBand's formulas.
#pragma once

#include <array>
#include <vector>

#include "engine/fit/correction_fit.h"

namespace corvalen::fit {

struct FitCurve {
    int points = 0;
    double sampleRate = 48000.0;
    std::vector<double> hz;
    std::vector<double> logHz;  // natural logarithms; an unusable point repeats the one before
    // sin^2(pi f / rate) at every point: the part of a band's response all bands at one rate
    // share (EqBand::responsePhi's formula).
    std::vector<double> phi;
    // The measurement minus the reference level; 0 where the measurement is not finite.
    std::vector<double> deviation;
    // What the equaliser should add: minus the deviation up to kErrorHighHz, minus its broad
    // trend above; never more than the correction's boost limit.
    std::vector<double> goal;
    // Weight of a point's squared miss in the fit: its share of the log-frequency axis (the
    // shares of 20 Hz to 10 kHz add up to 1), less above kErrorHighHz; 0 for unusable points.
    std::vector<double> weight;
    // The same shares for the reported error: 20 Hz to 10 kHz only, adding up to 1.
    std::vector<double> errorWeight;
    // Shares of the whole grid, for holding the summed boost under its limit.
    std::vector<double> limitWeight;
    // Whether any point counts at all.
    bool usable = false;
};

FitCurve PrepareCurve(const FitRequest& request);

// The curve on fewer points, none closer than `octaves` to the next (where the grid is denser):
// consecutive points merge into one with their summed weights and their weighted mean goal. A
// fit on it costs less and misses little while no band is narrower than the spacing.
FitCurve Coarsened(const FitCurve& fine, double octaves);

// The mean of `values` over the points within half an `octaves` window of each point (logHz
// holds their natural logarithms), each point weighed by its `share`: a moving mean over
// log-frequency. A point whose window holds no weight keeps its value.
std::vector<double> SmoothOverOctaves(const std::vector<double>& values,
                                      const std::vector<double>& logHz,
                                      const std::vector<double>& share, double octaves);

// The band's response in dB at every point (0 dB for a band that is off), as the graph computes
// it: EqBand's coefficients and EqBand's magnitude formula at the curve's sample rate, with the
// fit's portable elementary functions. A value that is not finite counts as 0 dB, as on the
// graph.
void BandResponse(const FitCurve& curve, const FittedBand& band, double* response);

// The sum of the bands' responses at every point.
std::vector<double> EqualiserResponse(const FitCurve& curve,
                                      const std::array<FittedBand, kBandCount>& bands);

// The deviation plus the equaliser over the error range; `equaliser` may be null (none).
FitError ErrorWith(const FitCurve& curve, const double* equaliser);

}  // namespace corvalen::fit
