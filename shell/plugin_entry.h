// Creating an instance for the host: the portable body of the exported entry point.
#pragma once

#include "shell/vst2_abi.h"

namespace corvalen {

class Vst2Plugin;

// Constructs the product's plug-in object (defined by the product, not the shell).
Vst2Plugin* CreatePluginObject(vst2::HostCallback hostCallback);

using PluginFactory = Vst2Plugin* (*)(vst2::HostCallback hostCallback);

// Host thread. Under the process-wide creation lock: constructs the object with `factory`,
// makes sure it has at least one preset and publishes its counts in the record. Answers the
// record, or null when construction failed.
EffectRecord* CreateEffect(vst2::HostCallback hostCallback, PluginFactory factory) noexcept;

}  // namespace corvalen
