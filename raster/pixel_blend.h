// The per-pixel arithmetic shared by blits, fills, lines, discs and text. Internal.
//
// Every blend works on the four bytes of a 0xAARRGGBB word independently; the whole-word
// averages mask each byte so that no carry crosses into its neighbour.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvalen::raster::pixel {

constexpr std::uint32_t kHalfMask = 0x7F7F7F7Fu;
constexpr std::uint32_t kQuarterMask = 0x3F3F3F3Fu;

inline std::uint32_t half(std::uint32_t v) { return (v >> 1) & kHalfMask; }
inline std::uint32_t quarter(std::uint32_t v) { return (v >> 2) & kQuarterMask; }

// 0.5: the average of the two words, byte by byte.
inline std::uint32_t average(std::uint32_t a, std::uint32_t b) { return half(a) + half(b); }
// 0.25 of c over d.
inline std::uint32_t quarterOver(std::uint32_t c, std::uint32_t d) {
    return half(d) + quarter(c) + quarter(d);
}
// 0.75 of c over d.
inline std::uint32_t threeQuartersOver(std::uint32_t c, std::uint32_t d) {
    return half(c) + quarter(c) + quarter(d);
}

inline int byteAt(std::uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFFu); }

// Every byte becomes c + (d - c) x keep / 256 (division truncating toward zero), with
// keep in 0..256: 0 gives c, 256 gives d.
//
// Two bytes at a time, each in a 16-bit lane: c + trunc((d - c) k / 256) is the weighted sum
// c (256 - k) + d k divided by 256, rounded down when d >= c and up when d < c (rounding
// toward c). The sum plus 255 is at most 65535, so no lane carries into the next.
inline std::uint32_t mixLanes(std::uint32_t c, std::uint32_t d, std::uint32_t keep) {
    constexpr std::uint32_t kLanes = 0x00FF00FFu;
    constexpr std::uint32_t kGuard = 0x01000100u;  // bit 8 of each lane
    constexpr std::uint32_t kOnes = 0x00010001u;
    // Bit 8 of each lane of 255 + c - d is set exactly when d < c.
    const std::uint32_t below = ((((c | kGuard) - d - kOnes) >> 8) & kOnes) * 0xFFu;
    return ((c * (256u - keep) + d * keep + below) >> 8) & kLanes;
}

inline std::uint32_t mixAll(std::uint32_t c, std::uint32_t d, int keep) {
    constexpr std::uint32_t kLanes = 0x00FF00FFu;
    const auto k = static_cast<std::uint32_t>(keep);
    return mixLanes(c & kLanes, d & kLanes, k) |
           (mixLanes((c >> 8) & kLanes, (d >> 8) & kLanes, k) << 8);
}

// Converts a blend alpha (0..1) to the integer a256 = alpha x 256 (truncated).
inline int alpha256(float alpha) {
    if (!(alpha > 0.0f)) return 0;
    if (alpha >= 1.0f) return 256;
    return static_cast<int>(alpha * 256.0f);
}

// The copy-mode blend of a colour c over d at a given alpha, with the fast paths of the
// common alphas (fills and lines).
inline std::uint32_t blendColour(std::uint32_t c, std::uint32_t d, float alpha) {
    if (alpha >= 1.0f) return c;
    if (alpha == 0.5f) return average(c, d);
    if (alpha == 0.25f) return quarterOver(c, d);
    if (alpha == 0.75f) return threeQuartersOver(c, d);
    return mixAll(c, d, 256 - alpha256(alpha));
}

// blendColour over n pixels `stride` words apart, with the alpha's case chosen once.
inline void blendRun(std::uint32_t c, std::uint32_t* d, int n, std::ptrdiff_t stride, float alpha) {
    auto run = [&](auto blend) {
        for (int i = 0; i < n; ++i, d += stride) *d = blend(*d);
    };
    if (alpha >= 1.0f) {
        run([c](std::uint32_t) { return c; });
    } else if (alpha == 0.5f) {
        run([c](std::uint32_t under) { return average(c, under); });
    } else if (alpha == 0.25f) {
        run([c](std::uint32_t under) { return quarterOver(c, under); });
    } else if (alpha == 0.75f) {
        run([c](std::uint32_t under) { return threeQuartersOver(c, under); });
    } else {
        const int keep = 256 - alpha256(alpha);
        run([c, keep](std::uint32_t under) { return mixAll(c, under, keep); });
    }
}

}  // namespace corvalen::raster::pixel
