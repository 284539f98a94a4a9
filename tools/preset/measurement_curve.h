// A measurement (or target) file on the response model's frequency grid, read by the plug-in's
// own reader and resampler, so the tool fits exactly the curve the plug-in shows for the file.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "engine/frequency_grid.h"

namespace corvalen::preset {

struct GridCurve {
    std::array<double, kGridPoints> hz{};
    std::array<double, kGridPoints> levelDb{};
    std::size_t pointsRead = 0;  // frequency and level pairs the file gave
};

// False with the reason when the file cannot be opened or held in memory, or gives no pair.
bool ReadGridCurve(const std::string& path, GridCurve& curve, std::string& error);

}  // namespace corvalen::preset
