// Placing a parametric correction on the equaliser's twelve bands: a low shelf on band 1, a high
// shelf on band 12 (the only bands that can be shelves), the peaks in frequency order on the
// bands left, the remaining bands off at 0 dB, the preamp on the output level. Values outside a
// parameter's range are clamped with a warning naming the line; a correction that does not fit
// is refused with the line that does not fit.
#pragma once

#include <string>
#include <vector>

#include "tools/preset/parametric_text.h"
#include "tools/preset/preset_program.h"

namespace corvalen::preset {

struct LayoutOutcome {
    bool ok = false;
    std::string error;
    std::vector<std::string> warnings;
    PresetProgram program;
};

LayoutOutcome LayOutCorrection(const ParametricCorrection& correction);

// The program as a parametric correction: the bands in use in band order (the ones IsUnused
// calls unused left out), the output level as the preamp. Line numbers are 0.
ParametricCorrection DescribeProgram(const PresetProgram& program);

}  // namespace corvalen::preset
