#include "shell/key_mapping.h"

#include "shell/vst2_abi.h"

namespace corvalen {

int MapHostVirtualKey(intptr_t vstKey) {
    // Index = VST2 key code; 0 = not handled.
    static constexpr int kWindowsKey[17] = {
        0,   // none: a plain character, not handled
        0,   // back
        0,   // tab
        0,   // clear
        0,   // return
        0,   // pause
        0,   // escape
        32,  // space
        0,   // next
        35,  // end
        36,  // home
        37,  // left
        38,  // up
        39,  // right
        40,  // down
        33,  // page up
        34,  // page down
    };
    if (vstKey < 0 || vstKey > 16) return 0;
    return kWindowsKey[vstKey];
}

int MapHostModifiers(int32_t vstModifiers) {
    int bits = 0;
    if ((vstModifiers & vst2::MODIFIER_SHIFT) != 0) bits |= editor_modifier::kShift;
    if ((vstModifiers & vst2::MODIFIER_ALTERNATE) != 0) bits |= editor_modifier::kAlternate;
    if ((vstModifiers & vst2::MODIFIER_CONTROL) != 0) bits |= editor_modifier::kControl;
    return bits;
}

}  // namespace corvalen
