// Resampling a measurement onto the frequency grid.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/frequency_response.h"

namespace corvalen {

// The curve of a measurement on the rising grid frequencies gridHz[0..n-1]. Entry i is:
// - the mean of the levels of the points whose frequency, truncated to a 32-bit integer, equals
//   gridHz[i] rounded to the nearest integer (halves away from zero), summed in file order;
// - otherwise, scanning the points in file order up to the first one above gridHz[i]: that
//   point's level when it is at least as near as the last point below (lower 0 Hz and level 0
//   when there is none), else the level of the last point below; 0 dB when no point is above.
// A value that would not be finite (a "nan" in the file, a sum that overflows) is written as
// 0 dB, so the graph never receives one.
//
// The points arrive one at a time in file order and are not kept: the memory is a few words
// per grid frequency whatever the length of the file, and each point costs a search among the
// grid's whole-hertz values. The results equal those of the two scans per grid frequency, to
// the bit.
class GridResampler {
public:
    // gridHz must stay valid until finish. May throw std::bad_alloc.
    GridResampler(const double* gridHz, int n);

    // The next point of the file.
    void add(const FrequencyPoint& point);
    // Points added so far.
    std::size_t pointCount() const { return points_; }
    // Writes curve[0..n-1] from the points added so far.
    void finish(double* curve) const;

private:
    // The nearest-point rule for grid entry i whose first point above is (upperHz, upperLevel).
    double nearestLevel(int i, double upperHz, double upperLevel) const;

    const double* gridHz_;
    int n_;
    std::size_t points_ = 0;
    // Each grid entry's frequency rounded to whole hertz (rising, runs of equal values), and the
    // integer-match sum and count kept at the first entry of each run.
    std::vector<double> roundedHz_;
    std::vector<double> matchSum_;
    std::vector<std::size_t> matchCount_;
    // The nearest-point rule for the entries whose first point above has arrived (all before
    // nextUnresolved_); every point so far is at most gridHz[nextUnresolved_] or not a number.
    std::vector<double> nearest_;
    int nextUnresolved_ = 0;
    // The last point that is a number, and the last before it whose frequency differs from
    // its (what a scan falls back on when the last one sits exactly on the grid frequency).
    bool haveLast_ = false;
    bool haveDiffering_ = false;
    FrequencyPoint last_{};
    FrequencyPoint differing_{};
};

// The same for a list of points held in memory. May throw std::bad_alloc.
void ResampleOntoGrid(const FrequencyPoint* points, std::size_t count, const double* gridHz, int n,
                      double* curve);

}  // namespace corvalen
