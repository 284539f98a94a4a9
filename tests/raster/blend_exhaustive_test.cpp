// Every 8-bit blend of blits and fills against a plain per-byte reference, for every
// pair of byte values in every lane (so a carry leaking between bytes shows), and against
// values computed independently by data/make_blend_reference.py.
#include <gtest/gtest.h>

#include <cstdint>

#include "raster/blit.h"
#include "raster/fill.h"
#include "raster/memory_bitmap.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::fromLanes;
using testing::laneOf;
using testing::truncatedDivide;

#include "data/blend_reference.inc"

// Source pixel (x, y): every lane sees every (source, destination) pair across the grid.
std::uint32_t sourceAt(int x, int y) { return fromLanes(x, y, 255 - x, x ^ 0xA5); }
std::uint32_t destinationAt(int x, int y) { return fromLanes(y, x, y, 255 - y); }

void makeGrids(MemoryBitmap& source, MemoryBitmap& destination) {
    source.resize(256, 256);
    destination.resize(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            at(source, x, y) = sourceAt(x, y);
            at(destination, x, y) = destinationAt(x, y);
        }
}

int copyReference(int s, int d, float alpha) {
    if (alpha == 0.5f) return (s >> 1) + (d >> 1);
    const int a256 = static_cast<int>(alpha * 256.0f);
    return s + truncatedDivide((d - s) * (256 - a256), 256);
}

