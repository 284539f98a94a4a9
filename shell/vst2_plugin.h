// The VST2 layer of the plug-in object: the EffectRecord handed to the host, the dispatcher,
// the parameter and audio callbacks, and every notification sent to the host.
#pragma once

#include <cstdint>

#include "shell/byte_chunk.h"
#include "shell/plugin_base.h"
#include "shell/vst2_abi.h"

namespace corvalen {

// Bits of HostExtensionFlags.
namespace host_extension {
constexpr int32_t kCockosExtensions = 1 << 0;    // parameter texts may be 255 characters
constexpr int32_t kCockosViewAsConfig = 1 << 1;  // recorded only
}  // namespace host_extension

class Vst2Plugin : public PluginBase {
public:
    static constexpr int32_t kIdentifyAnswer = 0x4E764566;  // NvEf
    static constexpr intptr_t kExtensionAnswer = 0xBEEF0000;
    static constexpr intptr_t kVendorAnswer = 0xBEEF;

    Vst2Plugin(vst2::HostCallback hostCallback, const PluginIdentity& identity);
    ~Vst2Plugin() override;

    EffectRecord* Record() { return &record_; }
    // The plug-in object behind a record, or null.
    static Vst2Plugin* FromRecord(EffectRecord* record);

    // Host thread, instance lock held by the caller. Every opcode except effClose, which the
    // dispatcher callback handles itself.
    intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    // Sets numPrograms (at least 1), numParams and the channel counts of the record from
    // the core; the entry point calls it once the product constructor has finished.
    void PublishCounts();

    // Host thread, instance lock held by the caller.
    float GetParameterNormalised(int32_t index) const;
    void SetParameterNormalised(int32_t index, float value);

    int32_t HostExtensionFlags() const { return hostExtensionFlags_; }
    const vst2::ERect& EditorRect() const { return editorRect_; }
    const vst2::VstSpeakerArrangement& InputArrangement() const { return inputArrangement_; }
    const vst2::VstSpeakerArrangement& OutputArrangement() const { return outputArrangement_; }

    // --- Hooks answered towards the host ------------------------------------------------------
    void BeginEdit(int index, bool takeLock) override;
    void InformHostOfChange(int index, double normalised) override;
    void EndEdit(int index) override;
    void RequestDisplayUpdate() override;
    double GetSamplePosition() override;
    double GetTempo() override;
    void GetTimeSignature(int& numerator, int& denominator) override;
    void UpdateOfflineFlag() override;
    int GetHost() override;
    void ResizeEditor(int width, int height) override;
    void HostSpecificSetup() override;
    void AttachEditor(std::unique_ptr<PluginEditor> editor) override;
    void SetLatency(int samples) override;
    bool SendMidiMessage(const MidiMessage& message) override;
    bool SendSysEx(const SysExMessage& message) override;
    bool ReserveProgramChunk(int size) override;
    bool ReserveBankChunk(int size) override;

protected:
    // Calls the host; 0 when there is no host callback.
    intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Characters a parameter text may have: 7, or 255 once the host announced its extensions.
    std::size_t ParamTextLimit() const;
    int ParamDisplayLength() const;

    // Marks the first channels of each side connected and the rest disconnected.
    void ApplySpeakerArrangement(const vst2::VstSpeakerArrangement* inputs,
                                 const vst2::VstSpeakerArrangement* outputs);
    // numChannels and type of both arrangements follow the channel counts.
    void SyncArrangementsToChannels();

    // --- Dispatcher parts ----------------------------------------------------------------------
    intptr_t SetSampleRateRequest(float rate);
    intptr_t SetBlockSizeRequest(intptr_t frames);
    intptr_t MainsChanged(bool on);
    intptr_t SetBypassRequest(bool on);
    intptr_t OpenEffect();
    intptr_t EditorRequest(int32_t opcode, void* ptr);
    intptr_t ParameterText(int32_t opcode, int32_t index, char* text);
    intptr_t String2Parameter(int32_t index, const char* text);
    intptr_t ParameterProperties(int32_t index, vst2::VstParameterProperties* properties);
    intptr_t PinProperties(bool input, int32_t index, vst2::VstPinProperties* properties);
    intptr_t ProcessEvents(const vst2::VstEvents* events);
    intptr_t CanDo(const char* capability);
    intptr_t VendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t KeyEvent(int32_t index, intptr_t value, float opt, bool keyDown);
    intptr_t MidiKeyName(vst2::MidiKeyName* keyName);
    intptr_t GetSpeakerArrangement(intptr_t inputTarget, void* outputTarget);

    // Presets and chunks (effSetProgram, effGetProgram, effSetProgramName, effGetProgramName,
    // effGetChunk, effSetChunk, effGetProgramNameIndexed).
    intptr_t PresetRequest(int32_t opcode, int32_t index, intptr_t value, void* ptr);

    vst2::HostCallback hostCallback_;
    vst2::ERect editorRect_{};
    vst2::VstSpeakerArrangement inputArrangement_{};
    vst2::VstSpeakerArrangement outputArrangement_{};
    bool opened_ = false;
    int32_t hostExtensionFlags_ = 0;
    ByteChunk programChunk_;
    ByteChunk bankChunk_;
    EffectRecord record_{};
};

}  // namespace corvalen
