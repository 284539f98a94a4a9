#include "editor/graph/graph_scale.h"

#include <algorithm>
#include <cmath>

namespace corvalen::editor {

int PointX(int i, int width) {
    const int step = width / kGridPoints;
    return static_cast<int>(i * static_cast<double>(step));
}

int LevelY(double db, int height) {
    if (std::isnan(db)) return height + 1;
    const double level = std::clamp(db, -kLevelLimitDb, kLevelLimitDb);
    return static_cast<int>(0.5 * height - kPixelsPerDb * level);
}

float MarkerY(double gainDb, int height, int originY) {
    float y = static_cast<float>(height / 2 - gainDb * kPixelsPerDb);
    if (y <= static_cast<float>(originY + kMarkerEdgeMargin)) {
        y += kMarkerEdgePull;
    } else if (y >= static_cast<float>(height - kMarkerEdgeMargin)) {
        y -= kMarkerEdgePull;
    }
    return y;
}

int MarkerColumn(double hz) {
    constexpr int n = kGridPoints;
    // The grid rises strictly, so the last index below hz is found by halving; the strict
    // comparisons leave a frequency that equals a grid point, or lies outside, without one.
    if (!(GridFrequency(0, n) < hz)) return -1;
    int below = 0;  // f(below) < hz
    int notBelow = n + 1;
    if (GridFrequency(n, n) < hz) {
        below = n;
    } else {
        notBelow = n;
        while (notBelow - below > 1) {
            const int middle = below + (notBelow - below) / 2;
            if (GridFrequency(middle, n) < hz) {
                below = middle;
            } else {
                notBelow = middle;
            }
        }
    }
    return hz < GridFrequency(below + 1, n) ? below : -1;
}

bool TickFallsOn(double tickHz, double gridHz) {
    return std::trunc(10.0 * tickHz) == std::trunc(10.0 * gridHz);
}

}  // namespace corvalen::editor
