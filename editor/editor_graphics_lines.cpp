// EditorGraphics: the line, dash, fill and disc helpers of the response graph.
#include <algorithm>
#include <cstdlib>

#include "editor/editor_graphics.h"
#include "raster/blend_mode.h"
#include "raster/circle.h"
#include "raster/fill.h"
#include "raster/line.h"

namespace corvalen::editor {
namespace {

constexpr int kDashLength = 6;
constexpr int kDashPeriod = 12;

}  // namespace

void EditorGraphics::line(std::uint32_t colour, int x1, int y1, int x2, int y2, float alpha,
                          bool antialias) {
    raster::drawLine(&drawBitmap_, toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2), colour,
                     alpha, antialias);
}

void EditorGraphics::parallelPair(std::uint32_t colour, int x1, int y1, int x2, int y2, int offset,
                                  float alpha, bool antialias) {
    // Lines at least 45 degrees steep widen sideways, flatter ones up and down.
    if (std::abs(y2 - y1) >= std::abs(x2 - x1)) {
        line(colour, x1 - offset, y1, x2 - offset, y2, alpha, antialias);
        line(colour, x1 + offset, y1, x2 + offset, y2, alpha, antialias);
    } else {
        line(colour, x1, y1 - offset, x2, y2 - offset, alpha, antialias);
        line(colour, x1, y1 + offset, x2, y2 + offset, alpha, antialias);
    }
}

void EditorGraphics::thickLine(std::uint32_t colour, int x1, int y1, int x2, int y2, int extra,
                               bool antialias, float alpha) {
    line(colour, x1, y1, x2, y2, alpha, antialias);
    for (int n = 1; n <= extra; ++n) parallelPair(colour, x1, y1, x2, y2, n, alpha, antialias);
}

void EditorGraphics::softLine(std::uint32_t colour, int x1, int y1, int x2, int y2) {
    line(colour, x1, y1, x2, y2, 1.0f, true);
    parallelPair(colour, x1, y1, x2, y2, 1, 0.5f, true);
    parallelPair(colour, x1, y1, x2, y2, 2, 0.25f, true);
}

void EditorGraphics::dashedLine(int xStart, int xEnd, int y) {
    for (int x = xStart; x < xEnd; x += kDashPeriod) {
        line(kDashColour, x, y, std::min(x + kDashLength, xEnd), y, 1.0f, true);
    }
}

void EditorGraphics::fillRectAlpha(std::uint32_t colour, const LayoutRect& rect, float alpha) {
    const int left = toPixels(rect.left);
    const int top = toPixels(rect.top);
    raster::fillRect(&drawBitmap_, left, top, toPixels(rect.right) - left,
                     toPixels(rect.bottom) - top, colour, alpha, raster::kUseSourceAlpha);
}

void EditorGraphics::fillDisc(float cx, float cy, float radius, std::uint32_t colour, float alpha) {
    const float scale = effectiveShift() == 1 ? 0.5f : 1.0f;
    raster::fillCircle(&drawBitmap_, cx * scale, cy * scale, radius * scale, colour, alpha);
}

}  // namespace corvalen::editor
