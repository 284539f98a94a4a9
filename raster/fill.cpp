#include "raster/fill.h"

#include <algorithm>

#include "raster/pixel_blend.h"
#include "raster/row_access.h"

namespace corvalen::raster {
namespace {

constexpr long long kTableWorthwhile =
    4096;  // pixels; below this the tables cost more than they save

// pixel::mixAll of a fixed colour and weight, tabulated per lane.
class ChannelTables {
public:
    ChannelTables(std::uint32_t colour, int keep) {
        for (int lane = 0; lane < 4; ++lane)
            for (int d = 0; d < 256; ++d) {
                const std::uint32_t mixed =
                    pixel::mixAll(colour, static_cast<std::uint32_t>(d) << (8 * lane), keep);
                table_[lane][d] = mixed & (0xFFu << (8 * lane));
            }
    }
    std::uint32_t apply(std::uint32_t d) const {
        return table_[0][d & 0xFF] | table_[1][(d >> 8) & 0xFF] | table_[2][(d >> 16) & 0xFF] |
               table_[3][d >> 24];
    }

private:
    std::uint32_t table_[4][256];
};

}  // namespace

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
    const bool fastPath = alpha >= 1.0f || alpha == 0.5f || alpha == 0.25f || alpha == 0.75f;
    if (!fastPath && (right - left) * (bottom - top) >= kTableWorthwhile) {
        // One colour at one alpha: every destination byte value has one result per lane,
        // so four small tables replace the per-byte arithmetic.
        const ChannelTables tables(colour, 256 - pixel::alpha256(alpha));
        for (int row = static_cast<int>(top); row < bottom; ++row) {
            std::uint32_t* d = rows.row(row) + x0;
            for (int i = 0; i < n; ++i) d[i] = tables.apply(d[i]);
        }
        return;
    }
    for (int row = static_cast<int>(top); row < bottom; ++row) {
        std::uint32_t* d = rows.row(row) + x0;
        if (alpha >= 1.0f) {
            std::fill(d, d + n, colour);
        } else {
            pixel::blendRun(colour, d, n, 1, alpha);
        }
    }
}

}  // namespace corvalen::raster
