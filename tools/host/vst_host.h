// A small VST2 host for tests and the demo. It opens a plug-in through its entry function
// (from a DLL loaded like a DAW does, or linked in natively), answers the host callback the
// way a DAW does and records every call the plug-in makes to it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "shell/vst2_abi.h"
#include "tools/host/plugin_library.h"

namespace corvalen::host {

// One call the plug-in made to the host callback.
struct HostCall {
    int32_t opcode = 0;
    int32_t index = 0;
    intptr_t value = 0;
    float opt = 0.0f;
};

class VstHost {
public:
    static constexpr int32_t kHostVstVersion = 2400;

    VstHost();
    ~VstHost();  // closes the effect and unloads its library
    VstHost(const VstHost&) = delete;
    VstHost& operator=(const VstHost&) = delete;

    // --- What the host tells the plug-in about itself (set before loading) ---------------------
    // The product string, copied into the plug-in's buffer; a text of 256 characters or more
    // fills the 256 bytes without a terminating zero.
    void SetProductString(const std::string& text) { productString_ = text; }
    void SetVendorVersion(int32_t version) { vendorVersion_ = version; }
    void SetProcessLevel(int32_t level) { processLevel_ = level; }
    vst2::VstTimeInfo& TimeInfo() { return timeInfo_; }
    // What the host does when the plug-in asks for a new editor size (audioMasterSizeWindow:
    // width, height in pixels); answers whether it resized. Without one it only agrees.
    void SetSizeWindowHandler(std::function<bool(int, int)> handler) {
        sizeWindowHandler_ = std::move(handler);
    }

    // --- Opening and closing ------------------------------------------------------------------
    // Loads the DLL at `path` and creates an instance; false with LastError() on failure.
    bool Load(const std::string& path);
    // Creates an instance through an entry function linked into this program.
    bool Open(PluginEntry entry);
    // effClose, then the library is unloaded. Safe to call twice.
    void Close();
    const std::string& LastError() const { return lastError_; }

    EffectRecord* Effect() const { return effect_; }

    // --- Calls into the plug-in ---------------------------------------------------------------
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // A dispatcher call whose answer is a text written into a buffer of `capacity` bytes.
    std::string DispatchText(int32_t opcode, int32_t index = 0, std::size_t capacity = 256);
    float GetParameter(int32_t index);
    void SetParameter(int32_t index, float value);
    void Process(float** inputs, float** outputs, int32_t frames);
    void ProcessReplacing(float** inputs, float** outputs, int32_t frames);
    void ProcessDoubleReplacing(double** inputs, double** outputs, int32_t frames);

    // --- What the plug-in asked of the host ---------------------------------------------------
    std::vector<HostCall> Calls() const;
    std::vector<HostCall> CallsOf(int32_t opcode) const;
    int CountCalls(int32_t opcode) const;
    void ClearCalls();

private:
    static intptr_t Callback(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t value,
                             void* ptr, float opt);
    intptr_t Answer(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                    float opt);

    std::unique_ptr<PluginLibrary> library_;
    EffectRecord* effect_ = nullptr;
    std::string productString_ = "Corvalen Test Host";
    int32_t vendorVersion_ = 1000;
    int32_t processLevel_ = 1;  // realtime
    vst2::VstTimeInfo timeInfo_{};
    std::string lastError_;
    mutable std::mutex callsMutex_;  // the plug-in may call back from any thread
    std::vector<HostCall> calls_;
    std::function<bool(int, int)> sizeWindowHandler_;
};

}  // namespace corvalen::host
