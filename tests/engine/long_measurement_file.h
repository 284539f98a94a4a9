// A measurement file of 10,000 lines (a header and 9,999 points from 20 Hz to 20 kHz), the size
// analysers export: what the load benchmark and the lock-wait measurement read.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

#include "temp_folder.h"

namespace corvalen::testing {

inline std::string WriteLongMeasurementFile(const char* name) {
    const std::string path = TestTempPath(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return path;
    std::fputs("frequency,raw\n", file);
    for (int i = 0; i < 9999; ++i) {
        const double hz = 20.0 * std::pow(1000.0, i / 9998.0);
        std::fprintf(file, "%.4f,%.3f\n", hz, 80.0 + 6.0 * std::sin(i * 0.01));
    }
    std::fclose(file);
    return path;
}

}  // namespace corvalen::testing
