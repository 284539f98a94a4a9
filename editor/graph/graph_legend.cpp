#include "editor/graph/graph_legend.h"

#include "editor/editor_graphics.h"

namespace corvalen::editor {
namespace {

struct LegendRow {
    const char* label;
    std::uint32_t colour;  // 0: the target's dashed line
};
constexpr LegendRow kLegendRows[kLegendRowCount] = {
    {"EQ", kEqColour}, {"FR+EQ", kCorrectedColour}, {"FR", kMeasuredColour}, {"TARGET", 0}};

}  // namespace

GraphLegend::GraphLegend(const LayoutRect& rect) : EditorControl(rect) {
    labelStyle_.faceName = kGraphFace;
    labelStyle_.size = kLegendTextSize;
    labelStyle_.colour = kLegendTextColour;
    labelStyle_.alignment = kAlignLeft;
}

void GraphLegend::rescale(EditorGraphics&) { labelStyle_.cachedFont = nullptr; }

LayoutRect GraphLegend::labelCell(int row) const {
    // Rows stand two row heights apart.
    const int x = rect().left;
    const int width = rect().right - rect().left;
    const int top = rect().top + 2 * row * kLegendRowHeight;
    return {x + (width / 3) * 2, top, x + width, top + kLegendRowHeight};
}

LayoutRect GraphLegend::drawnArea(EditorGraphics& graphics) {
    LayoutRect area = rect();
    for (int row = 0; row < kLegendRowCount; ++row)
        area = Enclosing(area,
                         graphics.textExtent(labelStyle_, kLegendRows[row].label, labelCell(row)));
    return area;
}

void GraphLegend::paint(EditorGraphics& graphics) {
    const int x = rect().left;
    const int width = rect().right - rect().left;
    for (int row = 0; row < kLegendRowCount; ++row) {
        const int top = labelCell(row).top;
        const int lineY = top + kLegendRowHeight / 2;
        const LegendRow& entry = kLegendRows[row];
        if (entry.colour != 0) {
            graphics.thickLine(entry.colour, x, lineY, x + width / 2, lineY, kLegendLineExtra, true,
                               1.0f);
        } else {
            graphics.dashedLine(x, x + width / 2, lineY);
        }
        graphics.drawText(labelStyle_, entry.label, labelCell(row));
    }
}

}  // namespace corvalen::editor
