// Test signals and their levels, for the demo and the audio tests.
#pragma once

#include <vector>

namespace corvalen::host {

// amplitude * sin(2 pi f n / rate) for n = 0 .. frames-1.
std::vector<double> MakeSine(double frequency, double rate, double amplitude, int frames);
// 1 at sample 0, then zeros.
std::vector<double> MakeImpulse(int frames);

struct Levels {
    double peakDb = -999.0;  // relative to full scale 1.0; -999 for silence
    double rmsDb = -999.0;
};

Levels MeasureLevels(const std::vector<double>& samples);
Levels MeasureLevels(const std::vector<float>& samples);

}  // namespace corvalen::host
