// Plug-in instances whose editors run on different user-interface threads make fonts at
// the same time, sharing the process's glyph scratch bitmap, and draw with the same cached
// fonts: each glyph must come back as its own font drew it, each text in its own drawer's
// colour, and the thread sanitizer must stay quiet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fake_font.h"
#include "raster/cached_font.h"
#include "raster/font_scratch.h"
#include "raster/memory_bitmap.h"

namespace corvalen::raster {
namespace {

constexpr int kThreads = 4;
constexpr int kFontsPerThread = 6;
constexpr int kLineHeight = 12;
constexpr int kGlyphWidth = 5;
constexpr std::uint32_t kPaper = 0xFFFFFFFFu;

// A glyph source that renders the way the platform renderer does: draw into the shared
// scratch, give others a chance to run, then read the pixels back. Its ink value is its
// own, so a glyph read back after another font drew over it is seen.
class ScratchFont final : public PlatformFont {
public:
    explicit ScratchFont(std::uint8_t ink) : ink_(ink) {}

    int lineHeight() override {
        font_scratch::Lease lease(font_scratch::Scratch::Glyph);
        std::uint32_t* row = lease.bitmap().bits();
        row[0] = ink_;
        std::this_thread::yield();
        return row[0] == ink_ ? kLineHeight : 0;
    }

    bool renderGlyph(char32_t c, GlyphImage& out) override {
        font_scratch::Lease lease(font_scratch::Scratch::Glyph);
        SystemBitmap& scratch = lease.bitmap();
        const std::uint32_t value = inkFor(c);
        for (int y = 0; y < kLineHeight; ++y)
            std::fill_n(scratch.bits() + static_cast<std::ptrdiff_t>(y) * scratch.rowSpan(),
                        kGlyphWidth, value);
        std::this_thread::yield();
        out = GlyphImage{};
        out.width = kGlyphWidth;
        out.height = kLineHeight;
        out.advance = kGlyphWidth + 1;
        for (int y = 0; y < kLineHeight; ++y)
            for (int x = 0; x < kGlyphWidth; ++x)
                out.coverage.push_back(static_cast<std::uint8_t>(
                    scratch.bits()[static_cast<std::ptrdiff_t>(y) * scratch.rowSpan() + x]));
        return true;
    }

    std::uint8_t inkFor(char32_t c) const {
        return static_cast<std::uint8_t>(1 + (ink_ * 31 + static_cast<unsigned>(c)) % 255);
    }

private:
    std::uint8_t ink_;
};

TEST(FontThreads, FontsMadeOnManyThreadsKeepTheirOwnGlyphs) {
    std::vector<std::vector<int>> wrong(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int f = 0; f < kFontsPerThread; ++f) {
                const auto ink = static_cast<std::uint8_t>(1 + t * kFontsPerThread + f);
                auto platform = std::make_unique<ScratchFont>(ink);
                CachedFont font;
                // Measures the line and renders ASCII up front, as the editor's fonts do.
                font.setPlatformFont(platform.get(), kFontRenderAsciiAtOnce);
                int bad = font.lineHeight() == kLineHeight ? 0 : 1000;
                for (char32_t c = 0; c < 128; ++c) {
                    const GlyphEntry* entry = font.glyphs().find(c);
                    if (entry == nullptr || entry->width != kGlyphWidth) {
                        ++bad;
                        continue;
                    }
                    const std::uint8_t* coverage = font.glyphs().coverage(*entry);
                    for (int i = 0; i < kGlyphWidth * kLineHeight; ++i)
                        bad += coverage[i] != platform->inkFor(c) ? 1 : 0;
                }
                wrong[static_cast<std::size_t>(t)].push_back(bad);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (const auto& perThread : wrong) EXPECT_EQ(perThread, std::vector<int>(kFontsPerThread, 0));
}

// Characters U+0100 onwards as UTF-8 (two bytes each): none is in the ASCII table, so every
// first use inserts into the font's growing store.
std::string TwoByteCharacters(int first, int count) {
    std::string text;
    for (int c = first; c < first + count; ++c) {
        text.push_back(static_cast<char>(0xC0 | (c >> 6)));
        text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return text;
}

TEST(FontThreads, ASharedFontDrawsEachThreadsTextInItsOwnColour) {
    constexpr int kRounds = 40;
    testing::FakeFont glyphs{10};
    CachedFont font;
    font.setPlatformFont(&glyphs, 0);
    std::vector<int> strayPixels(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &font, &strayPixels] {
            const std::uint32_t ink = 0xFF000000u | static_cast<std::uint32_t>(0x10 * (t + 1));
            MemoryBitmap page(300, 12);
            for (int round = 0; round < kRounds; ++round) {
                for (int y = 0; y < 12; ++y)
                    std::fill_n(page.bits() + y * page.rowSpan(), 300, kPaper);
                const std::string text = TwoByteCharacters(0x100 + 64 * t + round, 24);
                Rect rect{0, 0, 300, 12};
                {
                    // What the editor does for every text: colour, then draw, under the lock.
                    const std::lock_guard<std::recursive_mutex> guard(font.drawingLock());
                    font.setTextColour(ink);
                    font.drawText(&page, text.c_str(), -1, &rect, kTextLeft);
                }
                for (int y = 0; y < 12; ++y) {
                    for (int x = 0; x < 300; ++x) {
                        const std::uint32_t pixel = page.bits()[y * page.rowSpan() + x];
                        strayPixels[static_cast<std::size_t>(t)] += pixel != kPaper && pixel != ink;
                    }
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(strayPixels, std::vector<int>(kThreads, 0));
    EXPECT_EQ(font.glyphs().otherCount(), static_cast<std::size_t>(kThreads * (kRounds + 23)));
}

}  // namespace
}  // namespace corvalen::raster
