#include "shell/vst2_plugin.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "shell/host_identification.h"
#include "shell/host_text.h"
#include "shell/vst2_callbacks.h"

namespace corvalen {
namespace {

constexpr int kInitialBlockSize = 1024;

int32_t ArrangementType(int32_t channels) {
    return channels <= 2 ? channels - 1 : vst2::kSpeakerArrUserDefined;
}

// Transport values below zero, and ones that are not numbers, read as 0.
double FlooredAtZero(double value) { return value > 0.0 ? value : 0.0; }

}  // namespace

Vst2Plugin::Vst2Plugin(vst2::HostCallback hostCallback, const PluginIdentity& identity)
    : PluginBase(identity), hostCallback_(hostCallback) {
    record_.magic = vst2::kEffectMagic;
    record_.dispatcher = &vst2_callbacks::Dispatcher;
    record_.process = &vst2_callbacks::Process;
    record_.setParameter = &vst2_callbacks::SetParameter;
    record_.getParameter = &vst2_callbacks::GetParameter;
    record_.processReplacing = &vst2_callbacks::ProcessReplacing;
    record_.processDoubleReplacing = &vst2_callbacks::ProcessDoubleReplacing;
    record_.ioRatio = 1.0f;
    record_.object = this;
    record_.uniqueID = UniqueId();
    record_.version = ReportedVersion(VendorVersion());
    record_.initialDelay = Latency();
    PublishCounts();

    record_.flags =
        vst2::effFlagsCanReplacing | vst2::effFlagsProgramChunks | vst2::effFlagsCanDoubleReplacing;
    for (const ChannelIoConfig& config : ChannelIoConfigs()) {
        if (config.inputs == 1) record_.flags |= vst2::effFlagsCanMono;
    }

    for (int i = 0; i < InputCount(); ++i) SetInputConnected(i, true);
    for (int i = 0; i < OutputCount(); ++i) SetOutputConnected(i, true);
    SyncArrangementsToChannels();
    SetBlockSize(kInitialBlockSize);
}

Vst2Plugin::~Vst2Plugin() { DestroyEditor(); }

Vst2Plugin* Vst2Plugin::FromRecord(EffectRecord* record) {
    if (record == nullptr || record->object == nullptr) return nullptr;
    return static_cast<Vst2Plugin*>(record->object);
}

void Vst2Plugin::PublishCounts() {
    record_.numPrograms = std::max(static_cast<int32_t>(Presets().size()), int32_t{1});
    record_.numParams = ParamCount();
    record_.numInputs = InputCount();
    record_.numOutputs = OutputCount();
}

intptr_t Vst2Plugin::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (hostCallback_ == nullptr) return 0;
    return hostCallback_(&record_, opcode, index, value, ptr, opt);
}

std::size_t Vst2Plugin::ParamTextLimit() const {
    return (hostExtensionFlags_ & host_extension::kCockosExtensions) != 0 ? text_limit::kParamLong
                                                                          : text_limit::kParamShort;
}

int Vst2Plugin::ParamDisplayLength() const { return static_cast<int>(ParamTextLimit()) + 1; }

float Vst2Plugin::GetParameterNormalised(int32_t index) const {
    const ParamSpec* param = Param(index);
    return param != nullptr ? static_cast<float>(param->GetNormalised()) : 0.0f;
}

void Vst2Plugin::SetParameterNormalised(int32_t index, float value) {
    ParamSpec* param = Param(index);
    if (param == nullptr) return;
    // Hosts should send 0..1 only: a value outside is clamped and one that is not a number is
    // ignored, so neither the parameter nor the editor's controls leave their range.
    if (!std::isfinite(value)) return;
    const double normalised =
        value < 0.0f ? 0.0 : (value > 1.0f ? 1.0 : static_cast<double>(value));
    if (Editor() != nullptr) Editor()->SetControlsForParameter(index, normalised);
    param->SetNormalised(normalised);
    OnParamChange(index);
}

// --- Notifications --------------------------------------------------------------------------

void Vst2Plugin::BeginEdit(int index, bool takeLock) {
    ClosePendingWheelEdit(takeLock);
    CallHost(vst2::audioMasterBeginEdit, index);
}

void Vst2Plugin::InformHostOfChange(int index, double normalised) {
    CallHost(vst2::audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalised));
}

void Vst2Plugin::EndEdit(int index) { CallHost(vst2::audioMasterEndEdit, index); }

void Vst2Plugin::RequestDisplayUpdate() { CallHost(vst2::audioMasterUpdateDisplay); }

double Vst2Plugin::GetSamplePosition() {
    const auto* time =
        reinterpret_cast<const vst2::VstTimeInfo*>(CallHost(vst2::audioMasterGetTime, 0, 0));
    return time != nullptr ? FlooredAtZero(time->samplePos) : 0.0;
}

double Vst2Plugin::GetTempo() {
    const auto* time = reinterpret_cast<const vst2::VstTimeInfo*>(
        CallHost(vst2::audioMasterGetTime, 0, vst2::kVstTempoValid));
    return time != nullptr ? FlooredAtZero(time->tempo) : 0.0;
}

