// A knob that also prints its value as a number from 0 to 120 over its image (the target
// level plate).
#pragma once

#include "editor/controls/knob.h"
#include "editor/text_style.h"

namespace corvalen::editor {

class ValueKnob : public Knob {
public:
    // The printed number is value * kScale.
    static constexpr double kScale = 120.0;

    ValueKnob(const LayoutRect& rect, int parameterIndex, const BitmapRef& image, double gearing);

    // Editor thread: the frame, then the number with a faint shadow.
    void paint(EditorGraphics& graphics) override;
    // The plate with the number drawn last and the number the value now gives: the figure
    // and its shadow stand a little above and below the plate.
    LayoutRect drawnArea(EditorGraphics& graphics) override;
    void rescale(EditorGraphics& graphics) override;

private:
    LayoutRect numberExtent(EditorGraphics& graphics, const char* text);

    TextStyle shadowStyle_;
    TextStyle numberStyle_;
    LayoutRect drawn_;  // the number's extent at the last paint
};

}  // namespace corvalen::editor
