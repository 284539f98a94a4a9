// Loading a plug-in library and finding its entry point, as a DAW does. The Windows build
// uses LoadLibrary (tools/host/win); the native build has no plug-in libraries to load.
#pragma once

#include <memory>
#include <string>

#include "shell/vst2_abi.h"

namespace corvalen::host {

using PluginEntry = EffectRecord* (*)(vst2::HostCallback hostCallback);

class PluginLibrary {
public:
    virtual ~PluginLibrary() = default;
    virtual PluginEntry Entry() const = 0;
};

// Loads the library at `path` (a Windows path, or a Unix path under Wine) and finds
// VSTPluginMain. Null with a reason in `error` when either fails.
std::unique_ptr<PluginLibrary> OpenPluginLibrary(const std::string& path, std::string& error);

// A Unix path becomes the Windows path Wine maps it to (Z: drive, backslashes); other paths
// are kept, with forward slashes turned into backslashes.
std::string ToWindowsPath(const std::string& path);

}  // namespace corvalen::host
