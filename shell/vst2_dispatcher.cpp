// The dispatcher: every control request of the host, answered under the instance lock
// (taken by the dispatcher callback). Unhandled opcodes answer 0.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shell/host_identification.h"
#include "shell/host_text.h"
#include "shell/vst2_plugin.h"

namespace corvalen {

intptr_t Vst2Plugin::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    switch (opcode) {
        case vst2::effOpen: return OpenEffect();

        // Presets and chunks.
        case vst2::effSetProgram:
        case vst2::effGetProgram:
        case vst2::effSetProgramName:
        case vst2::effGetProgramName:
        case vst2::effGetChunk:
        case vst2::effSetChunk:
        case vst2::effGetProgramNameIndexed: return PresetRequest(opcode, index, value, ptr);

        case vst2::effGetParamLabel:
        case vst2::effGetParamDisplay:
        case vst2::effGetParamName: return ParameterText(opcode, index, static_cast<char*>(ptr));
        case vst2::effSetSampleRate: return SetSampleRateRequest(opt);
        case vst2::effSetBlockSize: return SetBlockSizeRequest(value);
        case vst2::effMainsChanged: return MainsChanged(value != 0);
        case vst2::effEditGetRect:
        case vst2::effEditOpen:
        case vst2::effEditClose: return EditorRequest(opcode, ptr);
        case vst2::effIdentify: return kIdentifyAnswer;
        case vst2::effProcessEvents: return ProcessEvents(static_cast<const vst2::VstEvents*>(ptr));
        case vst2::effCanBeAutomated: return 1;
        case vst2::effString2Parameter:
            return String2Parameter(index, static_cast<const char*>(ptr));
        case vst2::effGetInputProperties:
        case vst2::effGetOutputProperties:
            return PinProperties(opcode == vst2::effGetInputProperties, index,
                                 static_cast<vst2::VstPinProperties*>(ptr));
        case vst2::effGetPlugCategory:
            return (HostStateFlags() & host_state::kInstrument) != 0 ? vst2::kPlugCategSynth
                                                                     : vst2::kPlugCategEffect;
        case vst2::effSetSpeakerArrangement:
            ApplySpeakerArrangement(reinterpret_cast<const vst2::VstSpeakerArrangement*>(value),
                                    static_cast<const vst2::VstSpeakerArrangement*>(ptr));
            return 1;
        case vst2::effSetBypass: return SetBypassRequest(value != 0);
        case vst2::effGetEffectName:
        case vst2::effGetVendorString:
        case vst2::effGetProductString: {
            if (ptr == nullptr) return 0;
            char* text = static_cast<char*>(ptr);
            if (opcode == vst2::effGetEffectName) {
                CopyHostText(text, EffectName(), text_limit::kEffectName);
            } else {
                CopyHostText(text, opcode == vst2::effGetVendorString ? Vendor() : Product(),
                             text_limit::kVendorText);
            }
            return 1;
        }
        case vst2::effGetVendorVersion: return ReportedVersion(VendorVersion());
        case vst2::effVendorSpecific: return VendorSpecific(index, value, ptr, opt);
        case vst2::effCanDo: return CanDo(static_cast<const char*>(ptr));
        case vst2::effGetParameterProperties:
            return ParameterProperties(index, static_cast<vst2::VstParameterProperties*>(ptr));
        case vst2::effGetVstVersion: return vst2::kVstVersion;
        case vst2::effEditKeyDown:
        case vst2::effEditKeyUp: return KeyEvent(index, value, opt, opcode == vst2::effEditKeyDown);
        case vst2::effGetMidiKeyName: return MidiKeyName(static_cast<vst2::MidiKeyName*>(ptr));
        case vst2::effGetSpeakerArrangement: return GetSpeakerArrangement(value, ptr);
        default: return 0;
    }
}

intptr_t Vst2Plugin::OpenEffect() {
    if (!opened_) {
        opened_ = true;
        HostSpecificSetup();
    }
    OnAllParamsChanged();
    return 0;
}

intptr_t Vst2Plugin::SetSampleRateRequest(float rate) {
    const double newRate = static_cast<double>(rate);
    // A rate of zero, below zero or not a number would tune every filter to nonsense; such a
    // request is ignored and the previous rate kept.
    if (!std::isfinite(newRate) || newRate <= 0.0) return 0;
    const int32_t flags = HostStateFlags();
    if (newRate != SampleRate() || (flags & host_state::kSampleRateSet) == 0) {
        SetSampleRate(newRate);
        SetHostStateFlag(host_state::kSampleRateSet, true);
        if ((flags & host_state::kBlockSizeSet) != 0) Reset();
    }
    return 0;
}

intptr_t Vst2Plugin::SetBlockSizeRequest(intptr_t frames) {
    const int size = static_cast<int>(std::clamp<intptr_t>(frames, 0, INT32_MAX));
    const int32_t flags = HostStateFlags();
    if (size != BlockSize() || (flags & host_state::kBlockSizeSet) == 0) {
        SetBlockSize(size);
        SetHostStateFlag(host_state::kBlockSizeSet, true);
        if ((flags & host_state::kSampleRateSet) != 0) Reset();
    }
    return 0;
}

intptr_t Vst2Plugin::MainsChanged(bool on) {
    const bool active = (HostStateFlags() & host_state::kActive) != 0;
    if (on != active) {
        SetHostStateFlag(host_state::kActive, on);
        OnActivate(on);
    }
    return 0;
}

