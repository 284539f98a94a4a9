// The dirty union of one editor tick and the paint cycle.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/editor_graphics.h"
#include "recording_control.h"

namespace corvalen::editor {
namespace {

using testing::RecordingControl;

class RedrawCycle : public ::testing::Test {
protected:
    RecordingControl* add(const LayoutRect& rect, const std::string& name) {
        auto* control = static_cast<RecordingControl*>(
            graphics.attach(std::make_unique<RecordingControl>(rect, name, &log)));
        return control;
    }
    void cleanAll() {
        LayoutRect ignored;
        graphics.isDirty(ignored);
    }

    EditorGraphics graphics;
    std::vector<std::string> log;
};

TEST_F(RedrawCycle, NewControlsStartDirtyAndTheTickCleansThem) {
    RecordingControl* a = add({10, 20, 30, 40}, "a");
    EXPECT_TRUE(a->isDirty());
    LayoutRect dirty;
    EXPECT_TRUE(graphics.isDirty(dirty));
    EXPECT_FALSE(a->isDirty());
    EXPECT_FALSE(graphics.isDirty(dirty));
    EXPECT_TRUE(dirty.isEmpty());
}

TEST_F(RedrawCycle, OddEdgesWidenToEvenAtHalfSize) {
    graphics.setDefaultShift(1);
    add({55, 11, 101, 33}, "a");
    LayoutRect dirty;
    ASSERT_TRUE(graphics.isDirty(dirty));
    EXPECT_EQ(dirty, (LayoutRect{54, 10, 102, 34}));
}

TEST_F(RedrawCycle, FullSizeKeepsTheExactUnion) {
    graphics.applyScale(0);
    add({55, 11, 101, 33}, "a");
    add({7, 500, 9, 601}, "b");
    LayoutRect dirty;
    ASSERT_TRUE(graphics.isDirty(dirty));
    EXPECT_EQ(dirty, (LayoutRect{7, 11, 101, 601}));
}

TEST_F(RedrawCycle, AnEmptyRectAddsNothingToTheUnion) {
    graphics.applyScale(0);
    add({176, 1012, 176, 1012}, "empty first");
    add({200, 300, 260, 340}, "real");
    add({0, 0, 0, 0}, "empty last");
    LayoutRect dirty;
    ASSERT_TRUE(graphics.isDirty(dirty));
    EXPECT_EQ(dirty, (LayoutRect{200, 300, 260, 340}));
}

TEST_F(RedrawCycle, OnlyDirtyControlsCount) {
    graphics.applyScale(0);
    RecordingControl* a = add({0, 0, 10, 10}, "a");
    add({100, 100, 110, 110}, "b");
    cleanAll();
    a->markDirty(false);
    LayoutRect dirty;
    ASSERT_TRUE(graphics.isDirty(dirty));
    EXPECT_EQ(dirty, (LayoutRect{0, 0, 10, 10}));
}

TEST_F(RedrawCycle, HidingMarksTheAreaForRepaintButAHiddenControlStaysClean) {
    graphics.applyScale(0);
    RecordingControl* a = add({40, 40, 80, 80}, "a");
    cleanAll();
    a->setHidden(true);
    LayoutRect dirty;
    ASSERT_TRUE(graphics.isDirty(dirty));  // what lay beneath must be drawn again
    EXPECT_EQ(dirty, (LayoutRect{40, 40, 80, 80}));
    a->markDirty(false);
    EXPECT_FALSE(a->isDirty());
}

TEST_F(RedrawCycle, PaintDrawsOverlappingVisibleControlsBottomFirst) {
    add({0, 0, 1600, 1054}, "background");
    add({100, 100, 200, 200}, "inside");
    add({300, 300, 400, 400}, "outside");
    RecordingControl* hidden = add({100, 100, 200, 200}, "hidden");
    hidden->setHidden(true);
    add({150, 150, 150, 190}, "empty");
    add({199, 199, 250, 250}, "corner");
    add({200, 100, 260, 200}, "touching");  // shares only the edge x = 200

    graphics.paint({120, 120, 200, 200});
    EXPECT_EQ(log, (std::vector<std::string>{"background", "inside", "corner"}));
    EXPECT_EQ(graphics.paintRegion(), nullptr);
}

TEST_F(RedrawCycle, PaintRegionIsSetOnlyWhilePainting) {
    RecordingControl* a = add({0, 0, 10, 10}, "a");
    graphics.paint({0, 0, 5, 5});
    EXPECT_TRUE(a->sawPaintRegion());
    EXPECT_EQ(graphics.paintRegion(), nullptr);
}

TEST_F(RedrawCycle, AnEmptyUpdatePaintsNothing) {
    add({0, 0, 1600, 1054}, "background");
    graphics.paint({10, 10, 10, 20});
    EXPECT_TRUE(log.empty());
}

TEST_F(RedrawCycle, ControlsAreDestroyedLastFirst) {
    std::vector<std::string> destroyed;
    class Tracked : public EditorControl {
    public:
        Tracked(std::string name, std::vector<std::string>* out)
            : EditorControl({0, 0, 1, 1}), name_(std::move(name)), out_(out) {}
        ~Tracked() override { out_->push_back(name_); }

    private:
        std::string name_;
        std::vector<std::string>* out_;
    };
    {
        EditorGraphics local;
        local.attach(std::make_unique<Tracked>("first", &destroyed));
        local.attach(std::make_unique<Tracked>("second", &destroyed));
        local.attach(std::make_unique<Tracked>("third", &destroyed));
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"third", "second", "first"}));
}

}  // namespace
}  // namespace corvalen::editor
