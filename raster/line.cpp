#include "raster/line.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "raster/pixel_blend.h"
#include "raster/row_access.h"

namespace corvalen::raster {
namespace {

constexpr long long kOne = 1 << 16;  // 1.0 in 16.16 fixed point

long long floorToPixel(long long fixed) {
    return fixed >= 0 ? fixed >> 16 : -((-fixed + kOne - 1) >> 16);
}

// One pixel of a line without antialiasing: alpha 1.0 stores, 0.5 averages, others blend.
std::uint32_t plainLinePixel(std::uint32_t colour, std::uint32_t d, float alpha, int keep) {
    if (alpha >= 1.0f) return colour;
    if (alpha == 0.5f) return pixel::average(colour, d);
    return pixel::mixAll(colour, d, keep);
}

// Draws a line whose major axis is x (transposed for y-major lines). The axis and the
// antialiasing are fixed per walker type, so the per-pixel steps carry no choices.
template <bool kYMajor, bool kAntialias>
class LineWalker {
public:
    LineWalker(const PixelRows& rows, std::uint32_t colour, float alpha)
        : rows_(rows), colour_(colour), alpha_(alpha), a256_(pixel::alpha256(alpha)) {}

    // major and minor are in the line's own axes; minorFixed is 16.16.
    void step(long long major, long long minorFixed) {
        if (!kAntialias) {
            plot(major, floorToPixel(minorFixed + kOne / 2), 256);
            return;
        }
        const long long lower = floorToPixel(minorFixed);
        const long long fraction = minorFixed - lower * kOne;
        plot(major, lower, static_cast<int>(a256_ * (kOne - fraction) / kOne));
        if (fraction != 0) plot(major, lower + 1, static_cast<int>(a256_ * fraction / kOne));
    }

private:
    // weight: 0..256 for antialiased pixels, or 256 meaning "the plain line pixel".
    void plot(long long major, long long minor, int weight) {
        const long long x = kYMajor ? minor : major;
        const long long y = kYMajor ? major : minor;
        if (x < 0 || y < 0 || x >= rows_.width || y >= rows_.height) return;
        std::uint32_t& d = rows_.row(static_cast<int>(y))[x];
        if (!kAntialias) {
            d = plainLinePixel(colour_, d, alpha_, 256 - a256_);
        } else if (weight > 0) {
            d = pixel::mixAll(colour_, d, 256 - weight);
        }
    }

    const PixelRows& rows_;
    std::uint32_t colour_;
    float alpha_;
    int a256_;
};

// Both halves step from their own end point, so the line is the same whichever way it is
// drawn and both end points land exactly. Steps outside the bitmap are skipped by limiting
// the step ranges, so a long line far off the bitmap costs nothing.
template <bool kYMajor, bool kAntialias>
void walkLine(const PixelRows& rows, long long majorStart, long long majorEnd, long long minorStart,
              long long minorEnd, std::uint32_t colour, float alpha) {
    const long long length = majorEnd - majorStart;
    const long long slope = (minorEnd - minorStart) * kOne / length;
    const long long majorLimit = kYMajor ? rows.height : rows.width;
    LineWalker<kYMajor, kAntialias> walker(rows, colour, alpha);
    const long long firstHalf = length / 2;
    const long long startFrom = std::max<long long>(0, -majorStart);
    const long long startTo = std::min<long long>(firstHalf, majorLimit - 1 - majorStart);
    for (long long i = startFrom; i <= startTo; ++i)
        walker.step(majorStart + i, minorStart * kOne + slope * i);
    const long long secondHalf = length - firstHalf - 1;
    const long long endFrom = std::max<long long>(0, majorEnd - (majorLimit - 1));
    const long long endTo = std::min<long long>(secondHalf, majorEnd);
    for (long long i = endFrom; i <= endTo; ++i)
        walker.step(majorEnd - i, minorEnd * kOne - slope * i);
}

void axisSpan(const PixelRows& rows, bool vertical, long long fixedAt, long long from, long long to,
              std::uint32_t colour, float alpha) {
    if (from > to) std::swap(from, to);
    const long long limit = vertical ? rows.height : rows.width;
    const long long across = vertical ? rows.width : rows.height;
    if (fixedAt < 0 || fixedAt >= across) return;
    from = std::max<long long>(from, 0);
    to = std::min<long long>(to, limit - 1);
    if (from > to) return;
    const int n = static_cast<int>(to - from + 1);
    if (vertical) {
        pixel::blendRun(colour, rows.row(static_cast<int>(from)) + fixedAt, n, rows.rowStep(),
                        alpha);
    } else {
        pixel::blendRun(colour, rows.row(static_cast<int>(fixedAt)) + from, n, 1, alpha);
    }
}

}  // namespace

void drawLine(RasterBitmap* dest, int x1, int y1, int x2, int y2, std::uint32_t colour, float alpha,
              bool antialias) {
    if (!(alpha > 0.0f)) return;
    const PixelRows rows(dest);
    if (!rows.valid()) return;
    if (y1 == y2) {
        axisSpan(rows, false, y1, x1, x2, colour, alpha);
        return;
    }
    if (x1 == x2) {
        axisSpan(rows, true, x1, y1, y2, colour, alpha);
        return;
    }
    long long majorStart = x1, majorEnd = x2, minorStart = y1, minorEnd = y2;
    const bool yMajor =
        std::llabs(static_cast<long long>(y2) - y1) > std::llabs(static_cast<long long>(x2) - x1);
    if (yMajor) {
        std::swap(majorStart, minorStart);
        std::swap(majorEnd, minorEnd);
    }
    if (majorStart > majorEnd) {
        std::swap(majorStart, majorEnd);
        std::swap(minorStart, minorEnd);
    }
    if (yMajor) {
        if (antialias)
            walkLine<true, true>(rows, majorStart, majorEnd, minorStart, minorEnd, colour, alpha);
        else
            walkLine<true, false>(rows, majorStart, majorEnd, minorStart, minorEnd, colour, alpha);
    } else {
        if (antialias)
            walkLine<false, true>(rows, majorStart, majorEnd, minorStart, minorEnd, colour, alpha);
        else
            walkLine<false, false>(rows, majorStart, majorEnd, minorStart, minorEnd, colour, alpha);
    }
}

}  // namespace corvalen::raster
