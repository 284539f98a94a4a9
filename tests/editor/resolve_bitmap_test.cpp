// Scale changes, preloading and resolving image references against the library's images.
#include <gtest/gtest.h>

#include "editor/bitmap_cache.h"
#include "editor/editor_graphics.h"
#include "editor/image_ids.h"

namespace corvalen::editor {
namespace {

TEST(ApplyScale, SizesTheDrawBitmapForEachShift) {
    EditorGraphics graphics;
    EXPECT_EQ(graphics.forcedShift(), -1);
    EXPECT_EQ(graphics.drawBitmap().width(), 0);
    EXPECT_TRUE(graphics.applyScale(1));
    EXPECT_EQ(graphics.effectiveShift(), 1);
    EXPECT_EQ(graphics.drawBitmap().width(), 800);
    EXPECT_EQ(graphics.drawBitmap().height(), 527);
    EXPECT_TRUE(graphics.applyScale(0));
    EXPECT_EQ(graphics.effectiveShift(), 0);
    EXPECT_EQ(graphics.drawBitmap().width(), 1600);
    EXPECT_EQ(graphics.drawBitmap().height(), 1054);
}

TEST(ApplyScale, ThereAreOnlyTwoImageSets) {
    EditorGraphics graphics;
    graphics.applyScale(3);
    EXPECT_EQ(graphics.effectiveShift(), 0);
    graphics.applyScale(-1);
    EXPECT_EQ(graphics.effectiveShift(), 0);
}

// The pair after the table's last (the table lists its ids in order), which no image has.
constexpr int kUnlistedImage = kImages[kImageCount - 1].id + 2;

TEST(ApplyScale, PreloadsEveryImageOfTheShiftAtItsListedSize) {
    EditorGraphics graphics;
    graphics.applyScale(1);
    graphics.applyScale(0);
    for (const ImageSize& image : kImages) {
        raster::RasterBitmap* full = processBitmapCache().find(image.id);
        raster::RasterBitmap* half = processBitmapCache().find(image.id + 1);
        ASSERT_NE(full, nullptr) << image.id;
        ASSERT_NE(half, nullptr) << image.id + 1;
        EXPECT_EQ(full->width(), image.width) << image.id;
        EXPECT_EQ(full->height(), image.height) << image.id;
        EXPECT_EQ(half->width(), image.width / 2) << image.id + 1;
        EXPECT_EQ(half->height(), image.height / 2) << image.id + 1;
    }
    EXPECT_EQ(processBitmapCache().find(kUnlistedImage), nullptr);
    EXPECT_EQ(processBitmapCache().find(kUnlistedImage + 1), nullptr);
}

TEST(ResolveBitmap, FollowsTheShiftBetweenTheHalfAndFullSizeIds) {
    EditorGraphics graphics;
    graphics.applyScale(0);
    BitmapRef ref{nullptr, 114, 40, 2, 151};

    EXPECT_TRUE(graphics.resolveBitmap(ref));
    EXPECT_EQ(ref.resourceId, 150);
    EXPECT_EQ(ref.bitmap, processBitmapCache().find(150));
    EXPECT_EQ(ref.frameWidth, 114);
    EXPECT_EQ(ref.frameHeight, 40);

    graphics.applyScale(1);
    EXPECT_TRUE(graphics.resolveBitmap(ref));
    EXPECT_EQ(ref.resourceId, 151);
    EXPECT_EQ(ref.bitmap, processBitmapCache().find(151));
    EXPECT_EQ(ref.frameWidth, 57);
    EXPECT_EQ(ref.frameHeight, 20);

    const BitmapRef before = ref;
    EXPECT_TRUE(graphics.resolveBitmap(ref));
    EXPECT_EQ(ref.bitmap, before.bitmap);
    EXPECT_EQ(ref.resourceId, before.resourceId);
    EXPECT_EQ(ref.frameWidth, before.frameWidth);
    EXPECT_EQ(ref.frameHeight, before.frameHeight);
}

TEST(ResolveBitmap, TheKnobSplitsIntoSixtyFrames) {
    EditorGraphics graphics;
    graphics.applyScale(1);
    BitmapRef knob{nullptr, 72, 72, 60, kImageBandKnob | 1};
    ASSERT_TRUE(graphics.resolveBitmap(knob));
    EXPECT_EQ(knob.frameWidth, 36);
    EXPECT_EQ(knob.frameHeight, 36);
}

TEST(ResolveBitmap, AMissingImageResolvesToThePlaceholder) {
    EditorGraphics graphics;
    graphics.applyScale(1);
    BitmapRef ref{nullptr, 10, 10, 2, kUnlistedImage + 1};
    EXPECT_FALSE(graphics.resolveBitmap(ref));
    EXPECT_EQ(ref.bitmap, &placeholderBitmap());
    EXPECT_EQ(ref.resourceId, kUnlistedImage + 1);
    EXPECT_EQ(ref.frameWidth, 0);
    EXPECT_EQ(ref.frameHeight, 0);
    EXPECT_FALSE(graphics.resolveBitmap(ref));

    // Drawing it leaves the draw bitmap alone.
    raster::SystemBitmap& target = graphics.drawBitmap();
    target.bits()[0] = 0x12345678;
    graphics.drawFrame(ref, 0, 0, 0, 1.0f);
    EXPECT_EQ(target.bits()[0], 0x12345678u);
}

TEST(ResolveBitmap, AZeroFrameCountIsTreatedAsOneFrame) {
    EditorGraphics graphics;
    graphics.applyScale(0);
    BitmapRef ref{nullptr, 0, 0, 0, 180};
    EXPECT_TRUE(graphics.resolveBitmap(ref));
    EXPECT_EQ(ref.frameHeight, 32);
}

TEST(LoadPngResource, OnlyPngResourcesDecode) {
    EditorGraphics graphics;
    auto splash = graphics.loadPngResource(231);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->width(), 460);
    EXPECT_EQ(splash->height(), 325);
    EXPECT_EQ(graphics.loadPngResource(kUnlistedImage), nullptr);
    EXPECT_EQ(graphics.loadPngResource(240), nullptr);  // a font, not an image
}

}  // namespace
}  // namespace corvalen::editor
