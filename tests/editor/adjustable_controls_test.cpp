// Knobs and sliders on the real product: drags, Ctrl, double-click reset to the default the
// plug-in gave them, the wheel, the value prompt, linked controls, and the read-out the push
// updates. Expected values are worked out by hand from the layout sizes.
#include <gtest/gtest.h>

#include "editor/controls/knob.h"
#include "editor/controls/slider.h"
#include "editor/controls/text_control.h"
#include "editor/controls/value_knob.h"
#include "editor/image_ids.h"
#include "editor/input_modifiers.h"
#include "editor_under_test.h"
#include "engine/parameter_table.h"

namespace corvalen::editor {
namespace {

using testing::EditorUnderTest;
using testing::HostLog;

constexpr int kLeft = kModifierLeftButton;
constexpr int kCtrl = kModifierControl;
constexpr int kWheel = kModifierWheel;

const BitmapRef kKnobImage{nullptr, 72, 72, 60, kImageBandKnob + 1};
const BitmapRef kHandleImage{nullptr, 40, 36, 1, kImageOutputHandle + 1};
// Band 1's gain knob and its read-out as the layout places them.
const LayoutRect kGainKnobRect{62, 790, 134, 862};

class KnobTest : public ::testing::Test {
protected:
    void SetUp() override {
        knob = editor.add<Knob>(kGainKnobRect, param::BandGain(0), kKnobImage, 6.0);
        readout = editor.add<TextControl>(LayoutRect{54, 858, 142, 890}, TextStyle{});
        EditorLinks links;
        links.bandReadouts[1] = readout;
        editor.finish(links);
    }
    double gainDb() const { return editor.plugin->Param(param::BandGain(0))->Value(); }