intptr_t Vst2Plugin::SetBypassRequest(bool on) {
    const bool bypassed = (HostStateFlags() & host_state::kHostBypass) != 0;
    if (on != bypassed) {
        SetHostStateFlag(host_state::kHostBypass, on);
        OnBypass(on);
    }
    return 1;
}

intptr_t Vst2Plugin::EditorRequest(int32_t opcode, void* ptr) {
    PluginEditor* editor = Editor();
    if (editor == nullptr) return 0;
    switch (opcode) {
        case vst2::effEditGetRect:
            if (ptr == nullptr) return 0;
            *static_cast<vst2::ERect**>(ptr) = &editorRect_;
            return 1;
        case vst2::effEditOpen:
            if (!editor->OpenWindow(ptr)) return 0;
            OnEditorOpened();
            return 1;
        case vst2::effEditClose:
            OnEditorClosing();
            editor->CloseWindow();
            return 1;
        default: return 0;
    }
}

intptr_t Vst2Plugin::ParameterText(int32_t opcode, int32_t index, char* text) {
    const ParamSpec* param = Param(index);
    if (param == nullptr || text == nullptr) return 0;
    switch (opcode) {
        case vst2::effGetParamLabel:
            CopyHostText(text, param->UnitLabel(), ParamTextLimit());
            break;
        case vst2::effGetParamDisplay: param->DisplayText(text, ParamDisplayLength()); break;
        case vst2::effGetParamName: {
            const bool preferShort =
                (hostExtensionFlags_ & host_extension::kCockosExtensions) == 0 &&
                !param->ShortName().empty();
            CopyHostText(text, preferShort ? param->ShortName() : param->Name(), ParamTextLimit());
            break;
        }
        default: break;
    }
    return 0;
}

intptr_t Vst2Plugin::String2Parameter(int32_t index, const char* text) {
    ParamSpec* param = Param(index);
    if (param == nullptr) return 0;
    if (text == nullptr) return 1;  // the host only asks whether texts are accepted
    const double normalised = param->ParseToNormalised(text);
    if (Editor() != nullptr) Editor()->SetControlsForParameter(index, normalised);
    param->SetNormalised(normalised);
    OnParamChange(index);
    return 1;
}

intptr_t Vst2Plugin::ParameterProperties(int32_t index, vst2::VstParameterProperties* properties) {
    const ParamSpec* param = Param(index);
    if (param == nullptr || properties == nullptr) return 0;
    CopyHostText(properties->label, param->Name(), text_limit::kPropertyLabel);
    if (param->IsSwitch()) properties->flags = vst2::kVstParameterIsSwitch;
    CopyHostText(properties->shortLabel,
                 param->ShortName().empty() ? param->Name() : param->ShortName(),
                 text_limit::kPropertyShortLabel);
    return 1;
}

intptr_t Vst2Plugin::PinProperties(bool input, int32_t index, vst2::VstPinProperties* properties) {
    const int count = input ? InputCount() : OutputCount();
    if (index < 0 || index >= count || properties == nullptr) return 0;
    char text[32];
    std::snprintf(text, sizeof text, input ? "Input %d" : "Output %d", index + 1);
    CopyHostText(properties->label, text, text_limit::kPinLabel);
    std::snprintf(text, sizeof text, input ? "In%d" : "Out%d", index + 1);
    CopyHostText(properties->shortLabel, text, text_limit::kPinShortLabel);
    const bool stereoPair = index % 2 == 0 && index + 1 < count;
    properties->flags =
        vst2::kVstPinIsActive | vst2::kVstPinUseSpeaker | (stereoPair ? vst2::kVstPinIsStereo : 0);
    properties->arrangementType = input ? inputArrangement_.type : outputArrangement_.type;
    return 1;
}

intptr_t Vst2Plugin::ProcessEvents(const vst2::VstEvents* events) {
    if (events == nullptr) return 0;
    for (int32_t i = 0; i < events->numEvents; ++i) {
        const vst2::VstEvent* event = events->events[i];
        if (event == nullptr) continue;
        if (event->type == vst2::kVstMidiType) {
            const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(event);
            MidiMessage message;
            message.deltaFrames = midi->deltaFrames;
            for (int b = 0; b < 4; ++b) message.data[b] = static_cast<uint8_t>(midi->midiData[b]);
            OnMidiMessage(message);
        } else if (event->type == vst2::kVstSysExType) {
            const auto* sysex = reinterpret_cast<const vst2::VstMidiSysexEvent*>(event);
            SysExMessage message;
            message.deltaFrames = sysex->deltaFrames;
            message.size = sysex->dumpBytes;
            message.bytes = sysex->sysexDump;
            OnSysEx(message);
        }
    }
    return 1;
}

intptr_t Vst2Plugin::MidiKeyName(vst2::MidiKeyName* keyName) {
    if (keyName == nullptr) return 0;
    return GetNoteName(keyName->thisKeyNumber, keyName->keyName,
                       static_cast<int>(sizeof keyName->keyName))
               ? 1
               : 0;
}

intptr_t Vst2Plugin::GetSpeakerArrangement(intptr_t inputTarget, void* outputTarget) {
    if (inputTarget != 0) {
        *reinterpret_cast<vst2::VstSpeakerArrangement**>(inputTarget) = &inputArrangement_;
    }
    if (outputTarget != nullptr) {
        *static_cast<vst2::VstSpeakerArrangement**>(outputTarget) = &outputArrangement_;
    }
    return 1;
}

}  // namespace corvalen
