// How the editor window's dpi turns into its pixel size, its image set and the conversion
// of mouse positions to layout units. Portable arithmetic, shared by the window host and
// its tests.
#pragma once

namespace corvalen::editor {

// The dpi at which the window is the layout plane's own size (1600 x 1054 pixels).
constexpr int kFullSizeDpi = 192;
// The dpi used when neither the scale setting nor the system names one.
constexpr int kDefaultDpi = 96;
// The dpi the window accepts. Outside this range the window would be a few pixels wide or
// far larger than any screen, so a dpi below or above is held at the nearest limit: 50 %
// (400 x 264 pixels) to 400 % (3200 x 2108 pixels).
constexpr int kSmallestDpi = 48;
constexpr int kLargestDpi = 384;

struct WindowSize {
    int width = 0;
    int height = 0;
};

// number * numerator / denominator rounded to the nearest whole number, halves away from
// zero, computed without intermediate overflow; -1 when the denominator is 0 or the result
// does not fit an int (what the platform's multiply-divide answers).
int mulDiv(int number, int numerator, int denominator);

// The dpi the window opens at: the scale setting's DPI value when it is positive, else the
// system's dpi for the parent window when the system tells one (systemDpi > 0), else 96,
// held inside kSmallestDpi .. kLargestDpi. A negative DPI value (a negative percentage)
// counts as no setting.
int chooseWindowDpi(int dpiValue, int systemDpi);

// 1 (half-size images) up to 96 dpi, 0 (full size) above.
int shiftForDpi(int dpi);

// The window's pixel size at dpi: 800 x 527 at 96, 1200 x 791 at 144, 1600 x 1054 at 192.
WindowSize windowSizeForDpi(int dpi);

// A window pixel coordinate in layout units.
int pixelToLayout(int pixel, int dpi);

}  // namespace corvalen::editor