    EditorUnderTest editor;
    Knob* knob = nullptr;
    TextControl* readout = nullptr;
};

TEST_F(KnobTest, DragsTurnItAndCtrlMakesThemTenTimesFiner) {
    // 0 dB of -24 .. +24 is the middle; the full range is 72 * 6 = 432 units of drag.
    ASSERT_EQ(knob->defaultValue(), 0.5);
    EXPECT_STREQ(readout->text(), "0.0 dB");
    struct Step {
        int dy;
        int modifiers;
        double value;
        const char* text;
    };
    const Step steps[] = {
        {-216, kLeft, 1.0, "24.0 dB"},  // half the range up, from the middle: the top
        {-50, kLeft, 1.0, nullptr},     // clamped, nothing pushed
        {216, kLeft, 0.5, "0.0 dB"},
        {108, kLeft, 0.25, "-12.0 dB"},
        {-216, kLeft | kCtrl, 0.30, "-9.6 dB"},      // 216 / 4320 = 0.05, 0.05 * 48 = 2.4 dB
        {-20, kModifierRightButton, 0.30, nullptr},  // only the left button drags
    };
    int pushes = 0;
    for (const Step& step : steps) {
        knob->mouseDrag(100, 800, 0, step.dy, step.modifiers);
        EXPECT_NEAR(knob->readValue(), step.value, 1e-12) << step.dy;
        if (step.text != nullptr) {
            ++pushes;
            EXPECT_STREQ(readout->text(), step.text);
            EXPECT_NEAR(gainDb(), -24.0 + 48.0 * step.value, 1e-9);
        }
        EXPECT_EQ(static_cast<int>(HostLog::instance().entries().size()), pushes);
    }
    EXPECT_EQ(HostLog::instance().entries().back().index, param::BandGain(0));
}

TEST_F(KnobTest, DoubleClickReturnsToTheDefaultOnlyWhenItIsElsewhere) {
    knob->mouseDoubleClick(100, 800, kLeft);
    EXPECT_TRUE(HostLog::instance().entries().empty());
    knob->mouseDrag(100, 800, 0, -100, kLeft);
    knob->mouseDoubleClick(100, 800, kLeft);
    EXPECT_EQ(knob->readValue(), 0.5);
    EXPECT_EQ(HostLog::instance().entries().size(), 2u);
    EXPECT_STREQ(readout->text(), "0.0 dB");
    // A later value from the host is not a new default.
    editor.setParameter(param::BandGain(0), 0.75f);
    EXPECT_EQ(knob->readValue(), 0.75);
    EXPECT_EQ(knob->defaultValue(), 0.5);
}

TEST_F(KnobTest, WheelStepsOnlyWithCtrlOrTheWheelFlag) {
    struct Notch {
        int modifiers;
        float delta;
        double change;
    };
    const Notch notches[] = {
        {kWheel, 1.0f, 0.01}, {kWheel, -2.0f, -0.02},
        {kCtrl, 1.0f, 0.001}, {kCtrl | kWheel, -1.0f, -0.001},
        {0, 1.0f, 0.0},       {kModifierShift, 1.0f, 0.0},
    };
    for (const Notch& notch : notches) {
        const double before = knob->readValue();
        knob->mouseWheel(100, 800, notch.modifiers, notch.delta);
        EXPECT_NEAR(knob->readValue() - before, notch.change, 1e-12) << notch.modifiers;
    }
    EXPECT_EQ(HostLog::instance().entries().size(), 4u);
}

TEST_F(KnobTest, RightPressOpensTheValuePromptOverTheKnob) {
    knob->markClean();
    knob->mouseDown(100, 800, kLeft);
    EXPECT_TRUE(editor.graphics->prompts.empty());
    knob->mouseDown(100, 800, kModifierRightButton);
    ASSERT_EQ(editor.graphics->prompts.size(), 1u);
    EXPECT_EQ(editor.graphics->prompts[0].control, knob);
    EXPECT_EQ(editor.graphics->prompts[0].parameterIndex, param::BandGain(0));
    EXPECT_FALSE(editor.graphics->prompts[0].hasRect);  // the target rect
    EXPECT_EQ(knob->flags() & 3, 3);
    knob->addFlags(kControlNoRightPrompt);
    knob->mouseDown(100, 800, kModifierRightButton);
    EXPECT_EQ(editor.graphics->prompts.size(), 1u);
}

TEST(LinkedControls, APushUpdatesEveryOtherControlOfTheParameterWithoutPushingAgain) {
    EditorUnderTest editor;
    auto* big = editor.add<Knob>(kGainKnobRect, param::BandGain(0), kKnobImage, 6.0);
    auto* small = editor.add<Knob>(LayoutRect{0, 0, 72, 72}, param::BandGain(0), kKnobImage);
    auto* plain = editor.add<Knob>(LayoutRect{0, 0, 72, 72}, param::BandGain(1), kKnobImage);
    editor.finish({});
    big->mouseDrag(100, 800, 0, -216, kLeft);
    EXPECT_EQ(small->readValue(), 0.5);  // not linked yet
    big->addFlags(kControlUpdateLinked);
    big->mouseDrag(100, 800, 0, 108, kLeft);
    EXPECT_EQ(small->readValue(), 0.75);
    EXPECT_EQ(plain->readValue(), 0.5);
    EXPECT_EQ(HostLog::instance().entries().size(), 2u);
}

TEST(Slider, ClicksJumpDragsMoveAndThePromptSitsOverTheHandle) {
    EditorUnderTest editor;
    // The output slider: a 168-unit track with a 40-unit handle travels 128 units.
    auto* slider = editor.add<Slider>(LayoutRect{1420, 1014, 1588, 1050}, param::kOut, kHandleImage,
                                      168, true);
    auto* readout = editor.add<TextControl>(LayoutRect{1532, 982, 1588, 1008}, TextStyle{});
    EditorLinks links;
    links.outputReadout = readout;
    editor.finish(links);
    ASSERT_EQ(slider->defaultValue(), 0.5);  // 0 dB of -12 .. +12
    EXPECT_EQ(slider->handleRect(), (LayoutRect{1484, 1014, 1524, 1050}));

    struct Step {
        enum { Press, Drag } kind;
        int x;
        int dx;
        int modifiers;
        double value;
        const char* text;
    };
    const Step steps[] = {
        {Step::Press, 1500, 0, kLeft, 0.5, "0.0"},           // on the handle: nothing
        {Step::Press, 1464, 0, kLeft, 0.1875, "-7.5"},       // (1464 - 20 - 1420) / 128
        {Step::Drag, 0, 32, kLeft, 0.4375, "-1.5"},          // + 32 / 128
        {Step::Drag, 0, 32, kLeft | kCtrl, 0.4625, "-0.9"},  // + 32 / 1280
        {Step::Press, 1400, 0, kLeft, 0.0, "-12.0"},         // left of the track: clamped
        {Step::Press, 1588, 0, kLeft, 1.0, "12.0"},          // (1588 - 1440) / 128 > 1
    };
    for (const Step& step : steps) {
        if (step.kind == Step::Press) {
            slider->mouseDown(step.x, 1030, step.modifiers);
        } else {
            slider->mouseDrag(0, 1030, step.dx, 0, step.modifiers);
        }
        EXPECT_NEAR(slider->readValue(), step.value, 1e-12) << step.x << " " << step.dx;
        EXPECT_STREQ(readout->text(), step.text);
    }
    EXPECT_EQ(slider->handleRect(), (LayoutRect{1548, 1014, 1588, 1050}));

    slider->mouseDoubleClick(1500, 1030, kLeft);
    EXPECT_EQ(slider->readValue(), 0.5);
    slider->mouseWheel(1500, 1030, kWheel, 1.0f);
    EXPECT_NEAR(slider->readValue(), 0.51, 1e-12);

    slider->mouseDown(1500, 1030, kModifierRightButton);
    ASSERT_EQ(editor.graphics->prompts.size(), 1u);
    EXPECT_TRUE(editor.graphics->prompts[0].hasRect);
    EXPECT_EQ(editor.graphics->prompts[0].rect, slider->handleRect());
}

TEST(Slider, AVerticalOneRunsBottomToTop) {
    // Track 120 from top 100, handle 20 high: travel 100.
    Slider slider(LayoutRect{10, 100, 30, 220}, -1, BitmapRef{nullptr, 20, 20, 1, 201}, 120, false);
    EXPECT_FALSE(slider.isHorizontal());
    EXPECT_EQ(slider.handleRect(), (LayoutRect{10, 200, 30, 220}));  // value 0 at the bottom
    slider.mouseDown(20, 150, kLeft);                                // (100 + 10 - 150) / 100 + 1
    EXPECT_NEAR(slider.readValue(), 0.6, 1e-12);
    EXPECT_EQ(slider.handleRect(), (LayoutRect{10, 140, 30, 160}));
    slider.mouseDrag(20, 150, 0, -25, kLeft);
    EXPECT_NEAR(slider.readValue(), 0.85, 1e-12);
    slider.mouseDrag(20, 150, 0, 100, kLeft | kCtrl);
    EXPECT_NEAR(slider.readValue(), 0.75, 1e-12);
}

TEST(ValueKnob, TurnsLikeAKnobWithItsOwnGearing) {
    EditorUnderTest editor;
    auto* level =
        editor.add<ValueKnob>(LayoutRect{1428, 804, 1582, 836}, param::kTargetResponses,
                              BitmapRef{nullptr, 154, 32, 1, kImageOffsetPlate + 1}, 14.0);
    editor.finish({});
    const double start = level->readValue();
    // 32 * 14 = 448 units for the range.
    level->mouseDrag(1500, 820, 0, -112, kLeft);
    EXPECT_NEAR(level->readValue(), std::min(1.0, start + 0.25), 1e-12);
    EXPECT_NEAR(
        editor.plugin->Engine().referenceLevelDb,
        editor.plugin->Param(param::kTargetResponses)->ValueForNormalised(level->readValue()),
        1e-9);
    editor.graphics->paint(LayoutRect{0, 0, 1600, 1054});  // frame and number draw without fault
}

}  // namespace
}  // namespace corvalen::editor
