// Capability questions, vendor-specific requests and forwarded keys: the parts of the
// protocol that individual hosts extend.
#include <cmath>

#include "shell/capabilities.h"
#include "shell/host_text.h"
#include "shell/key_mapping.h"
#include "shell/param_text.h"
#include "shell/vst2_plugin.h"

namespace corvalen {
namespace {

// Vendor-specific request numbers (effVendorSpecific index).
constexpr int32_t kRequestDisplayForValue = 7;
constexpr int32_t kRequestIsStepped = 8;
constexpr int32_t kRequestParseText = 27;
constexpr int32_t kRequestClassSelectorUpper = vst2::FourCharCode('s', 't', 'C', 'A');
constexpr int32_t kRequestClassSelectorLower = vst2::FourCharCode('s', 't', 'C', 'a');
constexpr intptr_t kClassIdentifierQuery = vst2::FourCharCode('F', 'U', 'I', 'D');
constexpr intptr_t kWheelQuery = vst2::FourCharCode('W', 'h', 'e', 'e');

constexpr int kDisplayForValueLength = 128;
constexpr std::size_t kParsedValueChars = 19;

// This plug-in's fixed class identifier, written as four 32-bit words.
constexpr uint32_t kClassIdentifier[4] = {0x436F7276, 0x616C656E, 0x4B76346D, 0x4E616472};

}  // namespace

intptr_t Vst2Plugin::CanDo(const char* capability) {
    switch (FindCapability(capability)) {
        case Capability::kReceiveVstTimeInfo:
        case Capability::kBypass: return 1;
        case Capability::kSendVstEvents:
        case Capability::kSendVstMidiEvent:
            return (HostStateFlags() & host_state::kSendsMidi) != 0 ? 1 : 0;
        case Capability::kReceiveVstEvents:
        case Capability::kReceiveVstMidiEvent:
            return (HostStateFlags() & host_state::kReceivesMidi) != 0 ? 1 : 0;
        case Capability::kHasCockosExtensions:
            hostExtensionFlags_ |= host_extension::kCockosExtensions;
            return kExtensionAnswer;
        case Capability::kHasCockosViewAsConfig:
            hostExtensionFlags_ |= host_extension::kCockosViewAsConfig;
            return kExtensionAnswer;
        case Capability::kUnknown: break;
    }
    return 0;
}

intptr_t Vst2Plugin::VendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    const bool indexFits = value >= INT32_MIN && value <= INT32_MAX;
    ParamSpec* param = indexFits ? Param(static_cast<int>(value)) : nullptr;
    switch (index) {
        case kRequestDisplayForValue:
            if (param == nullptr || ptr == nullptr) return 0;
            param->DisplayTextForNormalised(static_cast<double>(opt), static_cast<char*>(ptr),
                                            kDisplayForValueLength);
            return kVendorAnswer;
        case kRequestIsStepped: return param != nullptr && param->IsSwitch() ? kVendorAnswer : 0;
        case kRequestParseText: {
            if (param == nullptr || ptr == nullptr) return 0;
            char* text = static_cast<char*>(ptr);
            if (text[0] == '\0') return kVendorAnswer;
            // Printed with a point whatever locale the host has set in the runtime we share.
            char printed[64];
            FormatFixed(param->ParseToNormalised(text), 17, printed, sizeof printed);
            CopyHostText(text, printed, kParsedValueChars);
            return kVendorAnswer;
        }
        case kRequestClassSelectorUpper:
        case kRequestClassSelectorLower:
            if (value == kClassIdentifierQuery) {
                if (ptr == nullptr) return 0;
                auto* words = static_cast<uint32_t*>(ptr);
                for (int i = 0; i < 4; ++i) words[i] = kClassIdentifier[i];
                return 1;
            }
            if (value == kWheelQuery) {
                return Editor() != nullptr ? Editor()->OnHostWheel(opt) : 0;
            }
            return 0;
        default: return 0;
    }
}

intptr_t Vst2Plugin::KeyEvent(int32_t /*index*/, intptr_t value, float opt, bool keyDown) {
    PluginEditor* editor = Editor();
    if (editor == nullptr || editor->KeyControlIndex() < 0) return 0;
    const int virtualKey = MapHostVirtualKey(value);
    if (virtualKey == 0) return 0;  // plain characters and unmapped keys are not handled
    // The modifier word arrives as a float; one that is not a small whole number is noise.
    const bool wordFits = std::isfinite(opt) && opt >= 0.0f && opt < 65536.0f;
    const int modifiers = MapHostModifiers(wordFits ? static_cast<int32_t>(opt) : 0);
    return editor->OnKey(virtualKey, modifiers, keyDown);
}

}  // namespace corvalen
