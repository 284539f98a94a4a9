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

namespace {

LayoutRect ShadowBox(const LayoutRect& r) {
    return {r.left + kShadowDx, r.top + kShadowDy, r.right, r.bottom};
}

LayoutRect NumberBox(const LayoutRect& r) { return {r.left, r.top + kNumberDy, r.right, r.bottom}; }

}  // namespace

LayoutRect ValueKnob::numberExtent(EditorGraphics& graphics, const char* text) {
    return Enclosing(graphics.textExtent(shadowStyle_, text, ShadowBox(rect())),
                     graphics.textExtent(numberStyle_, text, NumberBox(rect())));
}

LayoutRect ValueKnob::drawnArea(EditorGraphics& graphics) {
    const ReadoutText number = FixedReadoutText(readValue() * kScale, 0);
    return Enclosing(Enclosing(rect(), drawn_), numberExtent(graphics, number.text));
}

void ValueKnob::paint(EditorGraphics& graphics) {
    Knob::paint(graphics);
    const ReadoutText number = FixedReadoutText(readValue() * kScale, 0);
    drawn_ = numberExtent(graphics, number.text);
    if (number.text[0] == '\0') return;
    graphics.drawText(shadowStyle_, number.text, ShadowBox(rect()));
    graphics.drawText(numberStyle_, number.text, NumberBox(rect()));
}

void ValueKnob::rescale(EditorGraphics& graphics) {
    drawn_ = LayoutRect{};
    Knob::rescale(graphics);
    shadowStyle_.cachedFont = nullptr;
    numberStyle_.cachedFont = nullptr;
}

}  // namespace corvalen::editor
