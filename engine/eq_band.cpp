#include "engine/eq_band.h"

#include <cmath>

namespace corvalen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

bool AllFinite(const double* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) return false;
    }
    return true;
}

}  // namespace

void EqBand::recompute() {
    amplitude = std::pow(10.0, gainDb * 0.025);
    w0 = frequency * kTwoPi / sampleRate;
    if (w0 > kMaxW0 && std::isfinite(w0)) w0 = kMaxW0;
    alpha = std::sin(w0) * (0.5 / q);

    const double A = amplitude;
    const double c = std::cos(w0);
    const double s = 2.0 * std::sqrt(A) * alpha;
    double next[6];  // b0 b1 b2 a0 a1 a2
    switch (type) {
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
    if (!(w0 > 0.0) || !(alpha > 0.0) || !AllFinite(next, 6) || !AllFinite(tapValues, 5)) return;

    b0 = next[0];
    b1 = next[1];
    b2 = next[2];
    a0 = next[3];
    a1 = next[4];
    a2 = next[5];
    taps = nextTaps;
}

double EqBand::responsePhi(double hz) const {
    const double sine = std::sin(0.5 * (hz * kTwoPi) / sampleRate);
    return sine * sine;
}

double EqBand::responseDbAtPhi(double phi) const {
    const double phiSquared = phi * phi;
    const double bSum = b0 + b1 + b2;
    const double aSum = a0 + a1 + a2;
    const double bProduct = 16.0 * b0 * b2;
    const double aProduct = 16.0 * a0 * a2;
    const double numerator =
        bSum * bSum - (4.0 * b1 * (b0 + b2) + bProduct) * phi + bProduct * phiSquared;
    const double denominator =
        aSum * aSum - (4.0 * a1 * (a0 + a2) + aProduct) * phi + aProduct * phiSquared;
    // Equal positive terms give exactly 0 either way (a band at 0 dB gain, or one not yet
    // computed); the logarithms are the costly part of drawing the graph.
    if (numerator == denominator && numerator > 0.0 && std::isfinite(numerator)) return 0.0;
    return 10.0 * std::log10(numerator) - 10.0 * std::log10(denominator);
}

}  // namespace corvalen
