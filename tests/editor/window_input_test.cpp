// The window's dpi arithmetic and the portable input dispatch, checked against values worked
// out by hand.
#include <gtest/gtest.h>

#include <vector>

#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"
#include "editor/window_scale.h"

namespace corvalen::editor {
namespace {

TEST(WindowScale, SizesShiftsAndLimits) {
    struct Case {
        int dpiValue, systemDpi, dpi, width, height, shift;
    };
    const Case cases[] = {
        {0, 0, 96, 800, 527, 1},       // nothing set: 96
        {0, 120, 120, 1000, 659, 0},   // the system's dpi (658.75 rounds up)
        {144, 96, 144, 1200, 791, 0},  // 150 %: 790.5 rounds up
        {192, 0, 192, 1600, 1054, 0},
        {-96, 0, 96, 800, 527, 1},  // a negative percentage counts as none
        {-96, 144, 144, 1200, 791, 0},
        {1, 0, 48, 400, 264, 1},         // held at 50 %
        {96000, 0, 384, 3200, 2108, 0},  // held at 400 %
    };
    for (const Case& c : cases) {
        const int dpi = chooseWindowDpi(c.dpiValue, c.systemDpi);
        EXPECT_EQ(dpi, c.dpi) << c.dpiValue;
        EXPECT_EQ(windowSizeForDpi(dpi).width, c.width) << c.dpiValue;
        EXPECT_EQ(windowSizeForDpi(dpi).height, c.height) << c.dpiValue;
        EXPECT_EQ(shiftForDpi(dpi), c.shift) << c.dpiValue;
    }
    EXPECT_EQ(pixelToLayout(100, 96), 200);
    EXPECT_EQ(pixelToLayout(50, 96), 100);
    EXPECT_EQ(mulDiv(-3, 1, 2), -2);  // halves away from zero
    EXPECT_EQ(mulDiv(1, 1, 0), -1);
    EXPECT_EQ(mulDiv(2000000000, 2, 1), -1);
}

class ProbeControl : public EditorControl {
public:
    ProbeControl(const LayoutRect& rect, std::vector<std::string>* log, int flags = 0)
        : EditorControl(rect), log_(log) {
        setFlagBits(flags);
    }
    void mouseDown(int x, int y, int) override {
        log_->push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }
    void mouseUp(int, int, int) override { log_->push_back("up"); }
    void mouseDrag(int, int, int dx, int dy, int) override {
        log_->push_back("drag " + std::to_string(dx) + "," + std::to_string(dy));
    }
    void mouseDoubleClick(int, int, int) override { log_->push_back("double"); }
    bool keyDown(int, int, int, int key) override {
        log_->push_back("key " + std::to_string(key));
        return key == 38;
    }

private:
    std::vector<std::string>* log_;
};

TEST(InputDispatch, HitsCaptureDoubleClicksAndKeys) {
    std::vector<std::string> log;
    EditorGraphics graphics;
    graphics.attach(std::make_unique<ProbeControl>(LayoutRect{0, 0, 400, 400}, &log));
    graphics.attach(std::make_unique<ProbeControl>(LayoutRect{100, 100, 200, 200}, &log,
                                                   kControlDoubleClickPresses));
    graphics.attach(
        std::make_unique<ProbeControl>(LayoutRect{150, 150, 250, 250}, &log, kControlNoMouse));
    EXPECT_EQ(graphics.hitControl(160, 160), 1);  // the top one skips the mouse
    EXPECT_EQ(graphics.hitControl(300, 300), 0);
    EXPECT_EQ(graphics.hitControl(500, 10), -1);

    EXPECT_TRUE(graphics.buttonPressedAt(120, 130, kModifierLeftButton));
    graphics.mouseMovedTo(125, 128, kModifierLeftButton, true, true);
    graphics.mouseMovedTo(125, 128, kModifierLeftButton, true, true);   // same place: nothing
    graphics.mouseMovedTo(900, 900, kModifierLeftButton, true, false);  // capture lost: nothing
    graphics.buttonReleasedAt(900, 900, 0);  // the captured control gets the release
    EXPECT_TRUE(graphics.doubleClickedAt(120, 130, kModifierLeftButton));  // a second press
    graphics.buttonReleasedAt(120, 130, 0);
    EXPECT_FALSE(graphics.doubleClickedAt(10, 10, kModifierLeftButton));
    EXPECT_EQ(log, (std::vector<std::string>{"down 120,130", "drag 5,-2", "up", "down 120,130",
                                             "up", "double"}));

    log.clear();
    graphics.setKeyCatcher(0);
    EXPECT_FALSE(graphics.dispatchKey(true, 0, 0, 0, 112, true));  // F1 is the host's
    EXPECT_TRUE(graphics.dispatchKey(true, 0, 0, 0, 38, true));
    EXPECT_FALSE(graphics.dispatchKey(true, 0, 0, 0, 65, true));  // in the set, not handled
    EXPECT_EQ(log, (std::vector<std::string>{"key 38", "key 65"}));

    // Wheel modes: 1 always acts (adding the wheel bit); a mode with the top bit only with
    // a keyboard modifier; 0 never.
    EXPECT_EQ(graphics.wheelModifiers(0, false), kModifierWheel);
    graphics.setInputOptions(1, 1, 0x81);
    EXPECT_EQ(graphics.wheelModifiers(kModifierLeftButton, false), -1);
    EXPECT_EQ(graphics.wheelModifiers(kModifierShift, true), kModifierShift | kModifierAlt);
    graphics.setInputOptions(1, 1, 0);
    EXPECT_EQ(graphics.wheelModifiers(kModifierShift, false), -1);
}

}  // namespace
}  // namespace corvalen::editor
