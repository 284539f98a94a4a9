// Every 8-bit blend of blits, fills and glyphs against a plain per-byte reference, for
// every pair of byte values in every lane (so a carry leaking between bytes shows), and
// against values computed independently by data/make_blend_reference.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "fake_font.h"
#include "raster/blit.h"
#include "raster/cached_font.h"
#include "raster/fill.h"
#include "raster/memory_bitmap.h"
#include "raster/pixel_blend.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;
using testing::fromLanes;
using testing::laneOf;
using testing::truncatedDivide;

#include "data/blend_reference.inc"

// Byte rule applied to lanes 0..lanes-1 of s over d; the other lanes come from `rest`.
template <class Rule>
std::uint32_t perLane(std::uint32_t s, std::uint32_t d, int lanes, std::uint32_t rest, Rule rule) {
    int out[4];
    for (int lane = 0; lane < 4; ++lane)
        out[lane] = lane < lanes ? rule(laneOf(s, lane), laneOf(d, lane)) : laneOf(rest, lane);
    return fromLanes(out[0], out[1], out[2], out[3]);
}

// A 256 x 256 source and destination in which every lane meets every byte pair, both
// for a source lane that follows x or y and for a colour that follows the row (the source
// alpha lane is fixed when sourceAlpha >= 0); runs `draw` and counts the pixels that
// differ from expected(s, d, y).
template <class Draw, class Expected>
int wrongPixels(int sourceAlpha, Draw draw, Expected expected) {
    MemoryBitmap source(256, 256), destination(256, 256);
    auto s = [&](int x, int y) {
        return fromLanes(x, y, 255 - x, sourceAlpha >= 0 ? sourceAlpha : x ^ 0xA5);
    };
    // Odd multiples of y keep every lane a one-to-one function of x for each y and of y for each x.
    auto d = [](int x, int y) {
        return fromLanes((x + y) & 0xFF, (x + 3 * y) & 0xFF, (255 - x + 5 * y) & 0xFF,
                         (x + 7 * y) & 0xFF);
    };
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            at(source, x, y) = s(x, y);
            at(destination, x, y) = d(x, y);
        }
    draw(source, destination);
    int wrong = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            wrong += at(destination, x, y) != expected(s(x, y), d(x, y), y);
    return wrong;
}

int a256Of(float alpha) { return static_cast<int>(alpha * 256.0f); }

