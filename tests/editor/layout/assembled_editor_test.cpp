// The editor as the plug-in builds it, natively: every control of the layout in order with its
// parameter's value, the read-outs after the host has opened the instance, the picture where a
// person looks, band 12's type switch against what band 12 filters as, and the scale setting
// as a new instance reads it.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/controls/image_control.h"
#include "editor/controls/text_control.h"
#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"
#include "editor/layout/control_table.h"
#include "editor/window_scale.h"
#include "engine/correction_plugin.h"
#include "engine/parameter_table.h"
#include "plugin/editor_assembly.h"
#include "shell/plugin_entry.h"
#include "shell/reentrant_lock.h"
#include "temp_folder.h"

namespace corvalen::editor {
namespace {

intptr_t SilentHost(EffectRecord*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

// An instance with its own settings folder, made, opened and told 48 kHz as a host does.
class AssembledEditorTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("APPDATA", appData_.c_str(), 1); }
    void TearDown() override {
        plugin_.reset();
        ::unsetenv("APPDATA");
    }
    void makePlugin() {
        plugin_.reset(static_cast<CorrectionPlugin*>(CreatePluginObject(&SilentHost)));
        ASSERT_NE(plugin_, nullptr);
        LockScope scope(plugin_->Lock());
        plugin_->Dispatch(vst2::effOpen, 0, 0, nullptr, 0.0f);
        plugin_->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    }
    EditorGraphics& graphics() { return *AssembledEditorGraphics(*plugin_); }
    EditorControl& control(int row) {
        return *graphics().controls()[static_cast<std::size_t>(row)];
    }
    std::string text(int row) {
        auto* shown = dynamic_cast<TextControl*>(&control(row));
        return shown != nullptr ? shown->text() : "(not a text)";
    }
    // Paints the whole editor at shift and answers the pixel at layout (x, y).
    void paint(int shift) {
        plugin_->Editor()->SetScale(shift);
        LayoutRect dirty;
        graphics().isDirty(dirty);
        graphics().paint({0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight});
    }
    std::uint32_t pixelAt(int px, int py) {
        raster::RasterBitmap& bitmap = graphics().drawBitmap();
        return bitmap.bits()[py * bitmap.rowSpan() + px];
    }
    std::uint32_t pixel(int x, int y) {
        const int shift = graphics().effectiveShift();
        return pixelAt(x >> shift, y >> shift);
    }
    // Pixels in the layout rect (at the current shift) within `tolerance` of colour.
    int countNear(const LayoutRect& rect, std::uint32_t colour, int tolerance) {
        const int shift = graphics().effectiveShift();
        int count = 0;
        for (int y = rect.top >> shift; y < rect.bottom >> shift; ++y) {
            for (int x = rect.left >> shift; x < rect.right >> shift; ++x) {
                if (near(pixelAt(x, y), colour, tolerance)) ++count;
            }
        }
        return count;
    }
    static bool near(std::uint32_t a, std::uint32_t b, int tolerance) {
        for (int channel = 0; channel < 24; channel += 8) {
            const int difference =
                static_cast<int>((a >> channel) & 0xFF) - static_cast<int>((b >> channel) & 0xFF);
            if (std::abs(difference) > tolerance) return false;
        }
        return true;
    }

