// The fixed look of the response graph and its legend: places, colours, line widths, text
// sizes and the frequency ticks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "editor/layout_rect.h"

namespace corvalen::editor {

// The legend: four rows 24 units high, two rows apart, from (1356, 24), 164 units wide.
inline constexpr LayoutRect kLegendRect{1356, 24, 1520, 192};
inline constexpr int kLegendRowHeight = 24;
inline constexpr int kLegendRowCount = 4;
inline constexpr int kLegendLineExtra = 1;  // one extra line each side: 3 units wide

inline constexpr std::uint32_t kEqColour = 0xFF59958E;
inline constexpr std::uint32_t kCorrectedColour = 0xFFA4A88A;
inline constexpr std::uint32_t kMeasuredColour = 0xFF704455;
inline constexpr std::uint32_t kGridColour = 0xFF000000;
inline constexpr float kGridLineAlpha = 0.3f;
inline constexpr float kLabelBoxAlpha = 0.4f;
inline constexpr std::uint32_t kGridTextColour = 0x7FFFFFFF;
inline constexpr std::uint32_t kLegendTextColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kMarkerOuterColour = 0xFF646464;
inline constexpr std::uint32_t kMarkerInnerColour = 0xFF1F1F1F;
inline constexpr std::uint32_t kMarkerNumberOnColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kMarkerNumberOffColour = 0x7FFFFFFF;
inline constexpr std::uint32_t kBypassShadowColour = 0xFF000000;
inline constexpr std::uint32_t kBypassSignColour = 0xFFFFFFFF;
inline constexpr std::uint32_t kBypassTextColour = 0xFF000000;

inline constexpr const char* kGraphFace = "Bahnschrift";
inline constexpr int kGraphTextSize = 26;
inline constexpr int kLegendTextSize = 24;

// Level lines in drawing order, each followed by its label in a 30 x 30 box.
struct LevelLine {
    double db;
    const char* label;
};
inline constexpr std::array<LevelLine, 3> kLevelLines = {
    {{-12.0, "-12"}, {12.0, "+12"}, {0.0, " 0"}}};
inline constexpr int kLevelLabelBox = 30;

// Frequency ticks: grid frequencies rounded for storage, each placed at the grid point it
// matches to a tenth of a hertz. The last one lies at f(800), past the last point, so it is
// never reached and the right edge has no line.
struct FrequencyTick {
    double hz;
    const char* label;
};
inline constexpr std::array<FrequencyTick, 10> kFrequencyTicks = {{
    {19.9526, "20"},
    {49.9671, "50"},
    {100.245, "100"},
    {199.558, "200"},
    {498.756, "500"},
    {1000.41, "1K"},
    {1993.25, "2K"},
    {4989.23, "5K"},
    {9985.78, "10K"},
    {19952.6, "20K"},
}};
inline constexpr std::size_t kLabelledTickCount = 9;
// The label box from (x, h - 23) to (x + 45, h); the label at (x + 4, h - 25)-(x + 20, h).
inline constexpr int kLabelBoxWidth = 45;
inline constexpr int kLabelBoxHeight = 23;
inline constexpr int kLabelTextInset = 4;
inline constexpr int kLabelTextWidth = 16;
inline constexpr int kLabelTextRise = 25;

// Band markers: discs drawn straight in pixels (halved at half size), number above centre.
inline constexpr float kMarkerOuterRadius = 14.0f;
inline constexpr float kMarkerInnerRadius = 12.0f;
inline constexpr float kMarkerOffAlpha = 0.5f;
inline constexpr LayoutRect kMarkerNumberBox{-5, -14, 10, -3};  // around the truncated centre

// The bypass sign, as fractions of the graph area and units.
inline constexpr double kBypassLeft = 0.25;
inline constexpr double kBypassRight = 0.75;
inline constexpr double kBypassTop = 0.3;
inline constexpr double kBypassBottom = 0.7;
inline constexpr int kBypassShadowShift = 12;
inline constexpr int kBypassSideBar = 90;
inline constexpr int kBypassEndBar = 30;
inline constexpr int kBypassHatchInset = 20;
inline constexpr int kBypassHatchPeriod = 100;
inline constexpr int kBypassHatchExtra = 16;      // 33 units wide
inline constexpr double kBypassPanelSide = 0.25;  // of the box width, each side
inline constexpr double kBypassPanelEnd = 0.3;    // of the box height, top and bottom
inline constexpr int kBypassTextShrink = 10;      // font size: panel height minus this
inline constexpr const char* kBypassText = "BYPASSED";

}  // namespace corvalen::editor
