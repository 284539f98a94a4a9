// The classic argument reductions and minimax polynomials (as in the freely distributed
// mathematics libraries of the 1990s), written out so that every build evaluates them in the
// same order. Nothing here calls the C runtime; bit patterns go through memcpy.
#include "engine/fit/portable_maths.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace corvalen {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::uint64_t Bits(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

double FromBits(std::uint64_t bits) {
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

double Abs(double x) { return FromBits(Bits(x) & 0x7fffffffffffffffULL); }

// The nearest whole number to x, for |x| < 2^51: adding and taking away 1.5 * 2^52 rounds in the
// current (nearest-even) mode without a runtime call.
double Nearest(double x) {
    constexpr double kShifter = 6755399441055744.0;
    return (x + kShifter) - kShifter;
}

// 2^k for -1022 <= k <= 1023.
double PowerOfTwo(int k) { return FromBits(static_cast<std::uint64_t>(k + 1023) << 52); }

// sin and cos of x + tail on |x| <= pi/4.
double SinKernel(double x, double tail) {
    constexpr double S1 = -1.66666666666666324348e-01;
    constexpr double S2 = 8.33333333332248946124e-03;
    constexpr double S3 = -1.98412698298579493134e-04;
    constexpr double S4 = 2.75573137070700676789e-06;
    constexpr double S5 = -2.50507602534068634195e-08;
    constexpr double S6 = 1.58969099521155010221e-10;
    const double z = x * x;
    const double v = z * x;
    const double r = S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)));
    return x - ((z * (0.5 * tail - v * r) - tail) - v * S1);
}

double CosKernel(double x, double tail) {
    constexpr double C1 = 4.16666666666666019037e-02;
    constexpr double C2 = -1.38888888888741095749e-03;
    constexpr double C3 = 2.48015872894767294178e-05;
    constexpr double C4 = -2.75573143513906633035e-07;
    constexpr double C5 = 2.08757232129817482790e-09;
    constexpr double C6 = -1.13596475577881948265e-11;
    const double z = x * x;
    const double r = z * (C1 + z * (C2 + z * (C3 + z * (C4 + z * (C5 + z * C6)))));
    const double half = 0.5 * z;
    const double w = 1.0 - half;
    return w + (((1.0 - w) - half) + (z * r - x * tail));
}

// x less the nearest multiple k of pi/2, as head + tail, and k mod 4.
struct Reduced {
    double head;
    double tail;
    int quadrant;
};

Reduced ReduceByHalfPi(double x) {
    constexpr double kTwoOverPi = 6.36619772367581382433e-01;
    // pi/2 as a 33-bit head and a tail: k times the head is exact for |k| < 2^20.
    constexpr double kHalfPiHead = 1.57079632673412561417e+00;
    constexpr double kHalfPiTail = 6.07710050650619224932e-11;
    const double k = Nearest(x * kTwoOverPi);
    const double r = x - k * kHalfPiHead;
    const double w = k * kHalfPiTail;
    Reduced reduced;
    reduced.head = r - w;
    reduced.tail = (r - reduced.head) - w;
    const std::int64_t whole = static_cast<std::int64_t>(k);
    reduced.quadrant = static_cast<int>(whole & 3);
    return reduced;
}

// The largest argument reduced; beyond it k would leave the exact range of the head product.
constexpr double kLargestAngle = 1.0e6;

// e^(x + tail) for |tail| much smaller than |x|.
double ExpWithTail(double x, double tail) {
    if (x != x) return x;
    if (x > 709.782712893383973096) return kInfinity;
    if (x < -745.13321910194110842) return 0.0;
    constexpr double kLn2Head = 6.93147180369123816490e-01;
    constexpr double kLn2Tail = 1.90821492927058770002e-10;
    constexpr double kInverseLn2 = 1.44269504088896338700e+00;
    constexpr double P1 = 1.66666666666666019037e-01;
    constexpr double P2 = -2.77777777770155933842e-03;
    constexpr double P3 = 6.61375632143793436117e-05;
    constexpr double P4 = -1.65339022054652515390e-06;
    constexpr double P5 = 4.13813679705723846039e-08;
    const double k = Nearest(x * kInverseLn2);
    const double hi = x - k * kLn2Head;
    const double lo = k * kLn2Tail - tail;
    const double r = hi - lo;
    const double t = r * r;
    const double c = r - t * (P1 + t * (P2 + t * (P3 + t * (P4 + t * P5))));
    const double y = 1.0 - ((lo - (r * c) / (2.0 - c)) - hi);
    const int power = static_cast<int>(k);
    // Scaled in two steps near the ends of the range, so neither factor overflows.
    if (power > 1023) return y * PowerOfTwo(1023) * PowerOfTwo(power - 1023);
    if (power < -1021) return y * PowerOfTwo(power + 1000) * PowerOfTwo(-1000);
    return y * PowerOfTwo(power);
}

