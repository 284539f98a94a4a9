#include "tools/host/vst_host.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace corvalen::host {
namespace {

// Which host answers for which effect. While an entry function runs, the effect is not known
// yet: calls then go to the host that is opening.
std::mutex registryMutex;
std::map<EffectRecord*, VstHost*> hostsByEffect;
thread_local VstHost* openingHost = nullptr;

constexpr std::size_t kProductStringBytes = 256;

}  // namespace

VstHost::VstHost() {
    timeInfo_.sampleRate = 48000.0;
    timeInfo_.tempo = 120.0;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    timeInfo_.flags = vst2::kVstTempoValid | vst2::kVstTimeSigValid;
}

VstHost::~VstHost() { Close(); }

bool VstHost::Load(const std::string& path) {
    Close();
    library_ = OpenPluginLibrary(path, lastError_);
    if (library_ == nullptr) return false;
    return Open(library_->Entry());
}

bool VstHost::Open(PluginEntry entry) {
    if (entry == nullptr) {
        lastError_ = "no entry function";
        return false;
    }
    openingHost = this;
    EffectRecord* effect = entry(&VstHost::Callback);
    openingHost = nullptr;
    if (effect == nullptr || effect->magic != vst2::kEffectMagic) {
        lastError_ = "the entry function returned no effect";
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        hostsByEffect[effect] = this;
    }
    effect_ = effect;
    return true;
}

void VstHost::Close() {
    if (effect_ != nullptr) {
        effect_->dispatcher(effect_, vst2::effClose, 0, 0, nullptr, 0.0f);
        std::lock_guard<std::mutex> lock(registryMutex);
        hostsByEffect.erase(effect_);
        effect_ = nullptr;
    }
    library_.reset();
}

intptr_t VstHost::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (effect_ == nullptr) return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string VstHost::DispatchText(int32_t opcode, int32_t index, std::size_t capacity) {
    std::vector<char> buffer(capacity + 1, '\0');
    Dispatch(opcode, index, 0, buffer.data());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

float VstHost::GetParameter(int32_t index) {
    return effect_ != nullptr ? effect_->getParameter(effect_, index) : 0.0f;
}

void VstHost::SetParameter(int32_t index, float value) {
    if (effect_ != nullptr) effect_->setParameter(effect_, index, value);
}

void VstHost::Process(float** inputs, float** outputs, int32_t frames) {
    if (effect_ != nullptr) effect_->process(effect_, inputs, outputs, frames);
}

void VstHost::ProcessReplacing(float** inputs, float** outputs, int32_t frames) {
    if (effect_ != nullptr) effect_->processReplacing(effect_, inputs, outputs, frames);
}

void VstHost::ProcessDoubleReplacing(double** inputs, double** outputs, int32_t frames) {
    if (effect_ != nullptr) effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
}

std::vector<HostCall> VstHost::Calls() const {
    std::lock_guard<std::mutex> lock(callsMutex_);
    return calls_;
}

std::vector<HostCall> VstHost::CallsOf(int32_t opcode) const {
    std::lock_guard<std::mutex> lock(callsMutex_);
    std::vector<HostCall> matching;
    for (const HostCall& call : calls_) {
        if (call.opcode == opcode) matching.push_back(call);
    }
    return matching;
}

int VstHost::CountCalls(int32_t opcode) const { return static_cast<int>(CallsOf(opcode).size()); }

void VstHost::ClearCalls() {
    std::lock_guard<std::mutex> lock(callsMutex_);
    calls_.clear();
}

intptr_t VstHost::Callback(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float opt) {
    VstHost* host = openingHost;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        const auto found = hostsByEffect.find(effect);
        if (found != hostsByEffect.end()) host = found->second;
    }
    if (host == nullptr) {
        // Asked before any host is known (or after close): answer only the version.
        return opcode == vst2::audioMasterVersion ? kHostVstVersion : 0;
    }
    return host->Answer(effect, opcode, index, value, ptr, opt);
}

intptr_t VstHost::Answer(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t value,
                         void* ptr, float opt) {
    {
        std::lock_guard<std::mutex> lock(callsMutex_);
        calls_.push_back(HostCall{opcode, index, value, opt});
    }
    switch (opcode) {
        case vst2::audioMasterVersion: return kHostVstVersion;
        case vst2::audioMasterCurrentId: return effect != nullptr ? effect->uniqueID : 0;
        case vst2::audioMasterGetTime: return reinterpret_cast<intptr_t>(&timeInfo_);
        case vst2::audioMasterGetSampleRate: return static_cast<intptr_t>(timeInfo_.sampleRate);
        case vst2::audioMasterGetCurrentProcessLevel: return processLevel_;
        case vst2::audioMasterGetVendorString:
            if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), "Corvalen");
            return ptr != nullptr ? 1 : 0;
        case vst2::audioMasterGetProductString:
            if (ptr == nullptr) return 0;
            // Copied with its terminating zero when that fits in the 256 bytes.
            std::memcpy(ptr, productString_.c_str(),
                        std::min(productString_.size() + 1, kProductStringBytes));
            return 1;
        case vst2::audioMasterGetVendorVersion: return vendorVersion_;
        case vst2::audioMasterSizeWindow:
            if (sizeWindowHandler_)
                return sizeWindowHandler_(index, static_cast<int>(value)) ? 1 : 0;
            return 1;
        case vst2::audioMasterBeginEdit:
        case vst2::audioMasterEndEdit:
        case vst2::audioMasterUpdateDisplay:
        case vst2::audioMasterIOChanged: return 1;
        default: return 0;  // automate, idle, unknown requests
    }
}

}  // namespace corvalen::host
