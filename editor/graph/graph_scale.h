// Where hertz and decibels land on the graph, in layout units. The frequency axis is the
// engine's grid (one point every two units), so every mapping here goes through the grid
// function; levels map linearly around the centre line.
#pragma once

#include "editor/layout_rect.h"
#include "engine/frequency_grid.h"

namespace corvalen::editor {

// The graph's area on the layout plane and its vertical scale: 0 dB at the centre line, the
// edges at +-320 / 13.3 (about +-24.06 dB), which holds the bands' +-24 dB.
inline constexpr LayoutRect kGraphRect{0, 0, 1600, 640};
inline constexpr double kPixelsPerDb = 13.3;

// Beyond any real curve (twelve bands at +24 dB sum to 288 dB). Levels past it are held there
// so the conversion to an integer position is always defined.
inline constexpr double kLevelLimitDb = 1.0e6;

// A marker centre within 3 units of the top or bottom edge is pulled 14 units inside, so the
// marker for a band at +-24 dB stays whole.
inline constexpr int kMarkerEdgeMargin = 3;
inline constexpr float kMarkerEdgePull = 14.0f;

// x of grid point i: the integer step width / point count, times i.
int PointX(int i, int width);

// y of a level, truncated toward zero. A level that is not a number lands below the graph,
// where it is not drawn.
int LevelY(double db, int height);

// The centre of a band's marker: the gain on the same scale, not truncated, pulled back inside
// by 14 units when it would touch the top (originY) or bottom edge.
float MarkerY(double gainDb, int height, int originY);

// The marker column of a band frequency: the grid index i, 0 <= i <= 800, with
// f(i) < hz < f(i + 1), or -1 when there is none (outside the grid, or not a number).
int MarkerColumn(double hz);

// Whether a tick frequency lands on a grid frequency: equal to a tenth of a hertz, truncated.
bool TickFallsOn(double tickHz, double gridHz);

}  // namespace corvalen::editor
