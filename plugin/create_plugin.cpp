// What the entry point constructs for each instance: the product with its editor.
#include "engine/correction_plugin.h"
#include "plugin/editor_assembly.h"
#include "shell/plugin_entry.h"

namespace corvalen {

// Host thread, under the process-wide creation lock.
Vst2Plugin* CreatePluginObject(vst2::HostCallback hostCallback) {
    auto* plugin = new CorrectionPlugin(hostCallback);
    AssembleEditor(*plugin);
    return plugin;
}

}  // namespace corvalen
