// The graph's drawing helpers and the image blits, probed pixel by pixel. Expected colours
// follow the raster library's documented blends: a 0.5 fill averages ((c >> 1) + (d >> 1)
// per byte), a 0.25 fill adds (d >> 1) + (c >> 2) + (d >> 2).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "editor/bitmap_cache.h"
#include "editor/editor_graphics.h"
#include "editor/image_ids.h"

namespace corvalen::editor {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kSentinel = 0xFF123456;

class DrawingHelpers : public ::testing::Test {
protected:
    void scale(int shift, std::uint32_t fill = kBlack) {
        graphics.applyScale(shift);
        raster::SystemBitmap& target = graphics.drawBitmap();
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x) target.bits()[y * target.rowSpan() + x] = fill;
        }
    }
    std::uint32_t at(int x, int y) {
        raster::SystemBitmap& target = graphics.drawBitmap();
        return target.bits()[y * target.rowSpan() + x];
    }
    std::uint32_t red(int x, int y) { return (at(x, y) >> 16) & 0xFF; }

    EditorGraphics graphics;
};

TEST_F(DrawingHelpers, FilledRectangleCoversTheShiftedEdges) {
    scale(1);
    graphics.fillRectAlpha(0xFFFF0000, {3, 5, 11, 9}, 1.0f);
    // Pixels 3 >> 1 = 1 .. (11 >> 1) - 1 = 4 across, 5 >> 1 = 2 .. (9 >> 1) - 1 = 3 down.
    for (int y = 2; y <= 3; ++y) {
        for (int x = 1; x <= 4; ++x) EXPECT_EQ(at(x, y), 0xFFFF0000u) << x << "," << y;
    }
    EXPECT_EQ(at(0, 2), kBlack);
    EXPECT_EQ(at(5, 2), kBlack);
    EXPECT_EQ(at(1, 1), kBlack);
    EXPECT_EQ(at(1, 4), kBlack);
}

TEST_F(DrawingHelpers, FilledRectangleBlendsWithTheColoursOwnAlpha) {
    scale(0);
    graphics.fillRectAlpha(0xFF000000, {0, 0, 10, 10}, 0.0f);
    EXPECT_EQ(at(5, 5), kBlack);
    scale(0, 0xFFFFFFFF);
    graphics.fillRectAlpha(0xFF000000, {0, 0, 10, 10}, 0.5f);
    // Black over white at one half: (0 >> 1) + (255 >> 1) = 127.
    EXPECT_EQ(red(5, 5), 127u);
    EXPECT_EQ(red(10, 5), 255u);
}

TEST_F(DrawingHelpers, DashesAreSixUnitsEveryTwelveAndTheLastIsCut) {
    scale(0);
    graphics.dashedLine(0, 28, 5);
    const std::uint32_t dash = EditorGraphics::kDashColour;
    for (int x : {0, 6, 12, 18, 24, 28}) EXPECT_EQ(at(x, 5), dash) << x;
    for (int x : {7, 11, 19, 23, 29, 35}) EXPECT_EQ(at(x, 5), kBlack) << x;
    EXPECT_EQ(at(3, 4), kBlack);
    EXPECT_EQ(at(3, 6), kBlack);
}

TEST_F(DrawingHelpers, DashesHalveAtHalfSize) {
    scale(1);
    graphics.dashedLine(0, 100, 10);
    // Dash 0..6 covers pixels 0..3, the gap to 12 pixels 4..5, dash 12..18 pixels 6..9.
    for (int x : {0, 3, 6, 9}) EXPECT_EQ(at(x, 5), EditorGraphics::kDashColour) << x;
    for (int x : {4, 5, 10, 11}) EXPECT_EQ(at(x, 5), kBlack) << x;
}

TEST_F(DrawingHelpers, AFlatThickLineWidensUpAndDown) {
    scale(0);
    graphics.thickLine(0xFF00FF00, 10, 20, 40, 20, 2, true, 1.0f);
    for (int y = 18; y <= 22; ++y) EXPECT_EQ(at(25, y), 0xFF00FF00u) << y;
    EXPECT_EQ(at(25, 17), kBlack);
    EXPECT_EQ(at(25, 23), kBlack);
    EXPECT_EQ(at(41, 20), kBlack);
}

