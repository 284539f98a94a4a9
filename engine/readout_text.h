// The texts of the editor's value read-outs, formatted as the C library's printf would in the C
// locale (a host may have set a comma-decimal locale; the read-outs always show a point).
#pragma once

#include <string>

namespace corvalen {

// Band frequency: "%.2lf k" of hz * 0.001 from 1000 Hz up, otherwise "%.0lf" of hz.
std::string FrequencyReadoutText(double hz);
// Band gain: "%.1lf dB".
std::string GainReadoutText(double db);
// Band Q: "%.2lf".
std::string QualityReadoutText(double q);
// Output level: "%.1lf".
std::string OutputReadoutText(double db);
// Sample rate: "Fs: " then rate / 1000 with one decimal, then " kHz".
std::string SampleRateReadoutText(double rate);

// printf's "%.*f" of value in the C locale.
std::string FixedText(double value, int decimals);

}  // namespace corvalen