// a * b exactly as head + tail (Dekker's product, by halves of 26 bits; no fused operation).
struct Product {
    double head;
    double tail;
};

Product ExactProduct(double a, double b) {
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double ca = kSplitter * a;
    const double aHigh = ca - (ca - a);
    const double aLow = a - aHigh;
    const double cb = kSplitter * b;
    const double bHigh = cb - (cb - b);
    const double bLow = b - bHigh;
    Product p;
    p.head = a * b;
    p.tail = ((aHigh * bHigh - p.head) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
    return p;
}

// e^(x * (logHead + logTail)) with the product formed to twice the precision, so the power
// keeps the accuracy of the exponential.
double ExpOfProduct(double x, double logHead, double logTail) {
    if (x != x) return x;
    // Far beyond either end of the double range; the split below would overflow.
    if (x > 1.0e4) return kInfinity;
    if (x < -1.0e4) return 0.0;
    const Product p = ExactProduct(x, logHead);
    return ExpWithTail(p.head, p.tail + x * logTail);
}

// x = 2^k * (1 + f) with sqrt(2)/2 <= 1 + f < sqrt(2), for finite x > 0; the pieces of
// log(1 + f) the logarithms share.
struct LogParts {
    double k;
    double f;
    double s;          // f / (2 + f)
    double halfF2;     // f^2 / 2
    double remainder;  // log(1 + f) = f - halfF2 + s * (halfF2 + remainder)
};

inline LogParts Split(double x) {
    constexpr double Lg1 = 6.666666666666735130e-01;
    constexpr double Lg2 = 3.999999999940941908e-01;
    constexpr double Lg3 = 2.857142874366239149e-01;
    constexpr double Lg4 = 2.222219843214978396e-01;
    constexpr double Lg5 = 1.818357216161805012e-01;
    constexpr double Lg6 = 1.531383769920937332e-01;
    constexpr double Lg7 = 1.479819860511658591e-01;
    int k = 0;
    if (x < 2.2250738585072014e-308) {  // subnormal: scale up by 2^54
        x *= 18014398509481984.0;
        k -= 54;
    }
    std::uint64_t bits = Bits(x);
    std::uint32_t high = static_cast<std::uint32_t>(bits >> 32);
    k += static_cast<int>(high >> 20) - 1023;
    high &= 0x000fffffU;
    // 0x95f64 moves the mantissas from sqrt(2) up into the next binade.
    const std::uint32_t carry = (high + 0x95f64U) & 0x100000U;
    high |= carry ^ 0x3ff00000U;
    k += static_cast<int>(carry >> 20);
    bits = (static_cast<std::uint64_t>(high) << 32) | (bits & 0xffffffffULL);
    LogParts parts;
    parts.k = static_cast<double>(k);
    parts.f = FromBits(bits) - 1.0;
    parts.s = parts.f / (2.0 + parts.f);
    const double z = parts.s * parts.s;
    const double w = z * z;
    const double t1 = w * (Lg2 + w * (Lg4 + w * Lg6));
    const double t2 = z * (Lg1 + w * (Lg3 + w * (Lg5 + w * Lg7)));
    parts.remainder = t2 + t1;
    parts.halfF2 = 0.5 * parts.f * parts.f;
    return parts;
}

// The values a logarithm takes outside the finite positive numbers; false for those.
bool SpecialLogarithm(double x, double& value) {
    if (x != x) {
        value = x;
    } else if (x < 0.0) {
        value = kNaN;
    } else if (x == 0.0) {
        value = -kInfinity;
    } else if (x == kInfinity) {
        value = kInfinity;
    } else {
        return false;
    }
    return true;
}

}  // namespace

double PortableMaths::Sin(double x) {
    if (!(Abs(x) <= kLargestAngle)) return x != x || Abs(x) == kInfinity ? kNaN : 0.0 * x;
    const Reduced r = ReduceByHalfPi(x);
    switch (r.quadrant) {
        case 0: return SinKernel(r.head, r.tail);
        case 1: return CosKernel(r.head, r.tail);
        case 2: return -SinKernel(r.head, r.tail);
        default: return -CosKernel(r.head, r.tail);
    }
}

double PortableMaths::Cos(double x) {
    if (!(Abs(x) <= kLargestAngle)) return x != x || Abs(x) == kInfinity ? kNaN : 1.0;
    const Reduced r = ReduceByHalfPi(x);
    switch (r.quadrant) {
        case 0: return CosKernel(r.head, r.tail);
        case 1: return -SinKernel(r.head, r.tail);
        case 2: return -CosKernel(r.head, r.tail);
        default: return SinKernel(r.head, r.tail);
    }
}

