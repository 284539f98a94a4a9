#include "tools/host/signal_levels.h"

#include <algorithm>
#include <cmath>

namespace corvalen::host {
namespace {

constexpr double kSilenceDb = -999.0;
constexpr double kPi = 3.14159265358979323846;

double ToDb(double amplitude) {
    return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : kSilenceDb;
}

template <typename Sample>
Levels Measure(const std::vector<Sample>& samples) {
    if (samples.empty()) return Levels{};
    double peak = 0.0;
    double sumOfSquares = 0.0;
    for (Sample sample : samples) {
        const double value = static_cast<double>(sample);
        peak = std::max(peak, std::fabs(value));
        sumOfSquares += value * value;
    }
    return Levels{ToDb(peak), ToDb(std::sqrt(sumOfSquares / static_cast<double>(samples.size())))};
}

}  // namespace

std::vector<double> MakeSine(double frequency, double rate, double amplitude, int frames) {
    std::vector<double> samples(static_cast<std::size_t>(std::max(frames, 0)));
    for (std::size_t n = 0; n < samples.size(); ++n) {
        samples[n] = amplitude * std::sin(2.0 * kPi * frequency * static_cast<double>(n) / rate);
    }
    return samples;
}

std::vector<double> MakeImpulse(int frames) {
    std::vector<double> samples(static_cast<std::size_t>(std::max(frames, 0)), 0.0);
    if (!samples.empty()) samples[0] = 1.0;
    return samples;
}

Levels MeasureLevels(const std::vector<double>& samples) { return Measure(samples); }
Levels MeasureLevels(const std::vector<float>& samples) { return Measure(samples); }

}  // namespace corvalen::host
