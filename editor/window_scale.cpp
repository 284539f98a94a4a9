#include "editor/window_scale.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "editor/editor_graphics.h"

namespace corvalen::editor {

int mulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    // Round half away from zero: add half the divisor in the direction of the result.
    const std::int64_t divisor = denominator;
    const bool negative = (product < 0) != (divisor < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisorMagnitude = divisor < 0 ? -divisor : divisor;
    const std::int64_t quotient = (magnitude + divisorMagnitude / 2) / divisorMagnitude;
    const std::int64_t result = negative ? -quotient : quotient;
    if (result > INT_MAX || result < INT_MIN) return -1;
    return static_cast<int>(result);
}

int chooseWindowDpi(int dpiValue, int systemDpi) {
    const int dpi = dpiValue > 0 ? dpiValue : systemDpi > 0 ? systemDpi : kDefaultDpi;
    return std::clamp(dpi, kSmallestDpi, kLargestDpi);
}

int shiftForDpi(int dpi) { return dpi <= kDefaultDpi ? 1 : 0; }

WindowSize windowSizeForDpi(int dpi) {
    return WindowSize{mulDiv(EditorGraphics::kLayoutWidth, dpi, kFullSizeDpi),
                      mulDiv(EditorGraphics::kLayoutHeight, dpi, kFullSizeDpi)};
}

int pixelToLayout(int pixel, int dpi) { return mulDiv(pixel, kFullSizeDpi, dpi); }

}  // namespace corvalen::editor
