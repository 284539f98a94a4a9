#!/usr/bin/env python3
"""Independent reference positions for the response graph tests.

Run from this folder:  python3 make_graph_reference.py > graph_reference.inc

Positions are in layout units of the 1600 x 640 graph at full size (one unit one pixel):
a grid point i sits at x = 2 i, a level of d dB at y = trunc(320 - 13.3 d). The peak's
response is |B(e^jw)| / |A(e^jw)| evaluated with complex arithmetic from the peaking biquad's
definition, not through the sin^2 form the engine uses.
"""
import cmath
import math

N = 800
H = 640
PER_DB = 13.3


def grid(i):
    return 10.0 ** (1.3 * (43.0 / 13.0) ** math.sqrt(i / N))


def level_y(db):
    return math.trunc(0.5 * H - PER_DB * db)


def marker_column(hz):
    for i in range(0, N + 1):
        if grid(i) < hz < grid(i + 1):
            return i
    return -1


def marker_y(gain):
    y = H // 2 - gain * PER_DB
    if y <= 3:
        y += 14
    elif y >= H - 3:
        y -= 14
    return y


def peak_db(fs, f0, gain_db, q, hz):
    a = 10.0 ** (gain_db / 40.0)
    w0 = 2.0 * math.pi * f0 / fs
    alpha = math.sin(w0) / (2.0 * q)
    b = [1 + alpha * a, -2 * math.cos(w0), 1 - alpha * a]
    d = [1 + alpha / a, -2 * math.cos(w0), 1 - alpha / a]
    z = cmath.exp(-1j * 2.0 * math.pi * hz / fs)
    num = b[0] + b[1] * z + b[2] * z * z
    den = d[0] + d[1] * z + d[2] * z * z
    return 20.0 * math.log10(abs(num) / abs(den))


TICKS = [19.9526, 49.9671, 100.245, 199.558, 498.756, 1000.41, 1993.25, 4989.23, 9985.78,
         19952.6]
DEFAULT_BANDS = [20.0, 72.6497, 144.388, 263.301, 462.128, 794.981, 1352.78, 2289.41,
                 3866.88, 6534.13, 11065.5, 18805.9]

print("// Made by tests/editor/data/make_graph_reference.py:")
print("//   python3 make_graph_reference.py > graph_reference.inc")
print("// Do not edit by hand.")

# Ticks: scanning the points in order, the next tick is placed where it matches.
columns = []
t = 0
for i in range(N):
    if t < len(TICKS) and math.trunc(10 * TICKS[t]) == math.trunc(10 * grid(i)):
        columns.append(i)
        t += 1
assert t == len(TICKS) - 1, "the last tick must never be reached"
print("inline constexpr int kTickX[] = {%s};" % ", ".join(str(2 * c) for c in columns))

print("inline constexpr int kDefaultMarkerX[] = {%s};" %
      ", ".join(str(2 * marker_column(f)) for f in DEFAULT_BANDS))

print("struct MarkerCase { double hz, gainDb; int x; double y; };")
print("inline constexpr MarkerCase kMarkerCases[] = {")
for hz, gain in [(20.0, 24.0), (20000.0, -24.0), (1000.0, 0.0), (5000.0, 12.0), (19.9, 0.0),
                 (20200.0, 0.0), (150.0, -23.8), (3000.0, 23.9)]:
    c = marker_column(hz)
    print("    {%r, %r, %d, %r}," % (hz, gain, 2 * c if c >= 0 else -1, marker_y(gain)))
print("};")

# +12 dB at 1 kHz, Q 1, 48 kHz: EQ curve positions at columns away from every marker and
# from a truncation boundary.
PEAK = (48000.0, 1000.0, 12.0, 1.0)
marker_x = 2 * marker_column(PEAK[1])
print("inline constexpr int kPeakMarkerX = %d;" % marker_x)
print("struct CurveProbe { int x, y; };")
print("inline constexpr CurveProbe kPeakProbes[] = {")
for i in [60, 150, 250, 300, 330, 350, 372, 405, 420, 450, 480, 560, 700]:
    exact = 0.5 * H - PER_DB * peak_db(*PEAK, grid(i))
    frac = exact - math.floor(exact)
    assert 0.01 < frac < 0.99, (i, exact)
    assert abs(2 * i - marker_x) > 20
    print("    {%d, %d}," % (2 * i, level_y(peak_db(*PEAK, grid(i)))))
print("};")

# The bypass sign of the 1600 x 640 graph and its shadow.
left, top, right, bottom = int(0.25 * 1600), int(0.3 * H), int(0.75 * 1600), int(0.7 * H)
pl, pt = left + int(0.25 * (right - left)), top + int(0.3 * (bottom - top))
pr, pb = right - int(0.25 * (right - left)), bottom - int(0.3 * (bottom - top))
print("inline constexpr int kBypassCover[4] = {%d, %d, %d, %d};" % (left, top, right + 12, bottom + 12))
print("inline constexpr int kBypassPanel[4] = {%d, %d, %d, %d};" % (pl, pt, pr, pb))
print("inline constexpr int kBypassTextSize = %d;" % (pb - pt - 10))
