// The host-neutral core of the plug-in object: parameters, presets, channels, sample rate,
// block size, what the host has told the instance (HostStateFlags) and the instance lock.
// It declares the hooks that the VST2 layer implements towards the host and that the
// product class overrides; the defaults here are deliberately minimal.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/byte_chunk.h"
#include "shell/channels.h"
#include "shell/instance_lock.h"
#include "shell/parameter.h"
#include "shell/plugin_editor.h"
#include "shell/preset.h"
#include "shell/reentrant_lock.h"

namespace corvalen {

// Bits of HostStateFlags: what the host has told this instance.
namespace host_state {
constexpr int32_t kInstrument = 1 << 0;    // never set in this plug-in
constexpr int32_t kReceivesMidi = 1 << 1;  // never set in this plug-in
constexpr int32_t kSendsMidi = 1 << 2;     // never set in this plug-in
constexpr int32_t kSampleRateSet = 1 << 3;
constexpr int32_t kBlockSizeSet = 1 << 4;
constexpr int32_t kActive = 1 << 5;
constexpr int32_t kHostBypass = 1 << 6;
constexpr int32_t kOffline = 1 << 7;
}  // namespace host_state

// Fixed facts about the product, handed to the core by the product constructor.
struct PluginIdentity {
    const char* effectName = "";
    const char* vendor = "";
    const char* product = "";
    int32_t uniqueId = 0;
    int32_t vendorVersion = 0;  // packed: major << 16 | minor << 8 | patch
    const char* channelIo = "";
    int presetCount = 1;
};

struct MidiMessage {
    int32_t deltaFrames = 0;
    uint8_t data[4] = {0, 0, 0, 0};
};

struct SysExMessage {
    int32_t deltaFrames = 0;
    int32_t size = 0;
    const char* bytes = nullptr;
};

class PluginBase : public DeferredWork {
public:
    explicit PluginBase(const PluginIdentity& identity);
    PluginBase(const PluginBase&) = delete;
    PluginBase& operator=(const PluginBase&) = delete;

    // Destroys the editor first (if a derived layer has not already), then channels, lock,
    // presets and parameters.
    virtual ~PluginBase();

    // --- What the product overrides: processing and its state
    // --------------------------------------

    // Host thread, instance lock held: after deactivation, and after sample-rate or
    // block-size changes once both are known.
    virtual void Reset() {}
    // Any thread, instance lock held: the parameter at index has a new value.
    virtual void OnParamChange(int /*index*/) {}
    // OnParamChange for every parameter index in order.
    virtual void OnAllParamsChanged();
    // Host audio thread, instance lock held. One pointer per channel object, each
    // addressing `frames` samples; never more frames than ScratchFrames().
    virtual void ProcessBlock(double** inputs, double** outputs, int32_t frames);
    // Host thread, instance lock held.
    virtual void SetSampleRate(double rate) { sampleRate_ = rate; }
    // Work a locked call leaves for after the instance lock (reading a file): the thread whose
    // last Leave releases the lock runs it there, never the audio thread. HasDeferredWork is
    // asked with the lock held; RunDeferredWork runs with no lock held and may take it again.
    bool HasDeferredWork() const override { return false; }
    void RunDeferredWork() noexcept override {}
    // Host thread, instance lock held: resizes every scratch buffer (never on audio) to the
    // announced block, at most kLargestScratchFrames.
    virtual void SetBlockSize(int frames);
    // Editor scale shift (0 full size, 1 half size); the core's default is full size.
    virtual void SetEditorScale(int shift);

    // --- What the host reports (the VST2 layer calls these; empty unless a product cares)
    // ----------

    // Host thread, instance lock held: switching off resets the processing.
    virtual void OnActivate(bool on);
    // Host thread, instance lock held. The host's bypass, MIDI and system-exclusive events:
    // this effect ignores them, but the VST2 layer hands every one on so a product can act.
    virtual void OnBypass(bool /*on*/) {}
    virtual void OnMidiMessage(const MidiMessage& /*message*/) {}
    virtual void OnSysEx(const SysExMessage& /*message*/) {}
    // Host UI thread, instance lock held: the host opened or is closing the editor window.
    virtual void OnEditorOpened() {}
    virtual void OnEditorClosing() {}
    // Writes the name of a MIDI note; the default names nothing and answers false.
    virtual bool GetNoteName(int key, char* buffer, int length);

    // --- State chunks and presets (instance lock held)
    // ---------------------------------------------

