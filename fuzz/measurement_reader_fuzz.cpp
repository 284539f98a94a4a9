// Measurement files from outside: any bytes must load without a crash, leak or undefined
// behaviour, with either separator; the points must be those the plain whole-line reading with
// strtod gives, and the curve must be finite and equal, bit for bit, to the one the plain
// two-scan resampling gives.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/frequency_grid.h"
#include "engine/measurement_reader.h"
#include "reference_reader.h"
#include "reference_resampler.h"

namespace {

// Equal bits, or both not a number (strtod and the reader may spell a NaN's payload apart).
bool SameNumber(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SamePoints(const corvalen::FrequencyResponse& read,
                const std::vector<corvalen::FrequencyPoint>& expected) {
    if (read.size() != expected.size()) return false;
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (!SameNumber(read[i].hz, expected[i].hz)) return false;
        if (!SameNumber(read[i].levelDb, expected[i].levelDb)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static double grid[corvalen::kGridPoints];
    static bool gridReady = false;
    if (!gridReady) {
        for (int i = 0; i < corvalen::kGridPoints; ++i) {
            grid[i] = corvalen::GridFrequency(i, corvalen::kGridPoints);
        }
        gridReady = true;
    }
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (char separator : {',', '\t'}) {
        std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
        if (file == nullptr) return 0;  // fmemopen refuses an empty buffer on some libcs
        corvalen::FrequencyResponse points;
        if (corvalen::ReadFrequencyResponse(file, separator, points)) {
            if (!SamePoints(points, corvalen::reference::ReadPoints(bytes, separator)))
                std::abort();
            double curve[corvalen::kGridPoints];
            double scans[corvalen::kGridPoints];
            corvalen::ResampleOntoGrid(points.data(), points.size(), grid, corvalen::kGridPoints,
                                       curve);
            corvalen::reference::ResampleOntoGrid(points.data(), points.size(), grid,
                                                  corvalen::kGridPoints, scans);
            for (double level : curve) {
                if (!std::isfinite(level)) std::abort();
            }
            if (std::memcmp(curve, scans, sizeof curve) != 0) std::abort();
        }
        std::fclose(file);
    }
    return 0;
}
