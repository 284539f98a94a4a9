// The switch-like controls, texts and frame choice, attached to the real product: what a
// press, a release or a chosen file pushes to the host, and what is drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/controls/background_image.h"
#include "editor/controls/file_button.h"
#include "editor/controls/image_display.h"
#include "editor/controls/momentary_button.h"
#include "editor/controls/switch_control.h"
#include "editor/controls/text_control.h"
#include "editor/controls/toggle_area.h"
#include "editor/image_ids.h"
#include "editor/input_modifiers.h"
#include "editor_under_test.h"
#include "engine/parameter_table.h"
#include "raster/fill.h"

namespace corvalen::editor {
namespace {

using testing::EditorUnderTest;
using testing::HostLog;

constexpr int kLeft = kModifierLeftButton;

BitmapRef Image(int id, int width, int height, int frames) {
    return BitmapRef{nullptr, width, height, frames, id + 1};
}

TEST(FrameForValue, NearestStepCountedFromTheEndWhenReversed) {
    struct Case {
        int frames;
        double value;
        int frame;
        int reversed;
    };
    // frame = trunc((frames - 1) * value + 0.5), worked out by hand.
    const Case cases[] = {
        {60, 0.0, 0, 59},     {60, 1.0, 59, 0},    {60, 0.5, 30, 29},  // 29.5 + 0.5
        {60, 0.4999, 29, 30},                                          // 29.4941 + 0.5
        {60, 0.9915, 58, 1},  {60, 0.9916, 59, 0},                     // 58.4985, 58.5044
        {2, 0.49, 0, 1},      {2, 0.5, 1, 0},      {3, 0.74, 1, 1},   {3, 0.75, 2, 0},
        {1, 0.0, 0, 0},       {1, 1.0, 0, 0},      {0, 1.0, 0, 0},  // no frames reads as one
        {60, 1.7, 59, 0},     {60, -0.3, 0, 59},                    // out of range: an end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameForValue(c.frames, c.value, false), c.frame) << c.frames << " " << c.value;
        EXPECT_EQ(FrameForValue(c.frames, c.value, true), c.reversed) << c.frames << " " << c.value;
    }
}

TEST(SwitchControl, PressesCycleTheStatesAndPushEachOne) {
    struct Case {
        int frames;
        double start;
        double next[3];
    };
    const Case cases[] = {
        {2, 0.0, {1.0, 0.0, 1.0}},
        {1, 0.0, {1.0, 0.0, 1.0}},  // a one-frame switch toggles as well
        {3, 0.0, {0.5, 1.0, 0.0}},
        {4, 0.4, {2.0 / 3.0, 1.0, 0.0}},  // 0.4 is nearest to state 1 of 3
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(NextSwitchValue(c.frames, c.start), c.next[0]);
        EXPECT_DOUBLE_EQ(NextSwitchValue(c.frames, c.next[0]), c.next[1]);
        EXPECT_DOUBLE_EQ(NextSwitchValue(c.frames, c.next[1]), c.next[2]);
    }

    EditorUnderTest editor;
    auto* band5 =
        editor.add<SwitchControl>(0, 0, param::BandSwitch(4), Image(kImageBandSwitch, 88, 36, 2));
    editor.finish({});
    EXPECT_EQ(band5->flags() & 0x30, 0x30);  // no right-click prompt; a double-click presses
    EXPECT_EQ(band5->readValue(), 1.0);      // bands start switched on
    band5->mouseDown(10, 10, kModifierRightButton);
    EXPECT_EQ(band5->readValue(), 1.0);
    band5->mouseDown(10, 10, kLeft);
    band5->mouseDown(10, 10, kLeft);  // the double-click's second press
    const auto pushed = HostLog::instance().entries();
    ASSERT_EQ(pushed.size(), 2u);
    EXPECT_EQ(pushed[0].index, param::BandSwitch(4));
    EXPECT_EQ(pushed[0].value, 0.0);
    EXPECT_EQ(pushed[1].value, 1.0);
    EXPECT_EQ(editor.plugin->Engine().bandEnabled[4], 1);
}

TEST(MomentaryButton, PressPushesOneAndReleaseZeroOnTheButtonRow) {
    EditorUnderTest editor;
    auto* unload =
        editor.add<MomentaryButton>(1542, param::kUnloadFr, Image(kImageUnloadButton, 40, 40, 2));
    editor.finish({});
    EXPECT_EQ(unload->rect(), (LayoutRect{1542, 916, 1582, 956}));
    unload->mouseDown(1550, 920, kLeft);
    EXPECT_EQ(unload->currentFrame(), 1);
    unload->mouseUp(1550, 920, 0);
    EXPECT_EQ(unload->currentFrame(), 0);
    const auto pushed = HostLog::instance().entries();
    ASSERT_EQ(pushed.size(), 2u);
    EXPECT_EQ(pushed[0].index, param::kUnloadFr);
    EXPECT_EQ(pushed[0].value, 1.0);
    EXPECT_EQ(pushed[1].value, 0.0);
}

TEST(FileButton, KeepsTheOldPathWhenCancelledAndPushesZeroEitherWay) {
    EditorUnderTest editor;
    auto* button =
        editor.add<FileButton>(1428, param::kFrFile, Image(kImageFileButton, 114, 40, 2));
    auto* status = editor.add<TextControl>(LayoutRect{14, 8, 420, 30}, TextStyle{});
    auto* unload =
        editor.add<MomentaryButton>(1542, param::kUnloadFr, Image(kImageUnloadButton, 40, 40, 2));
    EditorLinks links;
    links.fileButton = button;
    links.statusText = status;
    editor.finish(links);

    const std::string missing = "/no/such/folder/sennheiser.csv";
    editor.graphics->fileAnswers = {missing, ""};
    button->mouseDown(1430, 920, kLeft);
    button->mouseUp(1430, 920, 0);
    EXPECT_EQ(button->path(), missing);
    // The plug-in's own path, which its chunks save, is the one the user chose.
    EXPECT_EQ(editor.plugin->MeasurementPath(), missing);
    EXPECT_STREQ(status->text(), ("FILE NOT FOUND: " + missing).c_str());
    EXPECT_EQ(button->currentFrame(), 0);

    button->mouseDown(1430, 920, kLeft);
    button->mouseUp(1430, 920, 0);  // cancelled: the old path is reloaded
    EXPECT_EQ(button->path(), missing);
    ASSERT_EQ(editor.graphics->fileRequests.size(), 2u);
    EXPECT_EQ(editor.graphics->fileRequests[0].first, 0);  // open, not save
    EXPECT_EQ(editor.graphics->fileRequests[0].second, "csv txt");

    const auto pushed = HostLog::instance().entries();
    ASSERT_EQ(pushed.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pushed[static_cast<std::size_t>(i)].index, param::kFrFile);
        EXPECT_EQ(pushed[static_cast<std::size_t>(i)].value, i % 2 == 0 ? 1.0 : 0.0);
    }

