// Writing a parametric correction in the same configuration-file form the reader takes, with
// every value written so that reading it back gives the same double.
#pragma once

#include <string>
#include <vector>

#include "tools/preset/parametric_text.h"

namespace corvalen::preset {

// `comments` become '#' lines at the top (control characters in them become spaces, so no
// comment can turn into a line of its own). Filters are numbered from 1 in the given order.
std::string WriteParametricText(const ParametricCorrection& correction,
                                const std::vector<std::string>& comments);

}  // namespace corvalen::preset
