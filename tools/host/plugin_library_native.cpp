// Native build: plug-ins are linked in and opened through their entry function instead.
#include "tools/host/plugin_library.h"

namespace corvalen::host {

std::unique_ptr<PluginLibrary> OpenPluginLibrary(const std::string& path, std::string& error) {
    error = "loading a plug-in library is only supported on Windows: " + path;
    return nullptr;
}

}  // namespace corvalen::host
