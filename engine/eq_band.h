// One second-order filter band of the equaliser: its inputs, its coefficients as the formulas
// give them (not normalised), the per-sample multipliers derived from them, and a direct-form-I
// memory per channel.
#pragma once

#include <cstdint>

namespace corvalen {

enum BandType : std::int32_t {
    kPeak = 0,
    kLowShelf = 1,
    kHighShelf = 2,
};

// Direct-form-I memory of one band for one channel.
struct ChannelState {
    double y1 = 0.0;  // previous output
    double y2 = 0.0;  // output before that
    double x1 = 0.0;  // previous input
    double x2 = 0.0;  // input before that
};

// The five multipliers of the per-sample filter: (1/a0)*b0, (1/a0)*b1, (1/a0)*b2, (1/a0)*a1,
// (1/a0)*a2. They are the very products the filter formula forms for every sample, computed
// once per coefficient change instead, so filtering with them gives the same bits.
struct FilterTaps {
    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// Marks a slot that no recompute has filled yet.
inline constexpr double kNotComputed = -666.0;

// Highest w0 a band is tuned to, just below half the sample rate. At or above half the sample
// rate sin(w0) would be zero or negative, which makes alpha <= 0 and the band unstable; the band
// is tuned to this limit instead. It only applies at sample rates below 40 kHz, where 20 kHz
// bands reach it (44.1 kHz gives w0 = 2.85 at 20 kHz, below the limit of 3.11).
inline constexpr double kMaxW0 = 0.99 * 3.141592653589793;

struct EqBand {
    double sampleRate = 48000.0;
    double frequency = 0.0;
    double gainDb = 0.0;
    double q = 0.0;
    std::int32_t type = kPeak;
    double amplitude = kNotComputed;
    double w0 = kNotComputed;
    double alpha = kNotComputed;
    double b0 = kNotComputed;
    double b1 = kNotComputed;
    double b2 = kNotComputed;
    double a0 = kNotComputed;
    double a1 = kNotComputed;
    double a2 = kNotComputed;
    ChannelState channel[2];
    // Pass-through until the first recompute with finite results: a band that was never tuned must
    // not filter with the -666 placeholders.
    FilterTaps taps;

    // Derives amplitude, w0, alpha and the six coefficients from the inputs. An unknown type keeps
    // the previous coefficients; so does a result that is not finite or not stable (a band whose q
    // or frequency is still 0 before the first parameter pass, a rate that is not positive), so the
    // filter never sees Inf or NaN. The channel memories are left alone.
    // Any thread that writes band inputs, instance lock held.
    void recompute();

    // Magnitude response in dB at frequency hz from the stored coefficients, ignoring whether the
    // band is switched on (the caller weighs it).
    // Editor thread without the lock, or any thread: reads the coefficients as they stand.
    double responseDb(double hz) const { return responseDbAtPhi(responsePhi(hz)); }
    // The two halves of responseDb: phi = sin^2(pi hz / rate) depends only on the frequency and
    // the sample rate, so bands at one rate share it (the graph sums twelve at every point).
    double responsePhi(double hz) const;
    double responseDbAtPhi(double phi) const;
};

// The per-sample direct-form-I step of one band for one channel.
inline double FilterSample(const FilterTaps& t, ChannelState& s, double x) {
    const double y = t.b0 * x + t.b1 * s.x1 + t.b2 * s.x2 - t.a1 * s.y1 - t.a2 * s.y2;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

}  // namespace corvalen
