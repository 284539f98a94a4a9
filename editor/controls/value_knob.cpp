#include "editor/controls/value_knob.h"

#include "editor/editor_graphics.h"
#include "engine/readout_text.h"

namespace corvalen::editor {
namespace {

// The number sits over the plate: a faint shadow below right, then the figure.
constexpr const char* kNumberFace = "Bahnschrift";
constexpr int kNumberSize = 34;
constexpr std::uint32_t kShadowColour = 0x32000000;
constexpr std::uint32_t kNumberColour = 0xFFDCDCDC;
constexpr int kShadowDx = 5;
constexpr int kShadowDy = 3;
constexpr int kNumberDy = -2;

TextStyle NumberStyle(std::uint32_t colour) {
    TextStyle style;
    style.faceName = kNumberFace;
    style.size = kNumberSize;
    style.colour = colour;
    style.alignment = kAlignCentre;
    return style;
}

}  // namespace

ValueKnob::ValueKnob(const LayoutRect& rect, int parameterIndex, const BitmapRef& image,
                     double gearing)
    : Knob(rect, parameterIndex, image, gearing),
      shadowStyle_(NumberStyle(kShadowColour)),
      numberStyle_(NumberStyle(kNumberColour)) {}

void ValueKnob::paint(EditorGraphics& graphics) {
    Knob::paint(graphics);
    const ReadoutText number = FixedReadoutText(readValue() * kScale, 0);
    if (number.text[0] == '\0') return;
    const LayoutRect& r = rect();
    graphics.drawText(shadowStyle_, number.text,
                      LayoutRect{r.left + kShadowDx, r.top + kShadowDy, r.right, r.bottom});
    graphics.drawText(numberStyle_, number.text,
                      LayoutRect{r.left, r.top + kNumberDy, r.right, r.bottom});
}

void ValueKnob::rescale(EditorGraphics& graphics) {
    Knob::rescale(graphics);
    shadowStyle_.cachedFont = nullptr;
    numberStyle_.cachedFont = nullptr;
}

}  // namespace corvalen::editor
