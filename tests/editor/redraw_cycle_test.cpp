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

// One tick's repaint: each dirty control's area on its own, overlapping ones as one, so a
// clean control lying between two changes is not drawn; the union still covers both.
TEST_F(RedrawCycle, OnlyTheAreasOfDirtyControlsAreRepainted) {
    graphics.applyScale(0);
    add({0, 0, 1600, 1054}, "background");
    RecordingControl* graph = add({0, 0, 1600, 640}, "graph");
    add({1552, 24, 1576, 48}, "on the graph");
    add({176, 700, 248, 772}, "between");
    RecordingControl* knob = add({176, 790, 248, 862}, "knob");
    RecordingControl* readout = add({168, 858, 256, 890}, "read-out");
    add({282, 858, 370, 890}, "neighbour");
    cleanAll();
    graph->markDirty(false);
    knob->markDirty(false);
    readout->markDirty(false);

    LayoutRect dirty;
    ASSERT_TRUE(graphics.isDirty(dirty));
    EXPECT_EQ(dirty, (LayoutRect{0, 0, 1600, 890}));
    ASSERT_EQ(graphics.dirtyAreaCount(), 2);
    EXPECT_EQ(graphics.dirtyArea(0), (LayoutRect{0, 0, 1600, 640}));
    EXPECT_EQ(graphics.dirtyArea(1), (LayoutRect{168, 790, 256, 890}));
    graphics.paintDirtyAreas();
    EXPECT_EQ(log, (std::vector<std::string>{"background", "graph", "on the graph", "background",
                                             "knob", "read-out"}));
    EXPECT_EQ(graphics.dirtyAreaCount(), 0);
    log.clear();
    graphics.paintDirtyAreas();  // painted once only
    EXPECT_TRUE(log.empty());
}

// A control drawing over the edge of the repaint leaves every pixel outside it as it was,
// at both scales; the background copies only the part under the repaint.
TEST_F(RedrawCycle, NothingOutsideTheRepaintChanges) {
    class Filler : public EditorControl {
    public:
        Filler(const LayoutRect& rect, std::uint32_t colour)
            : EditorControl(rect), colour_(colour) {}
        void paint(EditorGraphics& graphics) override {
            graphics.fillRectAlpha(colour_, rect(), 1.0f);
        }

    private:
        std::uint32_t colour_;
    };
    for (int shift : {0, 1}) {
        SCOPED_TRACE(shift);
        EditorGraphics local;
        local.applyScale(shift);
        raster::SystemBitmap& bitmap = local.drawBitmap();
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x)
                bitmap.bits()[y * bitmap.rowSpan() + x] = 0xFF102030;
        local.attach(std::make_unique<Filler>(LayoutRect{100, 100, 300, 200}, 0xFFFFFFFF));
        const LayoutRect update{150, 120, 250, 180};
        local.paint(update);
        int wrong = 0;
        for (int y = 0; y < bitmap.height(); ++y) {
            for (int x = 0; x < bitmap.width(); ++x) {
                const bool inside = x >= (150 >> shift) && x < (250 >> shift) &&
                                    y >= (120 >> shift) && y < (180 >> shift);
                wrong +=
                    bitmap.bits()[y * bitmap.rowSpan() + x] != (inside ? 0xFFFFFFFFu : 0xFF102030u);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
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
