#include "engine/grid_resampler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace corvalen {

GridResampler::GridResampler(const double* gridHz, int n)
    : gridHz_(gridHz),
      n_(n > 0 ? n : 0),
      roundedHz_(static_cast<std::size_t>(n_)),
      matchSum_(static_cast<std::size_t>(n_), 0.0),
      matchCount_(static_cast<std::size_t>(n_), 0),
      nearest_(static_cast<std::size_t>(n_), 0.0) {
    for (int i = 0; i < n_; ++i) roundedHz_[static_cast<std::size_t>(i)] = std::round(gridHz[i]);
}

void GridResampler::add(const FrequencyPoint& point) {
    ++points_;
    const double hz = point.hz;
    // Truncation to a 32-bit integer; outside its range nothing can match a grid frequency.
    if (hz > -2147483649.0 && hz < 2147483648.0) {
        const double key = static_cast<double>(static_cast<std::int32_t>(hz));
        const auto run = std::lower_bound(roundedHz_.begin(), roundedHz_.end(), key);
        if (run != roundedHz_.end() && *run == key) {
            const auto first = static_cast<std::size_t>(run - roundedHz_.begin());
            matchSum_[first] += point.levelDb;
            ++matchCount_[first];
        }
    }
    // A scan for a grid frequency stops at the first point above it. Every earlier point is at
    // most gridHz[nextUnresolved_] (or not a number), so this point is where the scans of every
    // unresolved frequency below it stop.
    while (nextUnresolved_ < n_ && hz > gridHz_[nextUnresolved_]) {
        nearest_[static_cast<std::size_t>(nextUnresolved_)] =
            nearestLevel(nextUnresolved_, hz, point.levelDb);
        ++nextUnresolved_;
    }
    // NaN is neither below nor above any frequency: a scan passes over it.
    if (!std::isnan(hz)) {
        if (haveLast_ && hz != last_.hz) {
            differing_ = last_;
            haveDiffering_ = true;
        }
        last_ = point;
        haveLast_ = true;
    }
}

double GridResampler::nearestLevel(int i, double upperHz, double upperLevel) const {
    const double e = gridHz_[i];
    // The last point before the stop that is below e: every point before the stop is at most e,
    // so it is the last number that is not equal to e.
    double lower = 0.0, result = 0.0;
    if (haveLast_ && last_.hz != e) {
        lower = last_.hz;
        result = last_.levelDb;
    } else if (haveLast_ && haveDiffering_) {
        lower = differing_.hz;
        result = differing_.levelDb;
    }
    return (e - lower) >= (upperHz - e) ? upperLevel : result;
}

void GridResampler::finish(double* curve) const {
    std::size_t first = 0;  // where the run of entries with this entry's whole-hertz value starts
    for (int i = 0; i < n_; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (roundedHz_[index] != roundedHz_[first]) first = index;
        double value;
        if (matchCount_[first] > 0) {
            value = matchSum_[first] / static_cast<double>(matchCount_[first]);
        } else if (i < nextUnresolved_) {
            value = nearest_[index];
        } else {
            value = nearestLevel(i, 0.0, 0.0);  // no point above: upper 0 Hz, level 0
        }
        curve[i] = std::isfinite(value) ? value : 0.0;
    }
}

void ResampleOntoGrid(const FrequencyPoint* points, std::size_t count, const double* gridHz, int n,
                      double* curve) {
    // No points (no file, an unload, a file without data): every grid point is beyond the last
    // point, so the curve is flat, without building the sums. Program changes and chunk loads
    // pass here on host threads, under the instance lock the audio waits on.
    if (count == 0) {
        for (int i = 0; i < n; ++i) curve[i] = 0.0;
        return;
    }
    GridResampler resampler(gridHz, n);
    for (std::size_t p = 0; p < count; ++p) resampler.add(points[p]);
    resampler.finish(curve);
}

}  // namespace corvalen
