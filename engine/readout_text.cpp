#include "engine/readout_text.h"

#include <charconv>
#include <cstring>

namespace corvalen {
namespace {

// Appends what fits of text at `length`, keeping the terminating zero.
void Append(ReadoutText& out, std::size_t& length, const char* text, std::size_t count) {
    const std::size_t room = kReadoutTextCapacity - 1 - length;
    if (count > room) count = room;
    std::memcpy(out.text + length, text, count);
    length += count;
    out.text[length] = '\0';
}

void AppendFixed(ReadoutText& out, std::size_t& length, double value, int decimals) {
    // Large enough for the longest fixed rendering of a double (309 digits) and the decimals.
    char digits[400];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return;
    Append(out, length, digits, static_cast<std::size_t>(result.ptr - digits));
}

ReadoutText Compose(const char* prefix, double value, int decimals, const char* suffix) {
    ReadoutText out;
    std::size_t length = 0;
    Append(out, length, prefix, std::strlen(prefix));
    AppendFixed(out, length, value, decimals);
    Append(out, length, suffix, std::strlen(suffix));
    return out;
}

}  // namespace

ReadoutText FixedReadoutText(double value, int decimals) {
    return Compose("", value, decimals, "");
}

ReadoutText FrequencyReadoutText(double hz) {
    if (hz >= 1000.0) return Compose("", hz * 0.001, 2, " k");
    return Compose("", hz, 0, "");
}

ReadoutText GainReadoutText(double db) { return Compose("", db, 1, " dB"); }

ReadoutText QualityReadoutText(double q) { return Compose("", q, 2, ""); }

ReadoutText OutputReadoutText(double db) { return Compose("", db, 1, ""); }

ReadoutText SampleRateReadoutText(double rate) { return Compose("Fs: ", rate / 1000.0, 1, " kHz"); }

}  // namespace corvalen