TEST(CopyBlit, EveryBytePairAtEachAlpha) {
    for (float alpha : {0.5f, 0.25f, 0.3f, 0.75f, 0.9f, 0.01f}) {
        MemoryBitmap source, destination;
        makeGrids(source, destination);
        blit(&destination, &source, 0, 0, nullptr, alpha, kCombineCopy);
        int wrong = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                for (int lane = 0; lane < 4; ++lane) {
                    const int expected = copyReference(laneOf(sourceAt(x, y), lane), laneOf(destinationAt(x, y), lane), alpha);
                    if (laneOf(at(destination, x, y), lane) != expected) ++wrong;
                }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

TEST(CopyBlit, FullAlphaCopiesEveryWord) {
    MemoryBitmap source, destination;
    makeGrids(source, destination);
    blit(&destination, &source, 0, 0, nullptr, 1.0f, kCombineCopy);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_EQ(at(destination, x, y), sourceAt(x, y));
}

// A source-alpha pixel: colour bytes s + (d - s) x keep / 256, alpha min(255, da + added);
// a transparent source (alpha byte 0) leaves d.
std::uint32_t sourceAlphaReference(std::uint32_t s, std::uint32_t d, int keep, int added) {
    if (laneOf(s, 3) == 0) return d;
    int lanes[4];
    for (int lane = 0; lane < 3; ++lane) {
        const int sb = laneOf(s, lane), db = laneOf(d, lane);
        lanes[lane] = sb + truncatedDivide((db - sb) * keep, 256);
    }
    lanes[3] = std::min(255, laneOf(d, 3) + added);
    return fromLanes(lanes[0], lanes[1], lanes[2], lanes[3]);
}

// Source alpha at full strength over every colour pair for every source alpha.
TEST(SourceAlphaBlit, EveryBytePairForEverySourceAlpha) {
    MemoryBitmap source(256, 256), destination(256, 256);
    int wrong = 0;
    for (int sa = 0; sa < 256; ++sa) {
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                at(source, x, y) = fromLanes(x, y, 255 - x, sa);
                at(destination, x, y) = fromLanes(y, x, y, (x + y) & 0xFF);
            }
        blit(&destination, &source, 0, 0, nullptr, 1.0f, kUseSourceAlpha);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const std::uint32_t s = fromLanes(x, y, 255 - x, sa);
                const std::uint32_t d = fromLanes(y, x, y, (x + y) & 0xFF);
                const std::uint32_t expected = sa == 255 ? (s & 0xFFFFFFu) | 0xFF000000u : sourceAlphaReference(s, d, 255 - sa, sa);
                if (at(destination, x, y) != expected) ++wrong;
            }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(SourceAlphaBlit, EveryBytePairScaledByAlpha) {
    MemoryBitmap source(256, 256), destination(256, 256);
    for (float alpha : {0.25f, 0.5f, 0.3f}) {
        const int a256 = static_cast<int>(alpha * 256.0f);
        int wrong = 0;
        for (int sa = 0; sa < 256; sa += 3) {
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    at(source, x, y) = fromLanes(x, y, 255 - x, sa);
                    at(destination, x, y) = fromLanes(y, x, y, 255 - x);
                }
            blit(&destination, &source, 0, 0, nullptr, alpha, kUseSourceAlpha);
            const int w = a256 * (sa + 1) / 256;
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const std::uint32_t s = fromLanes(x, y, 255 - x, sa);
                    const std::uint32_t d = fromLanes(y, x, y, 255 - x);
                    if (at(destination, x, y) != sourceAlphaReference(s, d, 256 - w, w)) ++wrong;
                }
        }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

int fillReference(int c, int d, float alpha) {
    if (alpha >= 1.0f) return c;
    if (alpha == 0.5f) return (c >> 1) + (d >> 1);
    if (alpha == 0.25f) return (d >> 1) + (c >> 2) + (d >> 2);
    if (alpha == 0.75f) return (c >> 1) + (c >> 2) + (d >> 2);
    const int a256 = static_cast<int>(alpha * 256.0f);
    return c + truncatedDivide((d - c) * (256 - a256), 256);
}

TEST(FillRect, EveryBytePairAtEachAlpha) {
    for (float alpha : {1.0f, 0.5f, 0.25f, 0.75f, 0.3f, 0.9f}) {
        MemoryBitmap destination(256, 256);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) at(destination, x, y) = fromLanes(x, x, 255 - x, x ^ 0x3C);
        // Row y is filled with colour lanes derived from y, so every (c, d) pair occurs.
        for (int y = 0; y < 256; ++y) fillRect(&destination, 0, y, 256, 1, fromLanes(y, 255 - y, y, y ^ 0x5A), alpha, kCombineCopy);
        int wrong = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                for (int lane = 0; lane < 4; ++lane) {
                    const int c = laneOf(fromLanes(y, 255 - y, y, y ^ 0x5A), lane);
                    const int d = laneOf(fromLanes(x, x, 255 - x, x ^ 0x3C), lane);
                    if (laneOf(at(destination, x, y), lane) != fillReference(c, d, alpha)) ++wrong;
                }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

// Large fills take a table path: the same results for every colour and destination byte.
TEST(FillRect, LargeAreasGiveTheSameBytes) {
    for (float alpha : {0.3f, 0.9f, 0.01f}) {
        MemoryBitmap destination(64, 64);
        int wrong = 0;
        for (int v = 0; v < 256; ++v) {
            const std::uint32_t colour = fromLanes(v, 255 - v, v, v ^ 0x5A);
            for (int i = 0; i < 64 * 64; ++i) at(destination, i % 64, i / 64) = fromLanes(i & 0xFF, (i * 7) & 0xFF, 255 - (i & 0xFF), (i * 13) & 0xFF);
            fillRect(&destination, 0, 0, 64, 64, colour, alpha, kCombineCopy);
            for (int i = 0; i < 64 * 64; ++i) {
                const std::uint32_t d = fromLanes(i & 0xFF, (i * 7) & 0xFF, 255 - (i & 0xFF), (i * 13) & 0xFF);
                for (int lane = 0; lane < 4; ++lane)
                    wrong += laneOf(at(destination, i % 64, i / 64), lane) != fillReference(laneOf(colour, lane), laneOf(d, lane), alpha);
            }
        }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

// Independent values (Python integers) for the same rules.
TEST(BlendReference, CopyBlitMatchesScript) {
    for (const BlendCase& c : kCopyBlendCases) {
        MemoryBitmap source(1, 1), destination(1, 1);
        at(source, 0, 0) = c.source;
        at(destination, 0, 0) = c.destination;
        blit(&destination, &source, 0, 0, nullptr, static_cast<float>(c.parameter) / 256.0f, kCombineCopy);
        EXPECT_EQ(at(destination, 0, 0), c.expected) << std::hex << c.source << " over " << c.destination << " a256 " << std::dec << c.parameter;
    }
}

TEST(BlendReference, SourceAlphaBlitMatchesScript) {
    for (const BlendCase& c : kSourceAlphaCases) {
        MemoryBitmap source(1, 1), destination(1, 1);
        at(source, 0, 0) = c.source;
        at(destination, 0, 0) = c.destination;
        blit(&destination, &source, 0, 0, nullptr, static_cast<float>(c.parameter) / 256.0f, kUseSourceAlpha);
        EXPECT_EQ(at(destination, 0, 0), c.expected) << std::hex << c.source << " over " << c.destination;
    }
}

TEST(BlendReference, FillFastPathsMatchScript) {
    for (const BlendCase& c : kFillFastCases) {
        MemoryBitmap destination(1, 1);
        at(destination, 0, 0) = c.destination;
        fillRect(&destination, 0, 0, 1, 1, c.source, static_cast<float>(c.parameter) / 4.0f, kCombineCopy);
        EXPECT_EQ(at(destination, 0, 0), c.expected) << std::hex << c.source << " over " << c.destination;
    }
}

}  // namespace
}  // namespace corvalen::raster
