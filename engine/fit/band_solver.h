// Refining bands by Levenberg-Marquardt (Eigen's): frequency, gain and Q of the chosen bands move
// together to lower the weighted squared miss of the goal, with the summed boost held under its
// limit and a small cost on every gain; the other bands stay as they are.
#pragma once

#include <array>
#include <vector>

#include "engine/fit/fit_curve.h"

namespace corvalen::fit {

// The ranges a band of a type may take in the fit.
struct BandRange {
    double lowHz;
    double highHz;
    double lowGainDb;
    double highGainDb;
    double lowQ;
    double highQ;
};
BandRange RangeOf(BandType type);

// The weighted squared miss the optimiser lowers, penalties included, for the given bands.
double FitCost(const FitCurve& curve, const std::array<FittedBand, kBandCount>& bands);

// Refines the bands whose indices (0 for band 1) are in `moving`; each must be on. Types and
// switches stay; the values stay within RangeOf their type. It stops after `evaluations`
// evaluations of the residuals, or when a step changes the cost or the variables by less than
// the relative `tolerance`. Gives the number of evaluations it made.
int RefineBands(const FitCurve& curve, std::array<FittedBand, kBandCount>& bands,
                const std::vector<int>& moving, int evaluations, double tolerance);

}  // namespace corvalen::fit
