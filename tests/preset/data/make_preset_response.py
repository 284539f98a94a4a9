#!/usr/bin/env python3
"""Expected results of the preset wine test, computed from the parametric text alone: the
filters placed on the twelve bands as the preset tool is meant to place them, every parameter's
display text as a host reads it, and the magnitude response of the cascade of cookbook filters
(peak, low shelf and high shelf with the slope given as Q) with the preamp, at 30 log-spaced
frequencies. Written without the plug-in's code.

Regenerate with:
  python3 tests/preset/data/make_preset_response.py tests/preset/data/response_case.txt > tests/preset/data/preset_response.inc
"""
import cmath
import math
import sys

RATE = 48000.0
POINTS = 30
DEFAULT_FREQS = [20, 72.6497, 144.388, 263.301, 462.128, 794.981,
                 1352.78, 2289.41, 3866.88, 6534.13, 11065.5, 18805.9]
DEFAULT_Q = 0.71
HOST_TEXT_LIMIT = 7  # VST2 parameter texts: 8 bytes with the terminating zero


def clamp(value, low, high):
    return min(max(value, low), high)


def read_correction(path):
    text = open(path, 'rb').read().decode('utf-8-sig')
    preamp = 0.0
    filters = []  # (on, kind, fc, gain, q)
    for raw in text.replace('\r\n', '\n').replace('\r', '\n').split('\n'):
        line = raw.split('#')[0].strip()
        if not line:
            continue
        head, rest = line.split(':', 1)
        words = rest.split()
        if head.strip().lower() == 'preamp':
            preamp = float(words[0])
            continue
        on = words[0].lower() == 'on'
        kind = {'pk': 'peak', 'lsc': 'low', 'ls': 'low', 'hsc': 'high', 'hs': 'high'}[words[1].lower()]
        values = {}
        i = 2
        while i < len(words):
            key = words[i].lower()
            if key == 'bw':
                octaves = float(words[i + 2])
                values['q'] = math.sqrt(2 ** octaves) / (2 ** octaves - 1)
                i += 3
            elif key == 'q':
                values['q'] = float(words[i + 1])
                i += 2
            else:  # fc ... hz, gain ... db
                values[key] = float(words[i + 1])
                i += 3
        filters.append((on, kind, clamp(values['fc'], 20, 20000), clamp(values['gain'], -24, 24),
                        clamp(values['q'], 0.3, 12)))
    return clamp(preamp, -12, 12), filters


def place(filters):
    """Twelve bands of (on, kind, fc, gain, q): low shelf on 1, high shelf on 12, peaks in
    frequency order on the others, the rest off at 0 dB."""
    bands = [None] * 12
    peaks = []
    for f in filters:
        if not f[0] and f[3] == 0:
            continue
        if f[1] == 'low':
            bands[0] = f
        elif f[1] == 'high':
            bands[11] = f
        else:
            peaks.append(f)
    free = [k for k in range(12) if bands[k] is None]
    for k, f in zip(free, sorted(peaks, key=lambda f: f[2])):
        bands[k] = f
    for k in range(12):
        if bands[k] is None:
            bands[k] = (False, 'high' if k == 11 else 'peak', DEFAULT_FREQS[k], 0.0, DEFAULT_Q)
    return bands


def cookbook(kind, fc, gain, q):
    a = 10 ** (gain / 40)
    w0 = 2 * math.pi * fc / RATE
    alpha = math.sin(w0) / (2 * q)
    c = math.cos(w0)
    if kind == 'peak':
        return (1 + alpha * a, -2 * c, 1 - alpha * a), (1 + alpha / a, -2 * c, 1 - alpha / a)
    s = 2 * math.sqrt(a) * alpha
    if kind == 'low':
        return ((a * ((a + 1) - (a - 1) * c + s), 2 * a * ((a - 1) - (a + 1) * c),
                 a * ((a + 1) - (a - 1) * c - s)),
                ((a + 1) + (a - 1) * c + s, -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - s))
    return ((a * ((a + 1) + (a - 1) * c + s), -2 * a * ((a - 1) + (a + 1) * c),
             a * ((a + 1) + (a - 1) * c - s)),
            ((a + 1) - (a - 1) * c + s, 2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - s))


def response_db(bands, preamp, f):
    z1 = cmath.exp(-1j * 2 * math.pi * f / RATE)
    h = 10 ** (preamp / 20)
    for on, kind, fc, gain, q in bands:
        if on:
            b, a = cookbook(kind, fc, gain, q)
            h *= (b[0] + b[1] * z1 + b[2] * z1 * z1) / (a[0] + a[1] * z1 + a[2] * z1 * z1)
    return 20 * math.log10(abs(h))


def signed(value, decimals):
    text = '%+.*f' % (decimals, value) if value != 0 else '%.*f' % (decimals, value)
    return text[1:] if text[0] in '+-' and float(text[1:]) == 0 else text


def display_texts(bands, preamp):
    texts = [''] * 61
    for k, (on, kind, fc, gain, q) in enumerate(bands):
        texts[k] = 'ON' if on else 'OFF'
        texts[18 + 3 * k] = '%.2f' % fc
        texts[19 + 3 * k] = signed(gain, 1)
        texts[20 + 3 * k] = '%.2f' % q
    for k in range(12, 16):
        texts[k] = 'ON'
    texts[16] = 'LowShelf' if bands[0][1] == 'low' else 'Peak'
    # 17, band 12's type switch: checked by its value and by the response, not by its text.
    texts[54:61] = ['0.0', 'comma', '0.0', '0.0', signed(preamp, 1), 'OFF', 'OFF']
    return [t[:HOST_TEXT_LIMIT] for t in texts]


def main():
    preamp, filters = read_correction(sys.argv[1])
    bands = place(filters)
    freqs = [20 * 1000 ** (i / (POINTS - 1)) for i in range(POINTS)]
    print('// Generated by make_preset_response.py from response_case.txt; do not edit.')
    print('inline constexpr double kResponseRate = %.1f;' % RATE)
    print('inline constexpr double kResponseFrequencies[%d] = {' % POINTS)
    for f in freqs:
        print('    %.17g,' % f)
    print('};')
    print('inline constexpr double kResponseDb[%d] = {' % POINTS)
    for f in freqs:
        print('    %.17g,' % response_db(bands, preamp, f))
    print('};')
    print('// Display texts as a host reads them; an empty text is not compared.')
    print('inline constexpr const char* kExpectedDisplay[61] = {')
    for t in display_texts(bands, preamp):
        print('    "%s",' % t)
    print('};')


main()
