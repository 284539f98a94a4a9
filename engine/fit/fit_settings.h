// Every number the automatic fit weighs, in one table: where the error counts, how far bands may
// go, how strongly the limits hold.
#pragma once

#include "engine/fit/correction_fit.h"

namespace corvalen::fit {

// Where the error counts; above, the correction follows only the broad trend of the curve.
inline constexpr double kErrorLowHz = kFitErrorLowHz;
inline constexpr double kErrorHighHz = kFitErrorHighHz;
// Above kErrorHighHz the curve is smoothed over this many octaves (a moving mean over
// log-frequency) and counts with this weight relative to the band below.
inline constexpr double kTrendOctaves = 1.0;
inline constexpr double kTrendWeight = 0.1;

// The reference level that aligns a measurement with the target is its mean over this band.
inline constexpr double kAlignLowHz = 200.0;
inline constexpr double kAlignHighHz = 2000.0;

// What any one band may do.
inline constexpr double kMaxBandBoostDb = 12.0;
inline constexpr double kMaxBandCutDb = -24.0;  // the gain parameter's limit
// A peak's Q: from the broadest the parameter allows to the narrowest notch a person would set
// for a real resonance.
inline constexpr double kMinPeakQ = 0.3;
inline constexpr double kMaxPeakQ = 6.0;
// Peaks sit where the error counts, so nothing narrow is ever added above kErrorHighHz.
inline constexpr double kMinPeakHz = 20.0;
inline constexpr double kMaxPeakHz = kErrorHighHz;
// Shelves: slopes without a large overshoot, corners where a shelf does the work of a tilt.
inline constexpr double kMinShelfQ = 0.4;
inline constexpr double kMaxShelfQ = 1.0;
inline constexpr double kLowShelfStartHz = 105.0;
inline constexpr double kMinLowShelfHz = 20.0;
inline constexpr double kMaxLowShelfHz = 1000.0;
inline constexpr double kHighShelfStartHz = 10000.0;
inline constexpr double kMinHighShelfHz = 1000.0;
inline constexpr double kMaxHighShelfHz = 15000.0;
inline constexpr double kShelfStartQ = 0.7;
// A shelf that ends up weaker than this does too little to keep its band as a shelf; the band
// becomes a peak.
inline constexpr double kWeakShelfDb = 1.0;

// The whole correction's highest point: published corrections keep their summed boost near
// +6 dB (and their preamp near -6 dB); the fit keeps to the same headroom, and this is also the
// largest boost it ever adds above kErrorHighHz.
inline constexpr double kMaxCorrectionBoostDb = 6.0;
// How strongly the summed boost is held under that limit: the squared excess over
// log-frequency, weighed against the squared error.
inline constexpr double kBoostLimitWeight = 100.0;
// Bands working against each other: where they overlap with opposite signs they waste dB (the
// sum of their magnitudes less the magnitude of their sum). Up to the allowance that is free (a
// shelf's corner shaped by a peak); beyond it the squared excess is weighed like the squared
// error, times this weight.
inline constexpr double kOpposedBandsAllowanceDb = 3.0;
inline constexpr double kOpposedBandsWeight = 0.1;
// A small cost on every band's gain, so two bands never work against each other and a band
// that does nothing goes to 0 dB.
inline constexpr double kGainCost = 1e-5;

// Placement stops when the largest remaining deviation is below this.
inline constexpr double kSmallestDeviationDb = 0.2;
// Deviations are located on a curve smoothed over this many octaves, so a single stray point
// does not draw a band.
inline constexpr double kLocateOctaves = 1.0 / 12.0;

// The optimiser works on the grid thinned to points this far apart (where it is denser): still
// several points across the narrowest peak it may set.
inline constexpr double kFitSpacingOctaves = 1.0 / 32.0;

// The optimiser's budgets: evaluations of the residuals for one band alone and for all bands.
// A band placed alone needs only to be near its best: the joint refinement finishes it.
inline constexpr int kSingleBandEvaluations = 60;
inline constexpr double kSingleBandTolerance = 1e-4;
inline constexpr int kJointEvaluations = 100;
// Evaluations the joint refinement leaves unused go to moving the weakest peak elsewhere, while
// at least this many are left.
inline constexpr int kSmallestRound = 20;
// Peaks closer than this do the work of one (the optimiser stacks them where it would like a
// narrower peak than a person sets): a pair costs the squared share of this distance it lies
// within, times the weight; pairs left this close are merged into one, and the joint refinement
// gets this many more evaluations to use the band that frees.
inline constexpr double kStackedOctaves = 1.0 / 24.0;
inline constexpr double kStackedPeaksWeight = 1.0;
inline constexpr int kPolishEvaluations = 30;
// Rounds of merging stacked peaks and polishing the bands again.
inline constexpr int kMergeRounds = 2;
inline constexpr double kJointTolerance = 1e-6;
// Forward-difference steps in the optimiser's variables.
inline constexpr double kDifferenceStep = 1e-6;

}  // namespace corvalen::fit
