// Reading a parametric correction in the configuration-file form that correction databases
// publish:
//
//   Preamp: -6.1 dB
//   Filter 1: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.70
//   Filter 2: ON PK Fc 1830 Hz Gain -2.9 dB BW Oct 1.0
//
// Words are compared without regard to case; '#' starts a comment; blank lines, CR LF line
// ends and a UTF-8 byte-order mark are accepted. Anything the equaliser cannot reproduce
// exactly (another filter type, a shelf without a Q, another command) is refused with the
// number of the line, never approximated.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/preset/filter_shape.h"

namespace corvalen::preset {

// One filter line, with its values as written (range limits are the equaliser's business).
struct ParametricFilter {
    int line = 0;  // 1-based line number in the file
    bool on = true;
    FilterShape shape = FilterShape::Peak;
    double frequencyHz = 0.0;
    double gainDb = 0.0;
    double q = 0.0;  // a bandwidth in octaves is converted to this Q exactly
};

struct ParametricCorrection {
    std::optional<double> preampDb;
    int preampLine = 0;
    std::vector<ParametricFilter> filters;  // in file order
};

struct ParseOutcome {
    bool ok = false;
    std::string error;                  // "line N: ..." when not ok
    std::vector<std::string> warnings;  // "line N: ..." for what was read but left out
    ParametricCorrection correction;
};

ParseOutcome ParseParametricText(std::string_view text);

// Q of a peak whose bandwidth is `octaves` between its half-gain points: sqrt(2^N) / (2^N - 1).
double QForBandwidth(double octaves);

}  // namespace corvalen::preset
