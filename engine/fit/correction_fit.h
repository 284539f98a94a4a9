// The automatic fit: the twelve bands, band 1's and band 12's types and the output level chosen
// so that a measurement plus the equaliser lies as close as it can to the flat target. The
// bands are evaluated through EqBand, the same response the graph draws, at the instance's
// sample rate, so what the graph shows after a fit is what was optimised.
//
// Pure functions of their inputs: no plug-in, no lock, no global state; they allocate, so they
// belong on the editor's or a tool's thread, never the audio thread. Deterministic: one input
// gives the same bands, bit for bit, on every run, build and processor (no threads, no random
// numbers, no unordered containers, a fixed evaluation budget instead of a time limit,
// floating-point contraction off, and elementary functions of the fit's own, PortableMaths,
// instead of the C runtime's, whose last bits differ between the native and the MinGW build).
// The bands' formulas are EqBand's own (engine/band_formulas.h) evaluated with those functions,
// so a fitted response and the graph's agree to within a few units in the last place.
#pragma once

#include <array>

#include "engine/engine_state.h"
#include "engine/eq_band.h"

namespace corvalen {

// The band of frequencies where the fit's error counts (above it measurements differ from ear to
// ear, and the fit follows only the broad trend there).
inline constexpr double kFitErrorLowHz = 20.0;
inline constexpr double kFitErrorHighHz = 10000.0;

// The measured curve on the response model's grid, in dB, and what counts as on target.
struct FitRequest {
    const double* measuredDb = nullptr;  // points values; non-finite values are left out
    const double* gridHz = nullptr;      // points rising frequencies (the response model's grid)
    int points = 0;
    double referenceDb = 0.0;     // the measured level that counts as on target
    double sampleRate = 48000.0;  // the rate the bands are tuned for
};

// How far measurement plus equaliser lies from the target over the error band: the RMS over
// logarithmic frequency (each grid point weighed by the share of the log-frequency axis it
// stands for, so the figure does not depend on how dense the grid is where), and the largest
// deviation at any grid point there.
struct FitError {
    double rmsDb = 0.0;
    double maxDb = 0.0;
};

// One band as the fit leaves it, in the parameters' own units. A band the fit does not use is
// off at 0 dB with its default frequency and Q.
struct FittedBand {
    bool on = false;
    BandType type = kPeak;  // band 1: kPeak or kLowShelf; band 12: kHighShelf or kPeak
    double frequencyHz = 0.0;
    double gainDb = 0.0;
    double q = 0.0;
};

struct FitResult {
    std::array<FittedBand, kBandCount> bands{};  // band 1 first
    double outputDb = 0.0;  // puts the correction's highest point at or below 0 dB
    FitError before;        // the measurement alone
    FitError after;         // the measurement with the fitted bands (the output level aside)
};

// Fits the bands. Never gives a non-finite value; an empty or unusable curve gives every band
// off and output 0 dB, and so does a curve the bands cannot bring closer to the target. Takes
// about 65 ms natively (bench/fit_bench.cpp).
FitResult FitCorrection(const FitRequest& request);

// The reference level that best aligns the measurement with the flat target between 200 Hz and
// 2 kHz (the mean level there over logarithmic frequency), at targetResponses' shown precision
// and within its range; its default (0 dB) when no finite point lies there.
double AlignedReferenceLevel(const double* measuredDb, const double* gridHz, int points);

// The error of measurement plus equaliser over 20 Hz to 10 kHz for given bands (the output level
// aside), as FitResult reports it.
FitError CorrectionError(const FitRequest& request,
                         const std::array<FittedBand, kBandCount>& bands);

// One parameter the fit sets: its host index and its value in the parameter's own units (Hz,
// dB, Q; switches 0 or 1), as ParamSpec::SetValue takes it.
struct FitParameterValue {
    int index = 0;
    double value = 0.0;
};

// Every parameter a fit sets: the twelve band switches, TipoF1 and TipoF12, frequency, gain and
// Q of every band, and out; in host index order.
inline constexpr int kFitParameterCount = kBandCount + 2 + kBandCount * kValuesPerBand + 1;
std::array<FitParameterValue, kFitParameterCount> FitParameterValues(const FitResult& fit);

}  // namespace corvalen
