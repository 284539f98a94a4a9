// The texts of the editor's value read-outs, formatted as the C library's printf would in the C
// locale (a host may have set a comma-decimal locale; the read-outs always show a point).
// Read-outs are formed on any host thread, the audio thread included, so a text is a small
// fixed buffer held by value: forming one never allocates.
#pragma once

#include <cstddef>

namespace corvalen {

// Bytes of a read-out text, its terminating zero included; a longer text is cut.
inline constexpr std::size_t kReadoutTextCapacity = 64;

struct ReadoutText {
    char text[kReadoutTextCapacity] = {};
};

// printf's "%.*f" of value.
ReadoutText FixedReadoutText(double value, int decimals);
// Band frequency: "%.2lf k" of hz * 0.001 from 1000 Hz up, otherwise "%.0lf" of hz.
ReadoutText FrequencyReadoutText(double hz);
// Band gain: "%.1lf dB".
ReadoutText GainReadoutText(double db);
// Band Q: "%.2lf".
ReadoutText QualityReadoutText(double q);
// Output level: "%.1lf".
ReadoutText OutputReadoutText(double db);
// Sample rate: "Fs: " then rate / 1000 with one decimal, then " kHz".
ReadoutText SampleRateReadoutText(double rate);

}  // namespace corvalen
