#include "tools/preset/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace corvalen::preset {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The strict decimal form: [+-] digits [. digits] [(e|E) [+-] digits], with at least one digit
// before or after the point. from_chars alone would also take "inf", "nan" and hexadecimal.
bool IsPlainDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

}  // namespace

std::optional<double> ReadDecimal(std::string_view text) {
    if (!IsPlainDecimal(text)) return std::nullopt;
    // from_chars takes no leading '+'.
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string ShortestDecimal(double value) {
    if (value == 0.0) return "0";  // also -0: a file never needs the sign of zero
    char buffer[400];              // the longest fixed-point double is about 330 characters
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) return "0";
    return std::string(buffer, end);
}

}  // namespace corvalen::preset
