#include "shell/plugin_base.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace corvalen {

PluginBase::PluginBase(const PluginIdentity& identity)
    : lock_(std::make_unique<InstanceLock>()),
      effectName_(identity.effectName != nullptr ? identity.effectName : ""),
      product_(identity.product != nullptr ? identity.product : ""),
      vendor_(identity.vendor != nullptr ? identity.vendor : ""),
      uniqueId_(identity.uniqueId),
      vendorVersion_(identity.vendorVersion) {
    lock_->SetDeferredWork(this);
    presets_.resize(static_cast<std::size_t>(identity.presetCount > 0 ? identity.presetCount : 0));
    for (std::size_t i = 0; i < presets_.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "- %d -", static_cast<int>(i + 1));
        presets_[i].name = name;
    }

    ChannelIoLayout layout = ParseChannelIo(identity.channelIo);
    channelIo_ = std::move(layout.configs);
    inputSlots_.assign(static_cast<std::size_t>(layout.maxInputs), nullptr);
    outputSlots_.assign(static_cast<std::size_t>(layout.maxOutputs), nullptr);
    inputs_.resize(inputSlots_.size());
    outputs_.resize(outputSlots_.size());
    for (std::size_t i = 0; i < inputs_.size(); ++i) inputs_[i].slot = &inputSlots_[i];
    for (std::size_t i = 0; i < outputs_.size(); ++i) outputs_[i].slot = &outputSlots_[i];
}

PluginBase::~PluginBase() {
    // The editor's controls refer to the parameters and the lock: it goes first.
    DestroyEditor();
}

ParamSpec* PluginBase::Param(int index) const {
    return IsValidParamIndex(index) ? params_[static_cast<std::size_t>(index)].get() : nullptr;
}

void PluginBase::AddParam(std::unique_ptr<ParamSpec> param) {
    if (param != nullptr) params_.push_back(std::move(param));
}

void PluginBase::ApplyEditorChange(int index, double normalised) {
    LockScope scope(lock_.get());
    ParamSpec* param = Param(index);
    if (param == nullptr) return;
    param->SetNormalised(normalised);
    InformHostOfChange(index, param->GetNormalised());
    OnParamChange(index);
}

void PluginBase::SetEditorScale(int /*shift*/) {
    if (editor_ != nullptr) editor_->SetScale(0);
}

void PluginBase::OnActivate(bool on) {
    if (!on) Reset();
}

bool PluginBase::GetNoteName(int /*key*/, char* buffer, int length) {
    if (buffer != nullptr && length > 0) buffer[0] = '\0';
    return false;
}

void PluginBase::OnAllParamsChanged() {
    for (int i = 0; i < ParamCount(); ++i) OnParamChange(i);
}

void PluginBase::AttachEditor(std::unique_ptr<PluginEditor> editor) {
    LockScope scope(lock_.get());
    if (editor != nullptr) {
        for (int i = 0; i < ParamCount(); ++i) {
            editor->SetControlsForParameter(i,
                                            params_[static_cast<std::size_t>(i)]->GetNormalised());
        }
    }
    editor_ = std::move(editor);
}

void PluginBase::SetBlockSize(int frames) {
    int size = std::clamp(frames, 0, kLargestScratchFrames);
    // A failed allocation leaves that channel without a buffer and every later one at 0.
    for (InputChannel& channel : inputs_) {
        if (!ResizeScratch(channel.scratch, size)) size = 0;
        if (!channel.connected)
            *channel.slot = channel.scratch.empty() ? nullptr : channel.scratch.data();
    }
    for (OutputChannel& channel : outputs_) {
        if (!ResizeScratch(channel.scratch, size)) size = 0;
        if (!channel.connected)
            *channel.slot = channel.scratch.empty() ? nullptr : channel.scratch.data();
    }
    scratchFrames_ = size;
    blockSize_ = size > 0 ? std::max(frames, 0) : 0;
}

bool PluginBase::SendMidiMessages(const MidiMessage* messages, int count) {
    bool allSent = true;
    for (int i = 0; messages != nullptr && i < count; ++i) {
        if (!SendMidiMessage(messages[i])) allSent = false;
    }
    return allSent;
}

void PluginBase::ClosePendingWheelEdit(bool takeLock) {
    LockScope scope(takeLock ? lock_.get() : nullptr);
    if (editor_ != nullptr) editor_->StopWheelGestureCountdown();
    if (pendingWheelEdit_ < 0) return;
    const int index = pendingWheelEdit_;
    pendingWheelEdit_ = -1;
    EndEdit(index);
}

bool PluginBase::IsInputConnected(int index) const {
    return index >= 0 && index < InputCount() && inputs_[static_cast<std::size_t>(index)].connected;
}

bool PluginBase::IsOutputConnected(int index) const {
    return index >= 0 && index < OutputCount() &&
           outputs_[static_cast<std::size_t>(index)].connected;
}

void PluginBase::SetInputConnected(int index, bool connected) {
    if (index < 0 || index >= InputCount()) return;
    InputChannel& channel = inputs_[static_cast<std::size_t>(index)];
    if (channel.connected && !connected) {
        // The scratch still holds the last block converted into it; an input the host stops
        // feeding must read silence, not that block over and over.
        std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
    }
    channel.connected = connected;
    if (!connected) *channel.slot = channel.scratch.empty() ? nullptr : channel.scratch.data();
}

void PluginBase::SetOutputConnected(int index, bool connected) {
    if (index < 0 || index >= OutputCount()) return;
    OutputChannel& channel = outputs_[static_cast<std::size_t>(index)];
    channel.connected = connected;
    if (!connected) *channel.slot = channel.scratch.empty() ? nullptr : channel.scratch.data();
}

void PluginBase::SetHostStateFlag(int32_t bit, bool on) {
    hostStateFlags_ = on ? (hostStateFlags_ | bit) : (hostStateFlags_ & ~bit);
}

}  // namespace corvalen
