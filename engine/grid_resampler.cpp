#include "engine/grid_resampler.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace corvalen {

namespace {

// The integer-match sums of every whole-hertz key the grid rounds to, filled in file order so
// each sum adds its levels in the same order as a scan would.
class WholeHertzSums {
public:
    WholeHertzSums(const double* gridHz, int n) {
        if (n <= 0) return;
        first_ = std::round(gridHz[0]);
        const double last = std::round(gridHz[n - 1]);
        buckets_.resize(static_cast<std::size_t>(last - first_) + 1);
    }

    void add(const FrequencyPoint& point) {
        const double hz = point.hz;
        // Truncation to a 32-bit integer; outside its range nothing can match a grid frequency.
        if (!(hz > -2147483649.0 && hz < 2147483648.0)) return;
        const double key = static_cast<double>(static_cast<std::int32_t>(hz)) - first_;
        if (key < 0.0 || key >= static_cast<double>(buckets_.size())) return;
        Bucket& bucket = buckets_[static_cast<std::size_t>(key)];
        bucket.sum += point.levelDb;
        ++bucket.count;
    }

    // True with the mean when points matched the rounded frequency.
    bool mean(double roundedHz, double& value) const {
        const double key = roundedHz - first_;
        if (key < 0.0 || key >= static_cast<double>(buckets_.size())) return false;
        const Bucket& bucket = buckets_[static_cast<std::size_t>(key)];
        if (bucket.count == 0) return false;
        value = bucket.sum / static_cast<double>(bucket.count);
        return true;
    }

private:
    struct Bucket {
        double sum = 0.0;
        std::size_t count = 0;
    };
    double first_ = 0.0;
    std::vector<Bucket> buckets_;
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

void ResampleOntoGrid(const FrequencyPoint* points, std::size_t count, const double* gridHz, int n,
                      double* curve) {
    // No points (no file, an unload, a file without data): every grid point is beyond the last
    // point, so the curve is flat, without building the sums. Program changes and chunk loads
    // pass here on host threads, under the instance lock the audio waits on.
    if (count == 0) {
        for (int i = 0; i < n; ++i) curve[i] = 0.0;
        return;
    }
    WholeHertzSums sums(gridHz, n);
    // previousNumber[p]: the last index <= p whose frequency is a number (NaN is neither below
    // nor above any frequency, so a scan passes over it).
    std::vector<std::size_t> previousNumber(count);
    std::size_t lastNumber = kNone;
    for (std::size_t p = 0; p < count; ++p) {
        sums.add(points[p]);
        if (!std::isnan(points[p].hz)) lastNumber = p;
        previousNumber[p] = lastNumber;
    }

    // A scan for e stops at the first point above e. Every point before it is at most e (or NaN),
    // and stays so for any higher e, so that stopping index only moves forward along the grid.
    std::size_t firstAbove = 0;
    for (int i = 0; i < n; ++i) {
        const double e = gridHz[i];
        double value;
        if (!sums.mean(std::round(e), value)) {
            while (firstAbove < count && !(points[firstAbove].hz > e)) ++firstAbove;
            double upper = 0.0, upperLevel = 0.0;
            if (firstAbove < count) {
                upper = points[firstAbove].hz;
                upperLevel = points[firstAbove].levelDb;
            }
            // The last point before the stop that is below e: not NaN and not equal to e.
            double lower = 0.0, result = 0.0;
            std::size_t q = firstAbove > 0 ? previousNumber[firstAbove - 1] : kNone;
            while (q != kNone && points[q].hz == e) q = q > 0 ? previousNumber[q - 1] : kNone;
            if (q != kNone) {
                lower = points[q].hz;
                result = points[q].levelDb;
            }
            value = (e - lower) >= (upper - e) ? upperLevel : result;
        }
        curve[i] = std::isfinite(value) ? value : 0.0;
    }
}

}  // namespace corvalen