    // Size the program-chunk and bank-chunk buffers (the VST2 layer owns them); false
    // when memory runs out.
    virtual bool ReserveProgramChunk(int size) = 0;
    virtual bool ReserveBankChunk(int size) = 0;
    // A snapshot holds the parameters not excluded from snapshots, the full state all of
    // them; the product appends its custom data to both. Writers answer true when everything
    // fit, readers the next position or -1. Defined in shell/preset_operations.cpp.
    virtual bool WriteSnapshot(ByteChunk& chunk);
    virtual int ReadSnapshot(const ByteChunk& chunk, int position);
    virtual bool WriteFullState(ByteChunk& chunk);
    virtual int ReadFullState(const ByteChunk& chunk, int position);
    // The bank chunk after its header.
    virtual bool WriteBankBody(ByteChunk& chunk);
    virtual int ReadBankBody(const ByteChunk& chunk, int position);
    // Renames preset index (the current one when index < 0), keeping at most
    // Preset::kMaxNameLength characters.
    virtual void RenamePreset(int index, const char* name);

    // --- Calls towards the host (the VST2 layer implements them)
    // -----------------------------------

    // Edit gestures and new values, so the host records automation. Beginning an edit first
    // closes the pending wheel edit (under the lock when asked).
    virtual void BeginEdit(int index, bool takeLock) = 0;
    virtual void InformHostOfChange(int index, double normalised) = 0;
    virtual void EndEdit(int index) = 0;
    virtual void RequestDisplayUpdate() = 0;
    // The transport as the host reports it.
    virtual double GetSamplePosition() = 0;
    virtual double GetTempo() = 0;
    virtual void GetTimeSignature(int& numerator, int& denominator) = 0;
    virtual void UpdateOfflineFlag() = 0;
    // The host code (0 unknown, -1 not yet asked); the VST2 layer identifies the host.
    virtual int GetHost() { return hostCode_; }
    // Tells the host the editor's new size in pixels.
    virtual void ResizeEditor(int width, int height) = 0;
    // Once, on the first open.
    virtual void HostSpecificSetup() = 0;
    // The processing delay in samples. This effect adds none and never calls it; the VST2
    // layer keeps the record's delay field in step for a product that does.
    virtual void SetLatency(int samples) { latency_ = samples; }
    // MIDI to the host; true when the host took it. This effect sends none; they complete
    // the host protocol for a product that does.
    virtual bool SendMidiMessage(const MidiMessage& message) = 0;
    virtual bool SendMidiMessages(const MidiMessage* messages, int count);
    virtual bool SendSysEx(const SysExMessage& message) = 0;

    // --- The editor
    // --------------------------------------------------------------------------------

    // Takes ownership of the editor; under the instance lock every control bound to a
    // parameter first takes that parameter's normalised value.
    virtual void AttachEditor(std::unique_ptr<PluginEditor> editor);

    // --- Parameters
    // --------------------------------------------------------------------------------

    int ParamCount() const { return static_cast<int>(params_.size()); }
    bool IsValidParamIndex(int index) const { return index >= 0 && index < ParamCount(); }
    // Null for an invalid index.
    ParamSpec* Param(int index) const;
    // All parameters in index order.
    const std::vector<std::unique_ptr<ParamSpec>>& Params() const { return params_; }
    // Appends a parameter; its position is its index. Construction only.
    void AddParam(std::unique_ptr<ParamSpec> param);

    // Editor thread: a control changed a parameter. Under the instance lock: sets it, tells
    // the host (audioMasterAutomate) and runs OnParamChange.
    void ApplyEditorChange(int index, double normalised);

    // --- Presets
    // -----------------------------------------------------------------------------------

    std::vector<Preset>& Presets() { return presets_; }
    const std::vector<Preset>& Presets() const { return presets_; }
    int CurrentPresetIndex() const { return currentPreset_; }
    // Instance lock held by the caller for all of these (shell/preset_operations.cpp).
    // Initialises the next `count` uninitialised presets (all remaining when count < 0) from
    // the live parameters, naming them `name` when given; false when the presets run out.
    bool MakePresets(const char* name, int count);
    // Appends one preset, "Default", made from the live state, when there is none.
    void EnsureDefaultPreset();
    // Writes the live state into the current preset and renames it when name is non-empty.
    void StoreCurrentPreset(const char* name);
    // Reads preset index (current when < 0) into the live parameters, runs OnParamChange for
    // all and makes it current; an uninitialised preset is initialised from the live state.
    bool RestorePreset(int index);
    // The name of preset index (current when < 0); empty outside the list.
    std::string PresetName(int index) const;
    // Bytes reserved for each preset snapshot.
    int StateChunkSize() const;
    void SetStateChunkSize(int size) { stateChunkSize_ = size; }
    // Every editor control bound to a parameter takes the parameter's normalised value.
    void PushParamsToEditor();

