#include "raster/fill.h"

#include <algorithm>

#include "raster/pixel_blend.h"
#include "raster/row_access.h"

namespace corvalen::raster {

void fillRect(RasterBitmap* dest, int x, int y, int width, int height, std::uint32_t colour,
              float alpha, int mode) {
    if ((mode & kCombineMask) != kCombineCopy) return;
    if ((mode & kUseSourceAlpha) != 0) alpha *= static_cast<float>(colour >> 24) / 255.0f;
    if (!(alpha > 0.0f)) return;
    const PixelRows rows(dest);
    if (!rows.valid()) return;
    const long long left = std::max<long long>(x, 0);
    const long long top = std::max<long long>(y, 0);
    const long long right = std::min<long long>(static_cast<long long>(x) + width, rows.width);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, rows.height);
    if (right <= left || bottom <= top) return;
    const int x0 = static_cast<int>(left);
    const int n = static_cast<int>(right - left);
    for (int row = static_cast<int>(top); row < bottom; ++row) {
        std::uint32_t* d = rows.row(row) + x0;
        if (alpha >= 1.0f) {
            std::fill(d, d + n, colour);
        } else {
            for (int i = 0; i < n; ++i) d[i] = pixel::blendColour(colour, d[i], alpha);
        }
    }
}

}  // namespace corvalen::raster
