#include "raster/circle.h"

#include <algorithm>
#include <cmath>

#include "raster/pixel_blend.h"
#include "raster/row_access.h"

namespace corvalen::raster {
namespace {

constexpr int kSubsamples = 4;            // per axis, for pixels on the edge
constexpr double kHalfDiagonal = 0.7072;  // a pixel's centre to its corner, rounded up

// The fraction of the pixel centred on (px, py) that lies inside the disc, from 4 x 4 samples.
double sampledCoverage(double px, double py, double cx, double cy, double r) {
    int inside = 0;
    const double r2 = r * r;
    for (int sy = 0; sy < kSubsamples; ++sy) {
        const double y = py - 0.5 + (sy + 0.5) / kSubsamples - cy;
        for (int sx = 0; sx < kSubsamples; ++sx) {
            const double x = px - 0.5 + (sx + 0.5) / kSubsamples - cx;
            if (x * x + y * y <= r2) ++inside;
        }
    }
    return static_cast<double>(inside) / (kSubsamples * kSubsamples);
}

// Pixels whose whole square lies inside or outside the circle need no samples. The tests
// compare squared distances; the samples lie within 0.54 of the pixel's centre, so far
// inside the 0.7072 margin every sample agrees with the shortcut whichever way a distance
// right at the margin rounds.
struct DiscEdges {
    double insideSquared;   // centre distances squared up to this: fully covered
    double outsideSquared;  // from this on: not covered
    explicit DiscEdges(double r)
        : insideSquared(r > kHalfDiagonal ? (r - kHalfDiagonal) * (r - kHalfDiagonal) : -1.0),
          outsideSquared((r + kHalfDiagonal) * (r + kHalfDiagonal)) {}
};

double coverage(double px, double py, double cx, double cy, double r, const DiscEdges& edges) {
    const double dx = px - cx;
    const double dy = py - cy;
    const double squared = dx * dx + dy * dy;
    if (squared <= edges.insideSquared) return 1.0;
    if (squared >= edges.outsideSquared) return 0.0;
    return sampledCoverage(px, py, cx, cy, r);
}

}  // namespace

void fillCircle(RasterBitmap* dest, float cx, float cy, float r, std::uint32_t colour,
                float alpha) {
    alpha *= static_cast<float>(colour >> 24) / 255.0f;
    if (!(alpha > 0.0f) || !(r >= 0.0f)) return;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return;
    const PixelRows rows(dest);
    if (!rows.valid()) return;
    const double x = cx, y = cy, radius = r;
    if (x + radius < -2.0 || y + radius < -2.0 || x - radius > rows.width + 1.0 ||
        y - radius > rows.height + 1.0)
        return;
    // The box is clipped in floating point first so the conversions cannot overflow.
    const int left = static_cast<int>(std::floor(std::max(0.0, x - radius - 1.0)));
    const int top = static_cast<int>(std::floor(std::max(0.0, y - radius - 1.0)));
    const int right = static_cast<int>(std::ceil(std::min(rows.width - 1.0, x + radius + 1.0)));
    const int bottom = static_cast<int>(std::ceil(std::min(rows.height - 1.0, y + radius + 1.0)));
    const double strength = std::min(1.0f, alpha) * 256.0;
    const DiscEdges edges(radius);
    for (int py = top; py <= bottom; ++py) {
        std::uint32_t* row = rows.row(py);
        for (int px = left; px <= right; ++px) {
            const double covered = coverage(px, py, x, y, radius, edges);
            const int weight = static_cast<int>(strength * covered);
            if (weight <= 0) continue;
            row[px] = pixel::mixAll(colour, row[px], 256 - weight);
        }
    }
}

}  // namespace corvalen::raster