TEST(ExhaustiveBlend, CopyBlitAtEachAlpha) {
    for (float alpha : {1.0f, 0.5f, 0.25f, 0.3f, 0.75f, 0.01f}) {
        const int keep = 256 - a256Of(alpha);
        const int wrong = wrongPixels(
            -1,
            [&](MemoryBitmap& s, MemoryBitmap& d) {
                blit(&d, &s, 0, 0, nullptr, alpha, kCombineCopy);
            },
            [&](std::uint32_t s, std::uint32_t d, int) {
                return perLane(s, d, 4, 0, [&](int sb, int db) {
                    return alpha == 0.5f ? (sb >> 1) + (db >> 1)
                                         : sb + truncatedDivide((db - sb) * keep, 256);
                });
            });
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

// Source alpha sa at full strength: keep 255 - sa and add sa; scaled by alpha: w =
// a256 x (sa + 1) / 256, keep 256 - w and add w. sa 0 leaves d; sa 255 at full strength copies.
TEST(ExhaustiveBlend, SourceAlphaBlitForEverySourceAlpha) {
    for (float alpha : {1.0f, 0.25f, 0.5f, 0.3f}) {
        int wrong = 0;
        for (int sa = 0; sa < 256; sa += alpha >= 1.0f ? 1 : 3) {
            const int added = alpha >= 1.0f ? sa : a256Of(alpha) * (sa + 1) / 256;
            const int keep = alpha >= 1.0f ? 255 - sa : 256 - added;
            wrong += wrongPixels(
                sa,
                [&](MemoryBitmap& s, MemoryBitmap& d) {
                    blit(&d, &s, 0, 0, nullptr, alpha, kUseSourceAlpha);
                },
                [&](std::uint32_t s, std::uint32_t d, int) -> std::uint32_t {
                    if (sa == 0) return d;
                    if (sa == 255 && alpha >= 1.0f) return (s & 0xFFFFFFu) | 0xFF000000u;
                    const std::uint32_t alphaLane =
                        static_cast<std::uint32_t>(std::min(255, laneOf(d, 3) + added)) << 24;
                    return perLane(s, d, 3, alphaLane, [&](int sb, int db) {
                        return sb + truncatedDivide((db - sb) * keep, 256);
                    });
                });
        }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

int fillByte(int c, int d, float alpha) {
    if (alpha >= 1.0f) return c;
    if (alpha == 0.5f) return (c >> 1) + (d >> 1);
    if (alpha == 0.25f) return (d >> 1) + (c >> 2) + (d >> 2);
    if (alpha == 0.75f) return (c >> 1) + (c >> 2) + (d >> 2);
    return c + truncatedDivide((d - c) * (256 - a256Of(alpha)), 256);
}

std::uint32_t fillColour(int v) { return fromLanes(v, 255 - v, v, v ^ 0x5A); }

// Single-row fills (the per-pixel path): row y takes fillColour(y) over every destination byte.
TEST(ExhaustiveBlend, FillRowsAtEachAlpha) {
    for (float alpha : {1.0f, 0.5f, 0.25f, 0.75f, 0.3f, 0.9f}) {
        const int wrong = wrongPixels(
            -1,
            [&](MemoryBitmap&, MemoryBitmap& d) {
                for (int y = 0; y < 256; ++y)
                    fillRect(&d, 0, y, 256, 1, fillColour(y), alpha, kCombineCopy);
            },
            [&](std::uint32_t, std::uint32_t d, int y) {
                return perLane(fillColour(y), d, 4, 0,
                               [&](int c, int db) { return fillByte(c, db, alpha); });
            });
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

// Large fills (the table path) of every colour over every destination byte.
TEST(ExhaustiveBlend, LargeFillsGiveTheSameBytes) {
    for (float alpha : {0.3f, 0.9f, 0.01f}) {
        MemoryBitmap destination(64, 64);
        auto under = [](int i) {
            return fromLanes(i & 0xFF, (i * 7) & 0xFF, 255 - (i & 0xFF), (i * 13) & 0xFF);
        };
        int wrong = 0;
        for (int v = 0; v < 256; ++v) {
            for (int i = 0; i < 64 * 64; ++i) at(destination, i % 64, i / 64) = under(i);
            fillRect(&destination, 0, 0, 64, 64, fillColour(v), alpha, kCombineCopy);
            for (int i = 0; i < 64 * 64; ++i)
                wrong += at(destination, i % 64, i / 64) !=
                         perLane(fillColour(v), under(i), 4, 0,
                                 [&](int c, int db) { return fillByte(c, db, alpha); });
        }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

// Glyph coverage c of text byte t over d: keep 255 - c at full strength, else
// 256 - a256 x c / 256; all four lanes; c = 0 untouched. The gradient glyph's column x
// has coverage x, so the source grid's red lane (x) is the coverage.
TEST(ExhaustiveBlend, GlyphCoverageForEveryTextByte) {
    testing::FakeFont gradient(256);
    for (float alpha : {1.0f, 105.0f / 256.0f}) {
        CachedFont font;
        font.setPlatformFont(&gradient, 0);
        font.setCombineMode(0, alpha);
        int wrong = 0;
        for (int t = 0; t < 256; t += alpha >= 1.0f ? 1 : 5) {
            const std::uint32_t colour = fromLanes(t, 255 - t, t, t ^ 0x33);
            font.setTextColour(colour);
            wrong += wrongPixels(
                -1,
                [&](MemoryBitmap&, MemoryBitmap& d) {
                    Rect rect{0, 0, 256, 256};
                    font.drawText(&d, "G", -1, &rect, 0);
                },
                [&](std::uint32_t s, std::uint32_t d, int) {
                    const int c = laneOf(s, 0);
                    if (c == 0) return d;
                    const int keep = alpha >= 1.0f ? 255 - c : 256 - a256Of(alpha) * c / 256;
                    return perLane(colour, d, 4, 0, [&](int tb, int db) {
                        return tb + truncatedDivide((db - tb) * keep, 256);
                    });
                });
        }
        EXPECT_EQ(wrong, 0) << "alpha " << alpha;
    }
}

// The word-wide mix (lines, discs, blits at an alpha) against the byte formula, for every
// weight and every byte pair in every lane: each lane sees all pairs as (c, d) runs over them.
TEST(ExhaustiveBlend, MixOfTwoWordsForEveryWeight) {
    long long wrong = 0;
    for (int keep = 0; keep <= 256; ++keep) {
        for (int c = 0; c < 256; ++c) {
            for (int d = 0; d < 256; ++d) {
                const std::uint32_t colour = fromLanes(c, d, 255 - c, c ^ 0x33);
                const std::uint32_t under = fromLanes(d, c, 255 - d, d);
                const std::uint32_t expected = perLane(colour, under, 4, 0, [&](int cb, int db) {
                    return cb + truncatedDivide((db - cb) * keep, 256);
                });
                wrong += pixel::mixAll(colour, under, keep) != expected;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Independent values (Python integers) for the same rules.
TEST(BlendReference, MatchesScriptValues) {
    MemoryBitmap source(1, 1), destination(256, 1);
    for (const BlendCase& c : kCopyBlendCases) {
        at(source, 0, 0) = c.source;
        at(destination, 0, 0) = c.destination;
        blit(&destination, &source, 0, 0, nullptr, static_cast<float>(c.parameter) / 256.0f,
             kCombineCopy);
        EXPECT_EQ(at(destination, 0, 0), c.expected)
            << std::hex << c.source << " over " << c.destination;
    }
    for (const BlendCase& c : kSourceAlphaCases) {
        at(source, 0, 0) = c.source;
        at(destination, 0, 0) = c.destination;
        blit(&destination, &source, 0, 0, nullptr, static_cast<float>(c.parameter) / 256.0f,
             kUseSourceAlpha);
        EXPECT_EQ(at(destination, 0, 0), c.expected)
            << std::hex << c.source << " over " << c.destination;
    }
    testing::FakeFont gradient(1);
    CachedFont font;
    font.setPlatformFont(&gradient, 0);
    for (const GlyphCase& c : kGlyphCases) {
        at(destination, c.coverage, 0) = c.destination;
        font.setCombineMode(0, static_cast<float>(c.a256) / 256.0f);
        font.setTextColour(c.text);
        Rect rect{0, 0, 256, 1};
        font.drawText(&destination, "G", -1, &rect, 0);
        EXPECT_EQ(at(destination, c.coverage, 0), c.expected)
            << std::hex << c.text << " over " << c.destination;
    }
}

}  // namespace
}  // namespace corvalen::raster
