// Fonts made and measured on several threads at once (plug-in instances whose editors run
// on different user-interface threads) share the process's glyph scratch bitmap: each
// glyph must come back as its own font drew it, and the thread sanitizer must stay quiet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "raster/cached_font.h"
#include "raster/font_scratch.h"

namespace corvalen::raster {
namespace {

constexpr int kThreads = 4;
constexpr int kFontsPerThread = 6;
constexpr int kLineHeight = 12;
constexpr int kGlyphWidth = 5;

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

TEST(FontScratchThreads, FontsMadeOnManyThreadsKeepTheirOwnGlyphs) {
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
    for (const auto& perThread : wrong)
        EXPECT_EQ(perThread, std::vector<int>(kFontsPerThread, 0));
}

}  // namespace
}  // namespace corvalen::raster