    // --- Wheel gestures
    // ----------------------------------------------------------------------------

    int PendingWheelEdit() const { return pendingWheelEdit_; }
    void SetPendingWheelEdit(int index) { pendingWheelEdit_ = index; }
    // Stops the editor's countdown, ends the pending wheel gesture at the host and forgets it.
    void ClosePendingWheelEdit(bool takeLock);

    // --- Identity, host facts and audio state
    // ------------------------------------------------------

    const std::string& EffectName() const { return effectName_; }
    const std::string& Vendor() const { return vendor_; }
    const std::string& Product() const { return product_; }
    int32_t UniqueId() const { return uniqueId_; }
    int32_t VendorVersion() const { return vendorVersion_; }
    int HostVersion() const { return hostVersion_; }
    int32_t HostStateFlags() const { return hostStateFlags_; }
    double SampleRate() const { return sampleRate_; }
    // The block size the host announced (0 when the scratch buffers could not be made).
    int BlockSize() const { return blockSize_; }
    // The frames each scratch buffer holds: the announced block, at most kLargestScratchFrames.
    int ScratchFrames() const { return scratchFrames_; }
    int Latency() const { return latency_; }
    const std::vector<ChannelIoConfig>& ChannelIoConfigs() const { return channelIo_; }
    int InputCount() const { return static_cast<int>(inputs_.size()); }
    int OutputCount() const { return static_cast<int>(outputs_.size()); }
    bool IsInputConnected(int index) const;
    bool IsOutputConnected(int index) const;

    PluginEditor* Editor() const { return editor_.get(); }
    InstanceLock* Lock() const { return lock_.get(); }

    // --- Audio frame (host audio thread, instance lock held by the caller)
    // -------------------------

    // Converts the host's float block to 64-bit samples, runs ProcessBlock and converts back,
    // replacing the host's output or adding to it.
    void ProcessFloatBlock(float** inputs, float** outputs, int32_t frames, bool accumulate);
    // Hands the host's 64-bit buffers to ProcessBlock in place.
    void ProcessDoubleBlock(double** inputs, double** outputs, int32_t frames);

protected:
    // Copies input i to output i for every channel pair and silences the remaining outputs.
    void PassThrough(double** inputs, double** outputs, int32_t frames) const;

    // Marks channel `index` connected or not; a disconnected channel's slot points at its
    // scratch buffer, and an input that stops being fed reads silence from it.
    void SetInputConnected(int index, bool connected);
    void SetOutputConnected(int index, bool connected);

    void SetHostStateFlag(int32_t bit, bool on);

    // Destroys the editor. Every derived layer's destructor calls it first: the editor may still
    // call into the plug-in as it goes (its window ends a pending wheel gesture at the host), so
    // it must go while the layers that answer those calls are whole.
    void DestroyEditor() { editor_.reset(); }

    std::vector<ChannelIoConfig> channelIo_;
    std::vector<std::unique_ptr<ParamSpec>> params_;
    std::vector<Preset> presets_;
    int currentPreset_ = 0;
    int pendingWheelEdit_ = -1;
    std::unique_ptr<InstanceLock> lock_;
    std::string effectName_;
    std::string product_;
    std::string vendor_;
    int32_t uniqueId_ = 0;
    int32_t vendorVersion_ = 0;
    int hostCode_ = -1;
    int hostVersion_ = 0;
    int32_t hostStateFlags_ = 0;
    double sampleRate_ = 44100.0;
    int blockSize_ = 0;
    int scratchFrames_ = 0;
    int latency_ = 0;
    std::unique_ptr<PluginEditor> editor_;
    std::vector<double*> inputSlots_;
    std::vector<double*> outputSlots_;
    std::vector<InputChannel> inputs_;
    std::vector<OutputChannel> outputs_;
    int stateChunkSize_ = -1;

private:
    // One piece of at most the block size, starting `offset` frames into the host's buffers.
    void ProcessFloatPiece(float** inputs, float** outputs, int32_t offset, int32_t frames,
                           bool accumulate);
    void ProcessDoublePiece(double** inputs, double** outputs, int32_t offset, int32_t frames);
    // Zeros the host's buffers of the connected outputs, when nothing can be processed.
    void SilenceHostOutputs(float** outputs, int32_t frames) const;
    void SilenceHostOutputs(double** outputs, int32_t frames) const;
};

}  // namespace corvalen
