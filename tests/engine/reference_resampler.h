// Resampling written as its two scans per grid frequency, for comparison with the one-pass
// resampler.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/frequency_response.h"

namespace corvalen::reference {

inline void ResampleOntoGrid(const FrequencyPoint* points, std::size_t count, const double* gridHz,
                             int n, double* curve) {
    for (int i = 0; i < n; ++i) {
        const double e = gridHz[i];
        const double target = std::round(e);
        double sum = 0.0;
        std::size_t matches = 0;
        for (std::size_t p = 0; p < count; ++p) {
            const double hz = points[p].hz;
            if (hz > -2147483649.0 && hz < 2147483648.0 &&
                static_cast<double>(static_cast<std::int32_t>(hz)) == target) {
                sum += points[p].levelDb;
                ++matches;
            }
        }
        double value;
        if (matches > 0) {
            value = sum / static_cast<double>(matches);
        } else {
            double lower = 0.0, result = 0.0, upper = 0.0, upperLevel = 0.0;
            for (std::size_t p = 0; p < count; ++p) {
                const double hz = points[p].hz;
                if (hz < e) {
                    lower = hz;
                    result = points[p].levelDb;
                } else if (hz > e) {
                    upper = hz;
                    upperLevel = points[p].levelDb;
                    break;
                }
            }
            value = (e - lower) >= (upper - e) ? upperLevel : result;
        }
        curve[i] = std::isfinite(value) ? value : 0.0;
    }
}

}  // namespace corvalen::reference
