#include "engine/correction_plugin.h"

#include "engine/parameter_table.h"
#include "shell/plugin_entry.h"

namespace corvalen {
namespace {

PluginIdentity ProductIdentity() {
  PluginIdentity identity;
  identity.effectName = product::kEffectName;
  identity.vendor = product::kVendor;
  identity.product = product::kProduct;
  identity.uniqueId = product::kUniqueId;
  identity.vendorVersion = product::kVendorVersion;
  identity.channelIo = product::kChannelIo;
  identity.presetCount = product::kPresetCount;
  return identity;
}

}  // namespace

Vst2Plugin* CreatePluginObject(vst2::HostCallback hostCallback) {
  return new CorrectionPlugin(hostCallback);
}

// Steps 1 and 2 (the core and the VST2 layer) are the base constructors.
CorrectionPlugin::CorrectionPlugin(vst2::HostCallback hostCallback)
    : Vst2Plugin(hostCallback, ProductIdentity()) {
  // 4. The parameters, in host index order.
  AppendParameters(params_);
  PublishCounts();
}

CorrectionPlugin::~CorrectionPlugin() = default;

bool CorrectionPlugin::IsReadyToProcess() const {
  constexpr int32_t kReady = host_state::kSampleRateSet | host_state::kBlockSizeSet;
  return (HostStateFlags() & kReady) == kReady;
}

void CorrectionPlugin::ProcessBlock(double** inputs, double** outputs, int32_t frames) {
  if (!IsReadyToProcess()) {
    PassThrough(inputs, outputs, frames);
    return;
  }
  ProcessEqualiser(inputs, outputs, frames);
}

// Stands in for the equaliser's audio path until the engine's processing defines it.
void CorrectionPlugin::ProcessEqualiser(double** inputs, double** outputs, int32_t frames) {
  PassThrough(inputs, outputs, frames);
}

}  // namespace corvalen
