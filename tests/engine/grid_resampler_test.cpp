// The one-pass resampler against the two scans per grid frequency it replaces, on sorted,
// shuffled, duplicated and damaged point lists, bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine/frequency_grid.h"
#include "engine/grid_resampler.h"
#include "reference_resampler.h"

namespace corvalen {
namespace {

std::vector<double> Grid() {
    std::vector<double> grid(kGridPoints);
    for (int i = 0; i < kGridPoints; ++i)
        grid[static_cast<size_t>(i)] = GridFrequency(i, kGridPoints);
    return grid;
}

void ExpectSameAsScans(const FrequencyResponse& points) {
    const std::vector<double> grid = Grid();
    std::vector<double> fast(grid.size()), scans(grid.size());
    ResampleOntoGrid(points.data(), points.size(), grid.data(), kGridPoints, fast.data());
    reference::ResampleOntoGrid(points.data(), points.size(), grid.data(), kGridPoints,
                                scans.data());
    ASSERT_EQ(std::memcmp(fast.data(), scans.data(), sizeof(double) * fast.size()), 0);
}

TEST(GridResampler, SameAsTheScansOnManyKindsOfFiles) {
    const std::vector<double> grid = Grid();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> level(40.0, 100.0);
    for (int trial = 0; trial < 60; ++trial) {
        FrequencyResponse points;
        const int size = trial % 3 == 0 ? trial : 50 + trial * 37;
        for (int p = 0; p < size; ++p) {
            const double hz =
                20.0 * std::pow(1000.0, static_cast<double>(p) / std::max(1, size - 1));
            points.push_back({hz, level(random)});
        }
        if (trial % 2 == 1) std::shuffle(points.begin(), points.end(), random);
        if (trial % 5 == 2)
            points.insert(points.begin() + size / 2, points.begin(), points.begin() + size / 4);
        if (trial % 4 == 3) {
            points.push_back({std::numeric_limits<double>::quiet_NaN(), 1.0});
            points.push_back({grid[391], 2.0});  // exactly a grid frequency
            points.push_back({grid[10], 3.0});
            points.push_back({1e12, 4.0});
            points.push_back({-5.0, std::numeric_limits<double>::infinity()});
            std::shuffle(points.begin(), points.end(), random);
        }
        ExpectSameAsScans(points);
    }
}

TEST(GridResampler, SameAsTheScansAroundEqualAndMissingFrequencies) {
    const std::vector<double> grid = Grid();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ExpectSameAsScans({});
    ExpectSameAsScans({{nan, 5.0}, {nan, 6.0}});
    ExpectSameAsScans({{grid[0], 1.0}, {grid[0], 2.0}, {nan, 3.0}, {grid[1] + 0.6, 4.0}});
    ExpectSameAsScans({{30.0, 1.0}, {grid[2], 2.0}, {nan, 0.0}, {grid[2], 3.0}, {10.0, 4.0}});
    ExpectSameAsScans({{500.0, 1.0}, {100.0, 2.0}, {300.0, 3.0}, {20000.0, 4.0}, {50.0, 5.0}});
}

}  // namespace
}  // namespace corvalen