TEST_F(DrawingHelpers, ASteepThickLineWidensSideways) {
    scale(0);
    graphics.thickLine(0xFF00FF00, 100, 10, 100, 60, 1, false, 1.0f);
    for (int x = 99; x <= 101; ++x) EXPECT_EQ(at(x, 30), 0xFF00FF00u) << x;
    EXPECT_EQ(at(98, 30), kBlack);
    EXPECT_EQ(at(102, 30), kBlack);
}

TEST_F(DrawingHelpers, ASoftLineFadesOverTwoUnitsOnEachSide) {
    scale(0);
    graphics.softLine(0xFFFFFFFF, 10, 100, 60, 100);
    EXPECT_EQ(red(30, 100), 0xFFu);
    EXPECT_EQ(red(30, 99), 0x7Fu);  // (255 >> 1) + (0 >> 1)
    EXPECT_EQ(red(30, 101), 0x7Fu);
    EXPECT_EQ(red(30, 98), 0x3Fu);  // (0 >> 1) + (255 >> 2) + (0 >> 2)
    EXPECT_EQ(red(30, 102), 0x3Fu);
    EXPECT_EQ(red(30, 97), 0u);
    EXPECT_EQ(red(30, 103), 0u);
}

TEST_F(DrawingHelpers, DiscsHalveCentreAndRadiusAtHalfSize) {
    scale(1);
    graphics.fillDisc(40.0f, 40.0f, 10.0f, 0xFFFFFFFF, 1.0f);
    // Centre (20, 20), radius 5: pixel 23 (centre 23.5) is inside, pixel 26 is not.
    EXPECT_EQ(red(20, 20), 0xFFu);
    EXPECT_EQ(red(23, 20), 0xFFu);
    EXPECT_EQ(red(26, 20), 0u);
    EXPECT_EQ(red(20, 26), 0u);

    scale(0);
    graphics.fillDisc(40.0f, 40.0f, 10.0f, 0xFFFFFFFF, 1.0f);
    EXPECT_EQ(red(46, 40), 0xFFu);
    EXPECT_EQ(red(52, 40), 0u);
}

TEST_F(DrawingHelpers, AFrameLandsAtTheShiftedPosition) {
    scale(1);
    BitmapRef ref{nullptr, 88, 36, 2, kImageBandSwitch | 1};
    ASSERT_TRUE(graphics.resolveBitmap(ref));
    graphics.drawFrame(ref, 1, 100, 200, 1.0f);
    // The plate's centre is opaque: frame 1's pixel (22, 9) lands at (50 + 22, 100 + 9).
    const std::uint32_t source = ref.bitmap->bits()[(18 + 9) * ref.bitmap->rowSpan() + 22];
    ASSERT_EQ(source >> 24, 0xFFu);
    EXPECT_EQ(at(72, 109), source);
    EXPECT_EQ(at(49, 109), kBlack);
    EXPECT_EQ(at(72, 99), kBlack);

    graphics.drawFrame(ref, 1, 300, 200, 0.25f);  // greyed out
    EXPECT_NE(at(172, 109), source);
    EXPECT_NE(at(172, 109), kBlack);
}

class BackgroundControl : public EditorControl {
public:
    BackgroundControl() : EditorControl({0, 0, 1600, 1054}) {}
    void rescale(EditorGraphics& graphics) override { graphics.resolveBitmap(ref); }
    void paint(EditorGraphics& graphics) override { graphics.drawBackground(ref); }
    BitmapRef ref{nullptr, 1600, 1054, 1, kImageBackground | 1};
};

TEST_F(DrawingHelpers, TheBackgroundCopiesOnlyTheRepaintedAreaRoundedOutward) {
    scale(1, kSentinel);
    auto* background =
        static_cast<BackgroundControl*>(graphics.attach(std::make_unique<BackgroundControl>()));
    background->rescale(graphics);
    raster::RasterBitmap* image = background->ref.bitmap;
    ASSERT_EQ(image->width(), 800);
    auto picture = [image](int x, int y) { return image->bits()[y * image->rowSpan() + x]; };

    graphics.paint({55, 11, 101, 31});
    // Columns 55 >> 1 = 27 to (101 + 1) >> 1 = 51 (exclusive), rows 5 to 16 (exclusive).
    EXPECT_EQ(at(27, 5), picture(27, 5));
    EXPECT_EQ(at(50, 15), picture(50, 15));
    EXPECT_EQ(at(26, 10), kSentinel);
    EXPECT_EQ(at(51, 10), kSentinel);
    EXPECT_EQ(at(30, 4), kSentinel);
    EXPECT_EQ(at(30, 16), kSentinel);
}

}  // namespace
}  // namespace corvalen::editor
