#include "engine/frequency_grid.h"

#include <cmath>

namespace corvalen {

namespace {

#include "engine/frequency_grid_table.inc"

}  // namespace

double GridFrequency(int i, int n) {
    // The product's own grid comes from the table: the C runtimes round the powers of the
    // formula differently in their last bits, and every curve and fit is evaluated on the grid.
    if (n == kGridPoints && i >= 0 && i <= kGridPoints) return kGridFrequencies[i];
    constexpr double kGrowth = 3.3076923076923075;  // 43/13
    return std::pow(10.0, 1.3 * std::pow(kGrowth, std::sqrt(static_cast<double>(i) / n)));
}

}  // namespace corvalen
