#include "engine/readout_text.h"

#include <charconv>

namespace corvalen {

std::string FixedText(double value, int decimals) {
  // Large enough for the longest fixed rendering of a double (309 digits) and the decimals.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return std::string();
  return std::string(buffer, result.ptr);
}

std::string FrequencyReadoutText(double hz) {
  if (hz >= 1000.0) return FixedText(hz * 0.001, 2) + " k";
  return FixedText(hz, 0);
}

std::string GainReadoutText(double db) { return FixedText(db, 1) + " dB"; }

std::string QualityReadoutText(double q) { return FixedText(q, 2); }

std::string OutputReadoutText(double db) { return FixedText(db, 1); }

std::string SampleRateReadoutText(double rate) { return "Fs: " + FixedText(rate / 1000.0, 1) + " kHz"; }

}  // namespace corvalen
