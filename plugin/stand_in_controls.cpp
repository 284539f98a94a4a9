#include "plugin/stand_in_controls.h"

#include <algorithm>

#include "editor/editor_graphics.h"
#include "editor/input_modifiers.h"

namespace corvalen::stand_in {
namespace {

constexpr std::uint32_t kBackgroundColour = 0xFF202428;
constexpr std::uint32_t kKnobColour = 0xFF3A7BD5;
constexpr std::uint32_t kSwitchColour = 0xFF4CAF50;
constexpr std::uint32_t kFileButtonColour = 0xFFD59A3A;
constexpr float kDimmest = 0.35f;  // a control at value 0 still shows where it is
constexpr double kDragStep = 0.005;  // per layout unit
constexpr double kWheelStep = 0.01;
constexpr double kFineWheelStep = 0.001;
constexpr int kArrowUp = 38;
constexpr int kArrowDown = 40;

double clampUnit(double value) { return std::clamp(value, 0.0, 1.0); }

}  // namespace

ValueControl::ValueControl(const editor::LayoutRect& rect, int parameterIndex, std::uint32_t colour)
    : EditorControl(rect, parameterIndex), colour_(colour) {}

void ValueControl::paint(editor::EditorGraphics& graphics) {
    const float alpha = kDimmest + (1.0f - kDimmest) * static_cast<float>(clampUnit(value_));
    graphics.fillRectAlpha(kBackgroundColour, rect(), 1.0f);
    graphics.fillRectAlpha(colour_, rect(), alpha);
}

Background::Background()
    : EditorControl(editor::LayoutRect{0, 0, editor::EditorGraphics::kLayoutWidth,
                                       editor::EditorGraphics::kLayoutHeight}) {}

void Background::paint(editor::EditorGraphics& graphics) {
    const editor::LayoutRect* area = graphics.paintRegion();
    graphics.fillRectAlpha(kBackgroundColour, area != nullptr ? *area : rect(), 1.0f);
}

Knob::Knob(const editor::LayoutRect& rect, int parameterIndex)
    : ValueControl(rect, parameterIndex, kKnobColour) {}

void Knob::applyValueFromPlugin(double value) {
    if (default_ < 0.0) default_ = value;  // the value the plug-in first gives is the default
    ValueControl::applyValueFromPlugin(value);
}

void Knob::change(double value) {
    value = clampUnit(value);
    if (value == value_) return;
    value_ = value;
    markDirty(true);
}

void Knob::mouseDown(int /*x*/, int /*y*/, int modifiers) {
    if ((modifiers & editor::kModifierRightButton) != 0) openValuePrompt();
}

void Knob::mouseDrag(int /*x*/, int /*y*/, int /*dx*/, int dy, int /*modifiers*/) {
    change(value_ - dy * kDragStep);
}

void Knob::mouseDoubleClick(int /*x*/, int /*y*/, int /*modifiers*/) {
    if (default_ >= 0.0) change(default_);
}

void Knob::mouseWheel(int /*x*/, int /*y*/, int modifiers, float delta) {
    if ((modifiers & (editor::kModifierControl | editor::kModifierWheel)) == 0) return;
    const double step = (modifiers & editor::kModifierControl) != 0 ? kFineWheelStep : kWheelStep;
    change(value_ + delta * step);
}

bool Knob::keyDown(int /*x*/, int /*y*/, int /*modifiers*/, int virtualKey) {
    if (virtualKey == kArrowUp) change(value_ + kWheelStep);
    else if (virtualKey == kArrowDown) change(value_ - kWheelStep);
    else return false;
    return true;
}

Switch::Switch(const editor::LayoutRect& rect, int parameterIndex)
    : ValueControl(rect, parameterIndex, kSwitchColour) {
    setFlagBits(editor::kControlNoRightPrompt | editor::kControlDoubleClickPresses);
}

void Switch::mouseDown(int /*x*/, int /*y*/, int modifiers) {
    if ((modifiers & editor::kModifierLeftButton) == 0) return;
    value_ = value_ >= 0.5 ? 0.0 : 1.0;
    markDirty(true);
}

FileButton::FileButton(const editor::LayoutRect& rect, int parameterIndex)
    : ValueControl(rect, parameterIndex, kFileButtonColour) {}

void FileButton::mouseDown(int /*x*/, int /*y*/, int modifiers) {
    if ((modifiers & editor::kModifierLeftButton) == 0 || owner() == nullptr) return;
    // A cancelled dialog leaves the loaded file as it was.
    std::string chosen = path_;
    if (!owner()->promptForFile(chosen, 0, nullptr, "csv txt")) return;
    path_ = chosen;
    markDirty(true);
}

}  // namespace corvalen::stand_in
