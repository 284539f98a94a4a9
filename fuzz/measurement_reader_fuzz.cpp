// Measurement files from outside: any bytes must load without a crash, leak or undefined
// behaviour, with either separator. The points must be those the plain whole-line reading with
// strtod gives, and the curve the one-pass load makes must be finite and equal, bit for bit, to
// the one the plain two-scan resampling of those points gives.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/frequency_grid.h"
#include "engine/grid_resampler.h"
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

const double* Grid() {
    static double grid[corvalen::kGridPoints];
    static const bool made = [] {
        for (int i = 0; i < corvalen::kGridPoints; ++i) {
            grid[i] = corvalen::GridFrequency(i, corvalen::kGridPoints);
        }
        return true;
    }();
    static_cast<void>(made);
    return grid;
}

// The bytes as a stream, as a file's would be; null for none (fmemopen refuses an empty
// buffer on some C libraries).
std::FILE* StreamOf(const std::uint8_t* data, std::size_t size) {
    return fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const double* grid = Grid();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (char separator : {',', '\t'}) {
        const std::vector<corvalen::FrequencyPoint> expected =
            corvalen::reference::ReadPoints(bytes, separator);

        // What a load does: one pass, the points resampled as they are read.
        std::FILE* file = StreamOf(data, size);
        if (file == nullptr) return 0;
        corvalen::GridResampler resampler(grid, corvalen::kGridPoints);
        const bool read = corvalen::ReadIntoResampler(file, separator, resampler);
        std::fclose(file);
        if (!read || resampler.pointCount() != expected.size()) std::abort();
        double curve[corvalen::kGridPoints];
        resampler.finish(curve);
        double scans[corvalen::kGridPoints];
        corvalen::reference::ResampleOntoGrid(expected.data(), expected.size(), grid,
                                              corvalen::kGridPoints, scans);
        for (double level : curve) {
            if (!std::isfinite(level)) std::abort();
        }
        if (std::memcmp(curve, scans, sizeof curve) != 0) std::abort();

        // The two-pass reading into a list gives the same points.
        file = StreamOf(data, size);
        if (file == nullptr) return 0;
        corvalen::FrequencyResponse points;
        if (!corvalen::ReadFrequencyResponse(file, separator, points)) std::abort();
        std::fclose(file);
        if (!SamePoints(points, expected)) std::abort();
    }
    return 0;
}
