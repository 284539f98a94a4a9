// The per-pixel arithmetic shared by blits, fills, lines, discs and text. Internal.
//
// Every blend works on the four bytes of a 0xAARRGGBB word independently; the whole-word
// averages mask each byte so that no carry crosses into its neighbour.
#pragma once

#include <cstdint>

namespace corvalen::raster::pixel {

constexpr std::uint32_t kHalfMask = 0x7F7F7F7Fu;
constexpr std::uint32_t kQuarterMask = 0x3F3F3F3Fu;

inline std::uint32_t half(std::uint32_t v) { return (v >> 1) & kHalfMask; }
inline std::uint32_t quarter(std::uint32_t v) { return (v >> 2) & kQuarterMask; }

// 0.5: the average of the two words, byte by byte.
inline std::uint32_t average(std::uint32_t a, std::uint32_t b) { return half(a) + half(b); }
// 0.25 of c over d.
inline std::uint32_t quarterOver(std::uint32_t c, std::uint32_t d) { return half(d) + quarter(c) + quarter(d); }
// 0.75 of c over d.
inline std::uint32_t threeQuartersOver(std::uint32_t c, std::uint32_t d) { return half(c) + quarter(c) + quarter(d); }

inline int byteAt(std::uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFFu); }

// Every byte becomes c + (d - c) x keep / 256 (division truncating toward zero), with
// keep in 0..256: 0 gives c, 256 gives d.
inline std::uint32_t mixAll(std::uint32_t c, std::uint32_t d, int keep) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int cb = byteAt(c, shift);
        const int db = byteAt(d, shift);
        out |= static_cast<std::uint32_t>(cb + (db - cb) * keep / 256) << shift;
    }
    return out;
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

}  // namespace corvalen::raster::pixel