    corvalen::testing::TempFolder folder_;  // removed with the settings in it
    const std::string appData_ = folder_.path().string();
    std::unique_ptr<CorrectionPlugin> plugin_;
};

TEST_F(AssembledEditorTest, EveryControlOfTheLayoutHoldsItsParametersValue) {
    makePlugin();
    ASSERT_EQ(graphics().controls().size(), kControlTable.size());
    for (std::size_t row = 0; row < kControlTable.size(); ++row) {
        SCOPED_TRACE(row);
        const EditorControl& made = *graphics().controls()[row];
        EXPECT_EQ(made.parameterIndex(), kControlTable[row].parameter);
        EXPECT_EQ(made.owner(), &graphics());
        if (made.parameterIndex() >= 0) {
            EXPECT_DOUBLE_EQ(made.readValue(),
                             plugin_->Param(made.parameterIndex())->GetNormalised());
        }
        if (kControlTable[row].kind != ControlKind::ToggleArea) {
            EXPECT_EQ(made.rect(), kControlTable[row].rect);
        }
    }
    EXPECT_EQ(control(layout_row::kSplashToggle).targetRect(), (LayoutRect{176, 1012, 212, 1048}));
    // Only the splash panel starts hidden: splashScreen is off by default.
    EXPECT_TRUE(control(layout_row::kSplashImage).isHidden());
    EXPECT_FALSE(control(layout_row::kGraph).isHidden());
    EXPECT_EQ(plugin_->EditorRect().right, 800);
    EXPECT_EQ(plugin_->EditorRect().bottom, 527);
    EXPECT_NE(plugin_->Record()->flags & vst2::effFlagsHasEditor, 0);
}

TEST_F(AssembledEditorTest, ReadOutsShowTheDefaultsOnceTheHostHasOpenedTheInstance) {
    makePlugin();
    EXPECT_EQ(text(layout_row::BandReadout(0, 0)), "20");
    EXPECT_EQ(text(layout_row::BandReadout(0, 1)), "0.0 dB");
    EXPECT_EQ(text(layout_row::BandReadout(0, 2)), "0.71");
    EXPECT_EQ(text(layout_row::BandReadout(1, 0)), "73");
    EXPECT_EQ(text(layout_row::BandReadout(11, 0)), "18.81 k");
    EXPECT_EQ(text(layout_row::kOutputReadout), "0.0");
    EXPECT_EQ(text(layout_row::kSampleRateReadout), "Fs: 48.0 kHz");
    EXPECT_EQ(text(layout_row::kStatusText), "");
    EXPECT_EQ(text(layout_row::BandControl(9, 4)), "10");
    // A host change reaches the read-out and the knob.
    {
        LockScope scope(plugin_->Lock());
        plugin_->SetParameterNormalised(param::BandGain(5), 0.75f);
    }
    EXPECT_EQ(text(layout_row::BandReadout(5, 1)), "12.0 dB");
    EXPECT_DOUBLE_EQ(control(layout_row::BandControl(5, 1)).readValue(), 0.75);
}

TEST_F(AssembledEditorTest, TheDefaultPictureShowsKnobsSwitchesReadOutsAndLegend) {
    makePlugin();
    paint(0);
    ASSERT_EQ(graphics().drawBitmap().width(), 1600);
    constexpr std::uint32_t kAccent = 0xFF59958E;  // a knob's value arc, the EQ curve
    constexpr std::uint32_t kLampOn = 0xFF8FD3C9;  // a band switch's lamp when on
    // Band 1's frequency knob sits at 0 (no value arc at nine o'clock), every gain knob at
    // the middle (the arc runs through nine o'clock, not through three).
    for (int band = 0; band < 12; ++band) {
        SCOPED_TRACE(band + 1);
        const LayoutRect gain = kControlTable[layout_row::BandControl(band, 1)].rect;
        const int cx = (gain.left + gain.right) / 2;
        const int cy = (gain.top + gain.bottom) / 2;
        EXPECT_TRUE(near(pixel(cx - 31, cy), kAccent, 40)) << std::hex << pixel(cx - 31, cy);
        EXPECT_FALSE(near(pixel(cx + 31, cy), kAccent, 40));
        const LayoutRect head = kControlTable[layout_row::BandControl(band, 3)].rect;
        EXPECT_GT(
            countNear({head.left + 12, head.top + 14, head.left + 22, head.top + 22}, kLampOn, 30),
            20);
        // White digits in each read-out well.
        for (int quantity = 0; quantity < 3; ++quantity) {
            EXPECT_GT(countNear(kControlTable[layout_row::BandReadout(band, quantity)].rect,
                                0xFFFFFFFF, 40),
                      30);
        }
    }
    const LayoutRect frequency = kControlTable[layout_row::BandControl(0, 0)].rect;
    EXPECT_FALSE(
        near(pixel(frequency.left + 5, (frequency.top + frequency.bottom) / 2), kAccent, 40));
    // The legend's first row carries the EQ colour.
    const LayoutRect legend = kControlTable[layout_row::kLegend].rect;
    EXPECT_GT(countNear({legend.left, legend.top, legend.right, legend.top + 24}, kAccent, 30), 20);
    // The splash panel is hidden: its area shows the band strips, not the panel's title.
    EXPECT_EQ(countNear({340, 202, 1260, 852}, 0xFFC9D1D7, 4) < 2000, true);
}

TEST_F(AssembledEditorTest, TheHalfSizePictureIsTheEditorsRectangle) {
    makePlugin();
    paint(1);
    EXPECT_EQ(graphics().drawBitmap().width(), 800);
    EXPECT_EQ(graphics().drawBitmap().height(), 527);
    const LayoutRect head = kControlTable[layout_row::BandControl(0, 3)].rect;
    EXPECT_GT(
        countNear({head.left + 12, head.top + 14, head.left + 22, head.top + 22}, 0xFF8FD3C9, 40),
        3);
}

// The picture on band 12's type switch is what the band filters as: the artwork generator
// names what each frame shows, the engine what the band is at each value.
// With the splash panel away, a press in the middle of any control bound to a parameter, and
// of the FIT button, reaches that control: nothing drawn over it (a band number over its
// switch) takes it.
TEST_F(AssembledEditorTest, APressOnAnyControlReachesIt) {
    makePlugin();
    {
        LockScope scope(plugin_->Lock());
        plugin_->SetParameterNormalised(param::kSplashScreen, 0.0f);
    }
    const auto& controls = graphics().controls();
    int checked = 0;
    for (std::size_t row = 0; row < controls.size(); ++row) {
        const EditorControl& made = *controls[row];
        const bool pressable = made.parameterIndex() >= 0 || row == layout_row::kFitButton;
        if (!pressable || made.isHidden()) continue;
        const LayoutRect target = made.targetRect();
        SCOPED_TRACE(row);
        EXPECT_EQ(graphics().hitControl((target.left + target.right) / 2,
                                        (target.top + target.bottom) / 2),
                  static_cast<int>(row));
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

// Dragging band 2's gain knob, tick by tick, at both scales: each tick repaints the graph
// and one area around the knob and its read-out, in which no other control lies; no pixel
// outside those changes, even when the read-out ("-24.0 dB") is wider than its box; and the
// picture is the one a full repaint makes.
TEST_F(AssembledEditorTest, AKnobDragRepaintsOnlyTheKnobItsReadOutAndTheGraph) {
    const int knobRow = layout_row::BandControl(1, 1);
    const int readoutRow = layout_row::BandReadout(1, 1);
    const LayoutRect knob = kControlTable[knobRow].rect;
    const LayoutRect readout = kControlTable[readoutRow].rect;
    const LayoutRect graph = kControlTable[layout_row::kGraph].rect;
    // The read-out may spill sideways, never as far as its neighbours 26 units away, and its
    // 36-unit line reaches 4 units below its 32-unit box.
    const LayoutRect readoutReach{readout.left - 12, readout.top, readout.right + 12,
                                  readout.bottom + 4};
    const LayoutRect graphReach{graph.left, graph.top, graph.right + 4, graph.bottom + 4};
    for (int shift : {1, 0}) {
        SCOPED_TRACE(shift);
        makePlugin();
        paint(shift);
        raster::RasterBitmap& bitmap = graphics().drawBitmap();
        auto picture = [&] {
            std::vector<std::uint32_t> pixels;
            for (int y = 0; y < bitmap.height(); ++y)
                pixels.insert(pixels.end(), bitmap.bits() + y * bitmap.rowSpan(),
                              bitmap.bits() + y * bitmap.rowSpan() + bitmap.width());
            return pixels;
        };
        const int cx = (knob.left + knob.right) / 2;
        int y = (knob.top + knob.bottom) / 2;
        ASSERT_TRUE(graphics().buttonPressedAt(cx, y, kModifierLeftButton));
        // A small step, down to -24 dB (216 units: half the travel), a step back, up to +24 dB.
        for (int step : {3, 213, -1, -431}) {
            SCOPED_TRACE(step);
            y += step;
            const std::vector<std::uint32_t> before = picture();
            graphics().mouseMovedTo(cx, y, kModifierLeftButton, true, true);
            LayoutRect dirty;
            ASSERT_TRUE(graphics().isDirty(dirty));
            ASSERT_EQ(graphics().dirtyAreaCount(), 2);
            // The curves reach three units past the graph's right and bottom edges (four at
            // half size, where the area is widened to whole pixels).
            const int edge = shift == 1 ? 4 : 3;
            EXPECT_EQ(graphics().dirtyArea(0),
                      (LayoutRect{graph.left, graph.top, graph.right + edge, graph.bottom + edge}));
            const LayoutRect around = graphics().dirtyArea(1);
            EXPECT_TRUE(around.contains(knob) && around.contains(readout));
            // Nothing else is drawn: no other control meets the knob's area, and all that
            // meets the graph's lies on the graph.
            for (std::size_t row = 0; row < graphics().controls().size(); ++row) {
                const EditorControl& other = *graphics().controls()[row];
                if (static_cast<int>(row) == knobRow || static_cast<int>(row) == readoutRow ||
                    row == layout_row::kBackground || other.isHidden())
                    continue;
                EXPECT_FALSE(other.rect().overlaps(around)) << "row " << row;
                if (other.rect().overlaps(graphics().dirtyArea(0))) {
                    EXPECT_TRUE(graph.contains(other.rect())) << "row " << row;
                }
            }
            graphics().paintDirtyAreas();
            const std::vector<std::uint32_t> after = picture();
            int outside = 0;
            for (int py = 0; py < bitmap.height(); ++py) {
                for (int px = 0; px < bitmap.width(); ++px) {
                    const std::size_t at = static_cast<std::size_t>(py) * bitmap.width() + px;
                    if (before[at] == after[at]) continue;
                    const LayoutRect unit{px << shift, py << shift, (px + 1) << shift,
                                          (py + 1) << shift};
                    if (!graphReach.overlaps(unit) && !knob.overlaps(unit) &&
                        !readoutReach.overlaps(unit))
                        ++outside;
                }
            }
            EXPECT_EQ(outside, 0);
            graphics().paint({0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight});
            const std::vector<std::uint32_t> full = picture();
            int differ = 0;
            for (std::size_t at = 0; at < full.size(); ++at) differ += full[at] != after[at];
            EXPECT_EQ(differ, 0) << "pixels where the repaint differs from a full one";
        }
        EXPECT_EQ(text(readoutRow), "24.0 dB");
        graphics().buttonReleasedAt(cx, y, kModifierLeftButton);
    }
}

TEST_F(AssembledEditorTest, BandTwelvesTypeSwitchShowsTheTypeTheBandHas) {
    makePlugin();
    std::string frames[2];
    const std::string command =
        std::string(CORVALEN_PYTHON) + " " + CORVALEN_ARTWORK_GENERATOR + " --print-layout";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char first[64], second[64];
        if (std::sscanf(line, "frames band12_type %63s %63s", first, second) == 2) {
            frames[0] = first;
            frames[1] = second;
        }
    }
    ::pclose(pipe);
    auto& typeSwitch = dynamic_cast<ImageControl&>(control(layout_row::kBand12Type));
    for (int value = 0; value <= 1; ++value) {
        SCOPED_TRACE(value);
        {
            LockScope scope(plugin_->Lock());
            plugin_->SetParameterNormalised(param::kTypeBand12, static_cast<float>(value));
        }
        const std::int32_t type = plugin_->Model()->band(12).type;
        const std::string shown = frames[typeSwitch.currentFrame()];
        EXPECT_EQ(shown, type == kHighShelf ? "highshelf" : type == kPeak ? "peak" : "other");
    }
}

TEST_F(AssembledEditorTest, EachNewInstanceReadsTheScaleSetting) {
    struct Case {
        const char* setting;  // null: no settings folder yet
        int dpi;
        int width;
        int height;
        int shift;
    };
    const Case cases[] = {
        {nullptr, 0, 800, 527, 1},  // the system's 96 dpi
        {"150", 144, 1200, 791, 0}, {"75", 72, 600, 395, 1},
        {"abc", 96, 800, 527, 1},   {"0", 96, 800, 527, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting != nullptr ? c.setting : "no folder");
        if (c.setting != nullptr) {
            std::ofstream(appData_ + "/Corvalen/guiSizePercentage.txt") << c.setting;
        }
        makePlugin();
        EXPECT_EQ(graphics().dpiValue(), c.dpi);
        const int dpi = chooseWindowDpi(graphics().dpiValue(), 96);
        EXPECT_EQ(windowSizeForDpi(dpi).width, c.width);
        EXPECT_EQ(windowSizeForDpi(dpi).height, c.height);
        EXPECT_EQ(shiftForDpi(dpi), c.shift);
        if (c.setting == nullptr) {
            std::ifstream created(appData_ + "/Corvalen/guiSizePercentage.txt");
            std::string content;
            std::getline(created, content);
            EXPECT_EQ(content, "100");
        }
    }
}

}  // namespace
}  // namespace corvalen::editor
