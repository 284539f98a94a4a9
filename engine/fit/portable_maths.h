// Elementary functions that give the same bits on every build and processor: the fit's only
// source of sin, cos, exp and logarithms. The C runtimes round these differently in their last
// bit (glibc and the Windows runtime, and glibc again by whether the processor has fused
// multiply-add), and the optimiser turns one differing bit into a differing band. These use
// only + - * / and sqrt, which IEEE arithmetic rounds exactly everywhere, in a file built
// without contraction; they are within about one unit in the last place on the ranges the fit
// uses (tests/engine/portable_maths_test.cpp).
//
// Any thread: pure functions.
#pragma once

namespace corvalen {

struct PortableMaths {
    // Accurate for |x| up to 1e5 (the reduction keeps 86 bits of pi/2); beyond 1e6 they give
    // 0 and 1.
    static double Sin(double x);
    static double Cos(double x);
    // |x| <= 1; NaN outside.
    static double Asin(double x);
    static double Exp(double x);
    // Natural logarithm; -inf at 0, NaN below.
    static double Log(double x);
    static double Log10(double x);
    // 10^x; exact for whole x from -22 to 22, as the powers of ten that scale shown values.
    static double TenToThe(double x);
    // 2^x.
    static double TwoToThe(double x);
};

}  // namespace corvalen
