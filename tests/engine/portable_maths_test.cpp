// The fit's own elementary functions against the runtime's in extended precision (x86's 64-bit
// mantissa, rounded once to a double: the correctly rounded value but for rare ties): densely
// over every range the fit uses and beyond, and exactly where exact answers exist (whole powers
// of ten, the special values).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "engine/fit/portable_maths.h"

namespace corvalen {
namespace {

// How many doubles lie between a and b (0 when equal; both of one sign).
std::int64_t UnitsApart(double a, double b) {
    std::int64_t x;
    std::int64_t y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x > y ? x - y : y - x;
}

struct Range {
    const char* name;
    double (*portable)(double);
    double (*runtime)(double);
    double low;
    double high;
};

double RuntimeSin(double x) { return static_cast<double>(std::sin(static_cast<long double>(x))); }
double RuntimeCos(double x) { return static_cast<double>(std::cos(static_cast<long double>(x))); }
double RuntimeAsin(double x) { return static_cast<double>(std::asin(static_cast<long double>(x))); }
double RuntimeExp(double x) { return static_cast<double>(std::exp(static_cast<long double>(x))); }
double RuntimeLog(double x) { return static_cast<double>(std::log(static_cast<long double>(x))); }
double RuntimeLog10(double x) {
    return static_cast<double>(std::log10(static_cast<long double>(x)));
}
double RuntimeTenToThe(double x) {
    return static_cast<double>(std::pow(10.0L, static_cast<long double>(x)));
}
double RuntimeTwoToThe(double x) {
    return static_cast<double>(std::pow(2.0L, static_cast<long double>(x)));
}

// The fit's ranges: band angles and the optimiser's sine mapping, log-frequency and log-Q, the
// biquad terms' logarithms, gains as amplitudes, octave widths; then the functions' whole range.
const Range kRanges[] = {
    {"sin", PortableMaths::Sin, RuntimeSin, -8.0, 8.0},
    {"sin", PortableMaths::Sin, RuntimeSin, -1.0e5, 1.0e5},
    {"sin", PortableMaths::Sin, RuntimeSin, 1.0e-9, 1.0e-3},
    {"cos", PortableMaths::Cos, RuntimeCos, -8.0, 8.0},
    {"cos", PortableMaths::Cos, RuntimeCos, -1.0e5, 1.0e5},
    {"asin", PortableMaths::Asin, RuntimeAsin, -1.0, 1.0},
    {"asin", PortableMaths::Asin, RuntimeAsin, 0.97, 1.0},
    {"exp", PortableMaths::Exp, RuntimeExp, -3.0, 12.0},
    {"exp", PortableMaths::Exp, RuntimeExp, -745.0, 709.0},
    {"log", PortableMaths::Log, RuntimeLog, 0.1, 30000.0},
    {"log", PortableMaths::Log, RuntimeLog, 0.9, 1.1},
    {"log", PortableMaths::Log, RuntimeLog, 1.0e-300, 1.0e300},
    {"log10", PortableMaths::Log10, RuntimeLog10, 1.0e-6, 1.0e6},
    {"log10", PortableMaths::Log10, RuntimeLog10, 0.99, 1.01},
    {"log10", PortableMaths::Log10, RuntimeLog10, 1.0e-300, 1.0e300},
    {"10^x", PortableMaths::TenToThe, RuntimeTenToThe, -1.0, 1.0},
    {"10^x", PortableMaths::TenToThe, RuntimeTenToThe, -300.0, 300.0},
    {"2^x", PortableMaths::TwoToThe, RuntimeTwoToThe, -4.0, 4.0},
};

TEST(PortableMathsTest, WithinOneUnitInTheLastPlaceOfTheRuntimesOverDenseRanges) {
#ifdef _WIN32
    // The MinGW runtime's extended-precision functions are no reference (the x87 sine loses
    // digits near multiples of pi); the native build judges the accuracy, and the golden fits
    // show the Windows build computes the same bits.
    GTEST_SKIP() << "the runtime is no reference here";
#endif
    constexpr int kSteps = 400000;
    for (const Range& range : kRanges) {
        // Spaced evenly, or evenly in logarithm for ranges over many decades.
        const bool logarithmic = range.low > 0.0 && range.high / range.low > 1.0e3;
        std::int64_t worst = 0;
        double worstAt = range.low;
        for (int step = 0; step <= kSteps; ++step) {
            const double t = static_cast<double>(step) / kSteps;
            const double x = logarithmic ? range.low * std::pow(range.high / range.low, t)
                                         : range.low + (range.high - range.low) * t;
            const double got = range.portable(x);
            const double want = range.runtime(x);
            const std::int64_t apart = got == want ? 0 : UnitsApart(got, want);
            if (apart > worst) {
                worst = apart;
                worstAt = x;
            }
        }
        EXPECT_LE(worst, 1) << range.name << " on [" << range.low << ", " << range.high
                            << "], worst at " << worstAt;
    }
}

TEST(PortableMathsTest, ExactAndSpecialValues) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    // The decimal literal, as the C library reads it (correctly rounded in both builds).
    for (int n = -22; n <= 22; ++n) {
        const std::string power = "1e" + std::to_string(n);
        EXPECT_EQ(PortableMaths::TenToThe(n), std::strtod(power.c_str(), nullptr)) << n;
    }
    struct Case {
        const char* name;
        double got;
        double want;
    };
    const Case cases[] = {
        {"sin 0", PortableMaths::Sin(0.0), 0.0},
        {"cos 0", PortableMaths::Cos(0.0), 1.0},
        {"asin 1", PortableMaths::Asin(1.0), 1.5707963267948966},
        {"asin -1", PortableMaths::Asin(-1.0), -1.5707963267948966},
        {"exp 0", PortableMaths::Exp(0.0), 1.0},
        {"exp 710", PortableMaths::Exp(710.0), kInf},
        {"exp -746", PortableMaths::Exp(-746.0), 0.0},
        {"exp -inf", PortableMaths::Exp(-kInf), 0.0},
        {"log 1", PortableMaths::Log(1.0), 0.0},
        {"log 0", PortableMaths::Log(0.0), -kInf},
        {"log inf", PortableMaths::Log(kInf), kInf},
        {"log subnormal", PortableMaths::Log(4.9406564584124654e-324),
         std::log(4.9406564584124654e-324)},
        {"log10 1", PortableMaths::Log10(1.0), 0.0},
        {"log10 1000", PortableMaths::Log10(1000.0), 3.0},
        {"log10 0", PortableMaths::Log10(0.0), -kInf},
        {"2^10", PortableMaths::TwoToThe(10.0), 1024.0},
        {"2^-3", PortableMaths::TwoToThe(-3.0), 0.125},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
    const double notANumber[] = {PortableMaths::Sin(kInf),      PortableMaths::Cos(kNaN),
                                 PortableMaths::Asin(1.5),      PortableMaths::Exp(kNaN),
                                 PortableMaths::Log(-1.0),      PortableMaths::Log10(kNaN),
                                 PortableMaths::TenToThe(kNaN), PortableMaths::TwoToThe(kNaN)};
    for (double value : notANumber) EXPECT_TRUE(std::isnan(value));
}

}  // namespace
}  // namespace corvalen
