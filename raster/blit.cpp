#include "raster/blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "raster/pixel_blend.h"
#include "raster/row_access.h"

namespace corvalen::raster {
namespace {

// The clipped area: source start, destination start and size.
struct BlitArea {
    int sourceX = 0;
    int sourceY = 0;
    int destX = 0;
    int destY = 0;
    int width = 0;
    int height = 0;
};

// Clips the source rectangle to the source and the destination; false when nothing is left.
// 64-bit arithmetic so that extreme coordinates cannot overflow.
bool clipArea(const PixelRows& dest, const PixelRows& src, int x, int y, const Rect* sourceRect,
              BlitArea& area) {
    long long left = sourceRect ? sourceRect->left : 0;
    long long top = sourceRect ? sourceRect->top : 0;
    long long right = sourceRect ? sourceRect->right : src.width;
    long long bottom = sourceRect ? sourceRect->bottom : src.height;
    long long dx = x;
    long long dy = y;
    // A rectangle starting before the source moves the destination by the same amount.
    if (left < 0) {
        dx -= left;
        left = 0;
    }
    if (top < 0) {
        dy -= top;
        top = 0;
    }
    right = std::min<long long>(right, src.width);
    bottom = std::min<long long>(bottom, src.height);
    // A destination point before the bitmap advances the source start.
    if (dx < 0) {
        left -= dx;
        dx = 0;
    }
    if (dy < 0) {
        top -= dy;
        dy = 0;
    }
    const long long w = std::min<long long>(right - left, dest.width - dx);
    const long long h = std::min<long long>(bottom - top, dest.height - dy);
    if (w <= 0 || h <= 0) return false;
    area.sourceX = static_cast<int>(left);
    area.sourceY = static_cast<int>(top);
    area.destX = static_cast<int>(dx);
    area.destY = static_cast<int>(dy);
    area.width = static_cast<int>(w);
    area.height = static_cast<int>(h);
    return true;
}

// Applies blend(s, d) to n pixels. Within one bitmap a row moving right overlaps its own
// source ahead of the writes, so it is walked from its right end.
template <class Blend>
void blendRow(std::uint32_t* d, const std::uint32_t* s, int n, bool rightToLeft, Blend blend) {
    if (rightToLeft) {
        for (int i = n - 1; i >= 0; --i) d[i] = blend(s[i], d[i]);
    } else {
        for (int i = 0; i < n; ++i) d[i] = blend(s[i], d[i]);
    }
}

// Copy mode: every byte, alpha included, moves toward the source.
void copyRow(std::uint32_t* d, const std::uint32_t* s, int n, float alpha, bool rightToLeft) {
    if (alpha >= 1.0f) {
        // memmove: source and destination may be the same bitmap.
        std::memmove(d, s, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
    } else if (alpha == 0.5f) {
        blendRow(d, s, n, rightToLeft, pixel::average);
    } else {
        const int keep = 256 - pixel::alpha256(alpha);
        blendRow(d, s, n, rightToLeft, [keep](std::uint32_t sp, std::uint32_t dp) {
            return pixel::mixAll(sp, dp, keep);
        });
    }
}

// Source alpha at full strength: sa = 0 leaves the pixel, 255 replaces colour and makes
// it opaque, others weight the colour by 255 - sa and add sa to the destination alpha.
std::uint32_t sourceAlphaOpaque(std::uint32_t s, std::uint32_t d) {
    const int sa = pixel::byteAt(s, 24);
    if (sa == 0) return d;
    if (sa == 255) return (s & 0x00FFFFFFu) | 0xFF000000u;
    const std::uint32_t colour = pixel::mixAll(s, d, 255 - sa) & 0x00FFFFFFu;
    const int da = std::min(255, pixel::byteAt(d, 24) + sa);
    return colour | static_cast<std::uint32_t>(da) << 24;
}

// Source alpha scaled by a256 < 256: weight w = a256 x (sa + 1) / 256.
std::uint32_t sourceAlphaScaled(std::uint32_t s, std::uint32_t d, int a256) {
    const int sa = pixel::byteAt(s, 24);
    if (sa == 0) return d;
    const int w = a256 * (sa + 1) / 256;
    const std::uint32_t colour = pixel::mixAll(s, d, 256 - w) & 0x00FFFFFFu;
    const int da = std::min(255, pixel::byteAt(d, 24) + w);
    return colour | static_cast<std::uint32_t>(da) << 24;
}

void sourceAlphaRow(std::uint32_t* d, const std::uint32_t* s, int n, float alpha,
                    bool rightToLeft) {
    if (alpha >= 1.0f) {
        blendRow(d, s, n, rightToLeft, sourceAlphaOpaque);
    } else {
        const int a256 = pixel::alpha256(alpha);
        blendRow(d, s, n, rightToLeft, [a256](std::uint32_t sp, std::uint32_t dp) {
            return sourceAlphaScaled(sp, dp, a256);
        });
    }
}

}  // namespace

void blit(RasterBitmap* dest, RasterBitmap* src, int x, int y, const Rect* sourceRect, float alpha,
          int mode) {
    if (!(alpha > 0.0f)) return;
    // The other combine operations are not part of this library.
    if ((mode & kCombineMask) != kCombineCopy) return;
    const PixelRows to(dest);
    const PixelRows from(src);
    if (!to.valid() || !from.valid()) return;
    BlitArea area;
    if (!clipArea(to, from, x, y, sourceRect, area)) return;
    const bool useSourceAlpha = (mode & kUseSourceAlpha) != 0;
    // Rows of the same bitmap moving down must be handled bottom-up so that each row is
    // read before it is overwritten.
    const bool bottomUp = dest == src && area.destY > area.sourceY;
    const bool rightToLeft = dest == src && area.destY == area.sourceY && area.destX > area.sourceX;
    for (int i = 0; i < area.height; ++i) {
        const int row = bottomUp ? area.height - 1 - i : i;
        std::uint32_t* d = to.row(area.destY + row) + area.destX;
        const std::uint32_t* s = from.row(area.sourceY + row) + area.sourceX;
        if (useSourceAlpha) {
            sourceAlphaRow(d, s, area.width, alpha, rightToLeft);
        } else {
            copyRow(d, s, area.width, alpha, rightToLeft);
        }
    }
}

}  // namespace corvalen::raster
