// The modifier word that comes with every mouse, wheel and key event a control receives.
#pragma once

namespace corvalen::editor {

constexpr int kModifierLeftButton = 1;
constexpr int kModifierRightButton = 2;
constexpr int kModifierShift = 4;
constexpr int kModifierControl = 8;
constexpr int kModifierAlt = 16;
// Set on every wheel event the editor accepts without a keyboard modifier held.
constexpr int kModifierWheel = 32;

}  // namespace corvalen::editor
