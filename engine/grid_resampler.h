// Resampling a measurement onto the frequency grid.
#pragma once

#include <cstddef>

#include "engine/frequency_response.h"

namespace corvalen {

// Fills curve[0..n-1] for the rising grid frequencies gridHz[0..n-1]. Entry i is:
// - the mean of the levels of the points whose frequency, truncated to a 32-bit integer, equals
//   gridHz[i] rounded to the nearest integer (halves away from zero), summed in file order;
// - otherwise, scanning the points in file order up to the first one above gridHz[i]: that
//   point's level when it is at least as near as the last point below (lower 0 Hz and level 0
//   when there is none), else the level of the last point below; 0 dB when no point is above.
// A value that would not be finite (a "nan" in the file, a sum that overflows) is written as
// 0 dB, so the graph never receives one.
//
// Both rules are evaluated in one pass over the points plus one over the grid (instead of two
// scans of every point per grid frequency), with results identical to the scans.
// May throw std::bad_alloc.
void ResampleOntoGrid(const FrequencyPoint* points, std::size_t count, const double* gridHz, int n,
                      double* curve);

}  // namespace corvalen
