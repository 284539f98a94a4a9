#include "engine/frequency_grid.h"

#include <cmath>

namespace corvalen {

double GridFrequency(int i, int n) {
    constexpr double kGrowth = 3.3076923076923075;  // 43/13
    return std::pow(10.0, 1.3 * std::pow(kGrowth, std::sqrt(static_cast<double>(i) / n)));
}

}  // namespace corvalen
