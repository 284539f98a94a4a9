#!/usr/bin/env python3
"""Independent reference values for the engine tests.

Run from this folder:  python3 make_engine_reference.py > engine_reference.inc

Coefficients follow the peaking and shelving biquad definitions term by term; the bank's
magnitude is evaluated as |B(e^jw)| / |A(e^jw)| with complex arithmetic, not through the
sin^2 form the engine uses, so the two are independent derivations of the same response.
"""
import cmath
import math


def grid(i, n=800):
    return 10.0 ** (1.3 * (43.0 / 13.0) ** math.sqrt(i / n))


def coefficients(kind, fs, f0, gain_db, q):
    a = 10.0 ** (gain_db / 40.0)
    w0 = 2.0 * math.pi * f0 / fs
    alpha = math.sin(w0) / (2.0 * q)
    c = math.cos(w0)
    if kind == 0:  # peak
        return (1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a)
    s = 2.0 * math.sqrt(a) * alpha
    if kind == 1:  # low shelf
        return (a * ((a + 1) - (a - 1) * c + s), 2 * a * ((a - 1) - (a + 1) * c),
                a * ((a + 1) - (a - 1) * c - s), (a + 1) + (a - 1) * c + s,
                -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - s)
    return (a * ((a + 1) + (a - 1) * c + s), -2 * a * ((a - 1) + (a + 1) * c),
            a * ((a + 1) + (a - 1) * c - s), (a + 1) - (a - 1) * c + s,
            2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - s)


def magnitude_db(coef, fs, f):
    b0, b1, b2, a0, a1, a2 = coef
    z = cmath.exp(-1j * 2.0 * math.pi * f / fs)
    h = (b0 + b1 * z + b2 * z * z) / (a0 + a1 * z + a2 * z * z)
    return 20.0 * math.log10(abs(h))


# (type, sample rate, frequency, gain dB, Q)
BAND_CASES = [
    (0, 48000.0, 1000.0, 6.0, 0.71),
    (0, 44100.0, 72.6497, -12.5, 4.0),
    (1, 48000.0, 100.0, -4.5, 0.9),
    (1, 96000.0, 20.0, 24.0, 0.3),
    (2, 44100.0, 8000.0, 3.0, 0.71),
    (2, 48000.0, 18805.9, -24.0, 12.0),
]

# One bank setting: (type, frequency, gain, Q, enabled) per band, at 48 kHz.
BANK = [
    (1, 20.0, 6.0, 0.71, 1),
    (0, 72.6497, -3.0, 1.2, 1),
    (0, 144.388, 4.5, 2.0, 1),
    (0, 263.301, -6.0, 0.71, 0),
    (0, 462.128, 2.0, 3.0, 1),
    (0, 794.981, -1.5, 0.5, 1),
    (0, 1352.78, 3.0, 6.0, 1),
    (0, 2289.41, -8.0, 1.0, 1),
    (0, 3866.88, 5.0, 0.71, 1),
    (0, 6534.13, -2.5, 9.0, 1),
    (0, 11065.5, 1.0, 0.71, 1),
    (2, 18805.9, -4.0, 0.71, 1),
]
BANK_RATE = 48000.0
BANK_FREQUENCIES = [25.0, 72.6497, 150.0, 1000.0, 1352.78, 3000.0, 10000.0, 19000.0]


def main():
    print("// Made by tests/engine/data/make_engine_reference.py:")
    print("//   python3 make_engine_reference.py > engine_reference.inc")
    print("// Do not edit by hand.")
    print("inline constexpr double kGridReference[][2] = {")
    for i in (0, 1, 391, 400, 799):
        print(f"    {{{i}, {grid(i)!r}}},")
    print("};")
    print("struct BandReference { int type; double rate, hz, gainDb, q; double coef[6]; };")
    print("inline constexpr BandReference kBandReference[] = {")
    for kind, fs, f0, g, q in BAND_CASES:
        coef = ", ".join(repr(v) for v in coefficients(kind, fs, f0, g, q))
        print(f"    {{{kind}, {fs!r}, {f0!r}, {g!r}, {q!r}, {{{coef}}}}},")
    print("};")
    print("struct BankBand { int type; double hz, gainDb, q; int enabled; };")
    print("inline constexpr double kBankRate = %r;" % BANK_RATE)
    print("inline constexpr BankBand kBank[12] = {")
    for kind, f0, g, q, on in BANK:
        print(f"    {{{kind}, {f0!r}, {g!r}, {q!r}, {on}}},")
    print("};")
    print("// Bank magnitude at (frequency, dB) from |B/A| on the unit circle, enabled bands only.")
    print("inline constexpr double kBankResponse[][2] = {")
    for f in BANK_FREQUENCIES:
        total = 0.0
        for kind, f0, g, q, on in BANK:
            if on:
                total += magnitude_db(coefficients(kind, BANK_RATE, f0, g, q), BANK_RATE, f)
        print(f"    {{{f!r}, {total!r}}},")
    print("};")


main()
