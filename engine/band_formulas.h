// The band's formulas, the one home of its maths: coefficients from frequency, gain, Q and type,
// and the magnitude response from the coefficients. They are written once, generic over where
// the elementary functions come from: EqBand (the audio path and the graph) takes the C
// runtime's, RuntimeMaths; the automatic fit takes PortableMaths, which give the same bits on
// every build, so a fit does not depend on the runtime's last bit.
#pragma once

#include <cmath>

#include "engine/eq_band.h"

namespace corvalen {

struct RuntimeMaths {
    static double Sin(double x) { return std::sin(x); }
    static double Cos(double x) { return std::cos(x); }
    static double Log10(double x) { return std::log10(x); }
    static double TenToThe(double x) { return std::pow(10.0, x); }
};

namespace band_formulas {

inline constexpr double kTwoPi = 6.283185307179586;

inline bool AllFinite(const double* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) return false;
    }
    return true;
}

// EqBand::recompute with the given functions.
template <class Maths>
void Recompute(EqBand& band) {
    band.amplitude = Maths::TenToThe(band.gainDb * 0.025);
    band.w0 = band.frequency * kTwoPi / band.sampleRate;
    if (band.w0 > kMaxW0 && std::isfinite(band.w0)) band.w0 = kMaxW0;
    band.alpha = Maths::Sin(band.w0) * (0.5 / band.q);

    const double alpha = band.alpha;
    const double A = band.amplitude;
    const double c = Maths::Cos(band.w0);
    const double s = 2.0 * std::sqrt(A) * alpha;
    double next[6];  // b0 b1 b2 a0 a1 a2
    switch (band.type) {
        case kPeak:
            next[0] = 1.0 + alpha * A;
            next[1] = -2.0 * c;
            next[2] = 1.0 - alpha * A;
            next[3] = 1.0 + alpha / A;
            next[4] = -2.0 * c;
            next[5] = 1.0 - alpha / A;
            break;
        case kLowShelf:
            next[0] = A * ((A + 1.0) - (A - 1.0) * c + s);
            next[1] = 2.0 * A * ((A - 1.0) - (A + 1.0) * c);
            next[2] = A * ((A + 1.0) - (A - 1.0) * c - s);
            next[3] = (A + 1.0) + (A - 1.0) * c + s;
            next[4] = -2.0 * ((A - 1.0) + (A + 1.0) * c);
            next[5] = (A + 1.0) + (A - 1.0) * c - s;
            break;
        case kHighShelf:
            next[0] = A * ((A + 1.0) + (A - 1.0) * c + s);
            next[1] = -2.0 * A * ((A - 1.0) + (A + 1.0) * c);
            next[2] = A * ((A + 1.0) + (A - 1.0) * c - s);
            next[3] = (A + 1.0) - (A - 1.0) * c + s;
            next[4] = 2.0 * ((A - 1.0) - (A + 1.0) * c);
            next[5] = (A + 1.0) - (A - 1.0) * c - s;
            break;
        default: return;
    }
    const double k = 1.0 / next[3];
    FilterTaps nextTaps;
    nextTaps.b0 = k * next[0];
    nextTaps.b1 = k * next[1];
    nextTaps.b2 = k * next[2];
    nextTaps.a1 = k * next[4];
    nextTaps.a2 = k * next[5];
    const double tapValues[5] = {nextTaps.b0, nextTaps.b1, nextTaps.b2, nextTaps.a1, nextTaps.a2};
    // A band is stable only while 0 < w0 < pi and alpha > 0 (q > 0, frequency > 0, a positive
    // sample rate); anything else keeps the coefficients the band had.
    if (!(band.w0 > 0.0) || !(alpha > 0.0) || !AllFinite(next, 6) || !AllFinite(tapValues, 5)) {
        return;
    }

    band.b0 = next[0];
    band.b1 = next[1];
    band.b2 = next[2];
    band.a0 = next[3];
    band.a1 = next[4];
    band.a2 = next[5];
    band.taps = nextTaps;
}

// phi = sin^2(pi hz / rate).
template <class Maths>
double ResponsePhi(double hz, double sampleRate) {
    const double sine = Maths::Sin(0.5 * (hz * kTwoPi) / sampleRate);
    return sine * sine;
}

// The magnitude response in dB at phi from the band's stored coefficients.
template <class Maths>
double ResponseDbAtPhi(const EqBand& band, double phi) {
    const double phiSquared = phi * phi;
    const double bSum = band.b0 + band.b1 + band.b2;
    const double aSum = band.a0 + band.a1 + band.a2;
    const double bProduct = 16.0 * band.b0 * band.b2;
    const double aProduct = 16.0 * band.a0 * band.a2;
    const double numerator = bSum * bSum - (4.0 * band.b1 * (band.b0 + band.b2) + bProduct) * phi +
                             bProduct * phiSquared;
    const double denominator = aSum * aSum -
                               (4.0 * band.a1 * (band.a0 + band.a2) + aProduct) * phi +
                               aProduct * phiSquared;
    // Equal positive terms give exactly 0 either way (a band at 0 dB gain, or one not yet
    // computed); the logarithms are the costly part of drawing the graph.
    if (numerator == denominator && numerator > 0.0 && std::isfinite(numerator)) return 0.0;
    return 10.0 * Maths::Log10(numerator) - 10.0 * Maths::Log10(denominator);
}

}  // namespace band_formulas
}  // namespace corvalen