    // Unloading empties the path the button holds; the message stays until the next reload.
    unload->mouseDown(1550, 920, kLeft);
    unload->mouseUp(1550, 920, 0);
    EXPECT_EQ(button->path(), "");
    EXPECT_STREQ(status->text(), ("FILE NOT FOUND: " + missing).c_str());
    button->mouseUp(1430, 920, 0);  // the chooser has no answer left: cancelled again
    EXPECT_STREQ(status->text(), "");
}

TEST(ToggleArea, LeftPressFlipsBetweenZeroAndOneAndDrawsNothing) {
    EditorUnderTest editor;
    auto* area = editor.add<ToggleArea>(param::kSplashScreen, LayoutRect{176, 1012, 212, 1048});
    editor.finish({});
    EXPECT_TRUE(area->rect().isEmpty());
    EXPECT_TRUE(area->hitTest(176, 1012));
    EXPECT_FALSE(area->hitTest(212, 1048));
    const double start = area->readValue();
    area->mouseDown(180, 1020, kModifierRightButton);
    EXPECT_EQ(area->readValue(), start);
    area->mouseDown(180, 1020, kLeft);
    EXPECT_EQ(area->readValue(), start < 0.5 ? 1.0 : 0.0);
    area->storeValue(0.49);
    area->mouseDown(180, 1020, kLeft);
    EXPECT_EQ(area->readValue(), 1.0);
    EXPECT_EQ(HostLog::instance().entries().size(), 2u);
}

TEST(TextControl, MarksItselfOnlyWhenTheTextChangesAndCutsAtACharacter) {
    TextControl text(LayoutRect{0, 0, 100, 20}, TextStyle{}, "1.00 k");
    text.markClean();
    text.setText("1.00 k");
    EXPECT_FALSE(text.isDirty());
    text.setText("1.01 k");
    EXPECT_TRUE(text.isDirty());
    EXPECT_STREQ(text.text(), "1.01 k");
    text.setHidden(true);
    text.markClean();
    text.setText("2.00 k");  // a hidden text stores but asks for no drawing
    EXPECT_FALSE(text.isDirty());
    EXPECT_STREQ(text.text(), "2.00 k");

    // 510 ASCII bytes, then a two-byte character that would end at byte 512: it is dropped
    // whole, as the buffer holds 511 bytes and the zero.
    const std::string longest = std::string(510, 'a') + "\xC3\xA9" + "z";
    text.setText(longest.c_str());
    EXPECT_EQ(std::strlen(text.text()), 510u);
    const std::string fits = std::string(509, 'a') + "\xC3\xA9" + "z";
    text.setText(fits.c_str());
    EXPECT_EQ(std::string(text.text()), fits.substr(0, 511));
    text.setText(nullptr);
    EXPECT_STREQ(text.text(), "");
}

// Counts the pixels of rect (layout units, half size) that differ from transparent black.
int PaintedPixels(EditorGraphics& graphics, const LayoutRect& rect) {
    raster::RasterBitmap& bitmap = graphics.drawBitmap();
    int painted = 0;
    for (int y = rect.top / 2; y < rect.bottom / 2; ++y) {
        for (int x = rect.left / 2; x < rect.right / 2; ++x) {
            if (bitmap.bits()[y * bitmap.rowSpan() + x] != 0) ++painted;
        }
    }
    return painted;
}

void Clear(EditorGraphics& graphics) {
    raster::RasterBitmap& bitmap = graphics.drawBitmap();
    raster::fillRect(&bitmap, 0, 0, bitmap.width(), bitmap.height(), 0, 1.0f, raster::kCombineCopy);
}

TEST(ImageControls, DrawTheirFrameAndAOneFrameSwitchOnlyWhileOn) {
    EditorUnderTest editor;
    // The target-level plate has one frame: as a switch it shows only while on.
    auto* plate = editor.add<SwitchControl>(100, 100, -1, Image(kImageOffsetPlate, 154, 32, 1));
    auto* splash =
        editor.add<ImageDisplay>(340, 202, param::kSplashScreen, Image(kImageSplash, 920, 650, 1));
    EditorLinks links;
    links.splashImage = splash;
    editor.finish(links);
    EditorGraphics& graphics = *editor.graphics;

    const LayoutRect everything{0, 0, 1600, 1054};
    const auto repaint = [&] {
        Clear(graphics);
        graphics.paint(everything);
    };
    plate->storeValue(0.49);
    repaint();
    EXPECT_EQ(PaintedPixels(graphics, plate->rect()), 0);
    plate->storeValue(0.5);
    repaint();
    EXPECT_GT(PaintedPixels(graphics, plate->rect()), 77 * 16 / 2);

    // The splash follows its parameter through the engine's link.
    editor.setParameter(param::kSplashScreen, 1.0f);
    EXPECT_FALSE(splash->isHidden());
    repaint();
    EXPECT_GT(PaintedPixels(graphics, splash->rect()), 460 * 325 / 2);
    editor.setParameter(param::kSplashScreen, 0.0f);
    EXPECT_TRUE(splash->isHidden());
    repaint();
    EXPECT_EQ(PaintedPixels(graphics, splash->rect()), 0);
}

TEST(BackgroundImage, CoversTheLayoutAndTakesNoMouse) {
    BackgroundImage background(Image(kImageBackground, 1600, 1054, 1));
    EXPECT_EQ(background.rect(), (LayoutRect{0, 0, 1600, 1054}));
    EXPECT_NE(background.flags() & kControlNoMouse, 0);
    EXPECT_EQ(background.parameterIndex(), -1);
}

}  // namespace
}  // namespace corvalen::editor
