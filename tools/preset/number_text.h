// Decimal numbers as parametric correction files write them: read exactly as written (the
// nearest double, independent of the C locale), written back as the shortest fixed-point text
// that reads as the same double again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvalen::preset {

// The whole of `text` as a finite decimal number (optional sign, digits, optional fraction,
// optional exponent); nothing else, so "0,70", "1.2.3", "inf" and "" give no value.
std::optional<double> ReadDecimal(std::string_view text);

// The shortest fixed-point text (no exponent) that ReadDecimal turns back into `value`
// exactly: 105 gives "105", 0.7 gives "0.7", -0 gives "0".
std::string ShortestDecimal(double value);

}  // namespace corvalen::preset
