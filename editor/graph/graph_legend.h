// The legend beside the response graph: one row per layer, a sample of the layer's line and
// its name. It reads no state; the layer switches sit to its right.
#pragma once

#include "editor/editor_control.h"
#include "editor/graph/graph_style.h"
#include "editor/text_style.h"

namespace corvalen::editor {

class GraphLegend : public EditorControl {
public:
    // Editor building. Built from nothing but its place: the rows start at the rect's top.
    explicit GraphLegend(const LayoutRect& rect = kLegendRect);

    // Editor thread.
    void paint(EditorGraphics& graphics) override;
    // The labels reach past the right edge.
    LayoutRect drawnArea(EditorGraphics& graphics) override;
    void rescale(EditorGraphics& graphics) override;

private:
    LayoutRect labelCell(int row) const;

    TextStyle labelStyle_;
};

}  // namespace corvalen::editor