void Vst2Plugin::GetTimeSignature(int& numerator, int& denominator) {
    numerator = 0;
    denominator = 0;
    const auto* time = reinterpret_cast<const vst2::VstTimeInfo*>(
        CallHost(vst2::audioMasterGetTime, 0, vst2::kVstTimeSigValid));
    if (time != nullptr && time->timeSigNumerator >= 0 && time->timeSigDenominator >= 0) {
        numerator = time->timeSigNumerator;
        denominator = time->timeSigDenominator;
    }
}

void Vst2Plugin::UpdateOfflineFlag() {
    const intptr_t level = CallHost(vst2::audioMasterGetCurrentProcessLevel);
    SetHostStateFlag(host_state::kOffline, level == vst2::kProcessLevelOffline);
}

int Vst2Plugin::GetHost() {
    if (hostCode_ != host_code::kNotAsked) return hostCode_;
    char productString[256] = {};
    CallHost(vst2::audioMasterGetProductString, 0, 0, productString);
    int32_t version = 0;
    if (productString[0] != '\0') {
        version =
            PackHostVersion(static_cast<int32_t>(CallHost(vst2::audioMasterGetVendorVersion)));
    }
    hostCode_ = IdentifyHost(productString, sizeof productString);
    hostVersion_ = version;
    return hostCode_;
}

void Vst2Plugin::ResizeEditor(int width, int height) {
    if (Editor() == nullptr) return;
    if (width == editorRect_.right - editorRect_.left &&
        height == editorRect_.bottom - editorRect_.top) {
        return;
    }
    editorRect_.top = 0;
    editorRect_.left = 0;
    editorRect_.bottom = static_cast<int16_t>(height);
    editorRect_.right = static_cast<int16_t>(width);
    CallHost(vst2::audioMasterSizeWindow, width, height);
}

void Vst2Plugin::HostSpecificSetup() {
    const int code = GetHost();
    if (code == host_code::kForte || code == host_code::kAudition || code == host_code::kOrion ||
        code == host_code::kSawStudio) {
        // These hosts feed at most two channels of each kind.
        for (int i = 2; i < InputCount(); ++i) SetInputConnected(i, false);
        for (int i = 2; i < OutputCount(); ++i) SetOutputConnected(i, true);
    }
    record_.numInputs = InputCount();
    record_.numOutputs = OutputCount();
    SyncArrangementsToChannels();
}

void Vst2Plugin::AttachEditor(std::unique_ptr<PluginEditor> editor) {
    PluginBase::AttachEditor(std::move(editor));
    if (Editor() == nullptr) return;
    record_.flags |= vst2::effFlagsHasEditor;
    editorRect_.top = 0;
    editorRect_.left = 0;
    editorRect_.bottom = static_cast<int16_t>(Editor()->Height());
    editorRect_.right = static_cast<int16_t>(Editor()->Width());
}

void Vst2Plugin::SetLatency(int samples) {
    PluginBase::SetLatency(samples);
    record_.initialDelay = samples;
}

bool Vst2Plugin::SendMidiMessage(const MidiMessage& message) {
    vst2::VstMidiEvent event{};
    event.type = vst2::kVstMidiType;
    event.byteSize = static_cast<int32_t>(sizeof event);
    event.deltaFrames = message.deltaFrames;
    for (int i = 0; i < 4; ++i) event.midiData[i] = static_cast<char>(message.data[i]);
    vst2::VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<vst2::VstEvent*>(&event);
    return CallHost(vst2::audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool Vst2Plugin::SendSysEx(const SysExMessage& message) {
    vst2::VstMidiSysexEvent event{};
    event.type = vst2::kVstSysExType;
    event.byteSize = static_cast<int32_t>(sizeof event);
    event.deltaFrames = message.deltaFrames;
    event.dumpBytes = message.size;
    event.sysexDump = const_cast<char*>(message.bytes);  // the record's field is not const
    vst2::VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<vst2::VstEvent*>(&event);
    return CallHost(vst2::audioMasterProcessEvents, 0, 0, &events) == 1;
}

// --- Channels --------------------------------------------------------------------------------

void Vst2Plugin::SyncArrangementsToChannels() {
    inputArrangement_.numChannels = InputCount();
    inputArrangement_.type = ArrangementType(InputCount());
    outputArrangement_.numChannels = OutputCount();
    outputArrangement_.type = ArrangementType(OutputCount());
}

void Vst2Plugin::ApplySpeakerArrangement(const vst2::VstSpeakerArrangement* inputs,
                                         const vst2::VstSpeakerArrangement* outputs) {
    if (inputs != nullptr) {
        const int fed = std::clamp(inputs->numChannels, 0, InputCount());
        for (int i = 0; i < InputCount(); ++i) SetInputConnected(i, i < fed);
    }
    if (outputs != nullptr) {
        const int fed = std::clamp(outputs->numChannels, 0, OutputCount());
        for (int i = 0; i < OutputCount(); ++i) SetOutputConnected(i, i < fed);
    }
}

}  // namespace corvalen
