// The library's only export. A host loads the DLL, finds this function and calls it once per
// instance with its callback.
#include "shell/plugin_entry.h"

extern "C" __declspec(dllexport) corvalen::EffectRecord* VSTPluginMain(
    corvalen::vst2::HostCallback hostCallback) noexcept;

// Host thread (usually the UI thread).
extern "C" __declspec(dllexport) corvalen::EffectRecord* VSTPluginMain(
    corvalen::vst2::HostCallback hostCallback) noexcept {
    return corvalen::CreateEffect(hostCallback, &corvalen::CreatePluginObject);
}