double PortableMaths::Asin(double x) {
    constexpr double kHalfPiHead = 1.57079632679489655800e+00;
    constexpr double kHalfPiTail = 6.12323399573676603587e-17;
    constexpr double pS0 = 1.66666666666666657415e-01;
    constexpr double pS1 = -3.25565818622400915405e-01;
    constexpr double pS2 = 2.01212532134862925881e-01;
    constexpr double pS3 = -4.00555345006794114027e-02;
    constexpr double pS4 = 7.91534994289814532176e-04;
    constexpr double pS5 = 3.47933107596021167570e-05;
    constexpr double qS1 = -2.40339491173441421878e+00;
    constexpr double qS2 = 2.02094576023350569471e+00;
    constexpr double qS3 = -6.88283971605453293030e-01;
    constexpr double qS4 = 7.70381505559019352791e-02;
    // (asin(sqrt(z)) - sqrt(z)) / sqrt(z)^3, as a rational function of z.
    const auto rational = [=](double z) {
        const double p = z * (pS0 + z * (pS1 + z * (pS2 + z * (pS3 + z * (pS4 + z * pS5)))));
        const double q = 1.0 + z * (qS1 + z * (qS2 + z * (qS3 + z * qS4)));
        return p / q;
    };
    const double magnitude = Abs(x);
    if (!(magnitude < 1.0)) return magnitude == 1.0 ? x * kHalfPiHead : kNaN;
    if (magnitude < 0.5) {
        if (magnitude < 1.0e-8) return x;
        return x + x * rational(x * x);
    }
    // asin(x) = pi/2 - 2 asin(sqrt((1 - x) / 2)).
    const double z = (1.0 - magnitude) * 0.5;
    const double s = std::sqrt(z);
    const double r = rational(z);
    double result;
    if (magnitude >= 0.975) {
        result = kHalfPiHead - (2.0 * (s + s * r) - kHalfPiTail);
    } else {
        // s split into a head with a short mantissa and the rest, so 2 s keeps its accuracy.
        const double head = FromBits(Bits(s) & 0xffffffff00000000ULL);
        const double c = (z - head * head) / (s + head);
        const double p = 2.0 * s * r - (kHalfPiTail - 2.0 * c);
        const double q = 0.5 * kHalfPiHead - 2.0 * head;
        result = 0.5 * kHalfPiHead - (p - q);
    }
    return x < 0.0 ? -result : result;
}

double PortableMaths::Exp(double x) { return ExpWithTail(x, 0.0); }

double PortableMaths::Log(double x) {
    double special = 0.0;
    if (SpecialLogarithm(x, special)) return special;
    constexpr double kLn2Head = 6.93147180369123816490e-01;
    constexpr double kLn2Tail = 1.90821492927058770002e-10;
    const LogParts p = Split(x);
    return p.k * kLn2Head - ((p.halfF2 - (p.s * (p.halfF2 + p.remainder) + p.k * kLn2Tail)) - p.f);
}

double PortableMaths::Log10(double x) {
    double special = 0.0;
    if (SpecialLogarithm(x, special)) return special;
    constexpr double kInverseLn10Head = 4.34294481878168880939e-01;
    constexpr double kInverseLn10Tail = 2.50829467116452752298e-11;
    constexpr double kLog10Of2Head = 3.01029995663611771306e-01;
    constexpr double kLog10Of2Tail = 3.69423907715893078616e-13;
    const LogParts p = Split(x);
    // log(1 + f) as a head with a short mantissa and the rest, each times 1/ln 10 in two parts.
    const double head = FromBits(Bits(p.f - p.halfF2) & 0xffffffff00000000ULL);
    const double rest = p.f - head - p.halfF2 + p.s * (p.halfF2 + p.remainder);
    const double scaledHead = head * kInverseLn10Head;
    const double exponent = p.k * kLog10Of2Head;
    double low = p.k * kLog10Of2Tail + (rest + head) * kInverseLn10Tail + rest * kInverseLn10Head;
    const double sum = exponent + scaledHead;
    low += (exponent - sum) + scaledHead;
    return low + sum;
}

double PortableMaths::TenToThe(double x) {
    // Whole powers from -22 to 22 are exact: 10^n is a double there, and 1 / 10^n is rounded
    // once.
    if (Abs(x) <= 22.0 && Nearest(x) == x) {
        double power = 1.0;
        for (double n = Abs(x); n > 0.0; n -= 1.0) power *= 10.0;
        return x < 0.0 ? 1.0 / power : power;
    }
    constexpr double kLn10Head = 2.302585092994046;
    constexpr double kLn10Tail = -2.1707562233822494e-16;
    return ExpOfProduct(x, kLn10Head, kLn10Tail);
}

double PortableMaths::TwoToThe(double x) {
    constexpr double kLn2Head = 0.6931471805599453;
    constexpr double kLn2Tail = 2.3190468138462996e-17;
    return ExpOfProduct(x, kLn2Head, kLn2Tail);
}

}  // namespace corvalen
