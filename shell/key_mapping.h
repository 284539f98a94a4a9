// Keys the host forwards to the editor (effEditKeyDown / effEditKeyUp), translated from the
// VST2 key codes and modifiers to Windows virtual keys and the editor's modifier bits.
#pragma once

#include <cstdint>

namespace corvalen {

// Editor modifier bits.
namespace editor_modifier {
constexpr int kShift = 4;
constexpr int kControl = 8;
constexpr int kAlternate = 16;
}  // namespace editor_modifier

// The Windows virtual key for a VST2 virtual-key code, or 0 when the key is not handled
// (0, codes 1-6 and 8, and everything above 16).
int MapHostVirtualKey(intptr_t vstKey);

// VST2 shift -> 4, alternate -> 16, control -> 8; command and unknown bits are dropped.
int MapHostModifiers(int32_t vstModifiers);

}  // namespace corvalen
