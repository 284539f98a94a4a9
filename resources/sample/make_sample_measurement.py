#!/usr/bin/env python3
"""Writes a made-up but plausible over-ear headphone measurement for the demo and the tests.

    resources/sample/make_sample_measurement.py > resources/sample/sample_headphone.csv

The response is built from a few smooth features, as an over-ear headphone measured on an ear
simulator typically shows them: a bass shelf, a dip in the low mids, the broad ear-gain rise
peaking near 3 kHz, a treble peak near 6 kHz, a deep dip near 9 kHz, a smaller peak near 12 kHz
and the roll-off above 15 kHz, around a level of 75 dB. A slow ripple keeps it from looking
drawn with a ruler. Points: 1/96 octave from 20 Hz to 20 kHz (as fine as the editor's frequency grid at its top end), "frequency,raw" header, comma
separated, two decimals. Deterministic: the same file on every run.
"""

import math
import sys

LEVEL_DB = 75.0


def bell(f, centre, gain_db, octaves):
    """A bump of gain_db at centre, falling off with the distance in octaves."""
    distance = math.log2(f / centre) / octaves
    return gain_db * math.exp(-0.5 * distance * distance)


def shelf(f, corner, gain_db, below):
    """gain_db on one side of corner, 0 dB on the other, with a soft transition."""
    x = math.log2(f / corner) * 2.0
    rising = 1.0 / (1.0 + math.exp(-x))
    return gain_db * (1.0 - rising if below else rising)


def response_db(f):
    db = LEVEL_DB
    db += shelf(f, 120.0, 5.5, below=True)          # the bass shelf
    db += bell(f, 450.0, -1.8, 0.8)                 # low-mid dip
    db += bell(f, 2900.0, 9.5, 0.75)                # ear gain
    db += bell(f, 5800.0, 4.0, 0.22)                # treble peak
    db += bell(f, 8800.0, -9.0, 0.18)               # the dip after it
    db += bell(f, 12000.0, 3.0, 0.2)                # a smaller peak
    db += shelf(f, 16000.0, -14.0, below=False)     # roll-off
    db += 0.35 * math.sin(math.log2(f) * 7.3)       # slow ripple
    return db


def main():
    out = sys.stdout
    out.write("frequency,raw\n")
    steps = int(96 * math.log2(20000.0 / 20.0))
    for i in range(steps + 1):
        f = 20.0 * 2.0 ** (i / 96.0)
        out.write(f"{f:.2f},{response_db(f):.2f}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
