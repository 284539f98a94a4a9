// The start of a fit: each new band goes where the largest deviation remains.
#pragma once

#include <vector>

#include "engine/fit/fit_curve.h"

namespace corvalen::fit {

// Shapes `band` as a peak on the largest remaining deviation of the goal from `equaliser` within
// the error range: the run of one sign that holds the most squared error, the peak at its
// extreme with its height and its width at half height. False, leaving the band alone, when no
// deviation of kSmallestDeviationDb or more remains.
bool PlacePeak(const FitCurve& curve, const std::vector<double>& equaliser, FittedBand& band);

}  // namespace corvalen::fit
