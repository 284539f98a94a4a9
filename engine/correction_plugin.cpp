#include "engine/correction_plugin.h"

#include "engine/parameter_table.h"

namespace corvalen {
namespace {

constexpr int kStateChunkSize = 1365;
constexpr int kProgramChunkSize = 1377;
constexpr int kBankChunkSize = 16 * (1365 + 261) + 12;

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

// Steps 1 and 2 (the core and the VST2 layer) are the base constructors.
CorrectionPlugin::CorrectionPlugin(vst2::HostCallback hostCallback)
    : Vst2Plugin(hostCallback, ProductIdentity()) {
  // 4. The parameters, in host index order.
  AppendParameters(params_);
  // 5. Snapshots hold 337 bytes of parameters and up to 4 + 1024 bytes of custom data; the
  //    chunk buffers are reserved once for the largest program and bank chunk.
  SetStateChunkSize(kStateChunkSize);
  ReserveProgramChunk(kProgramChunkSize);
  ReserveBankChunk(kBankChunkSize);
  // 6.-8. "Default" from the defaults, restored (a full parameter pass), then the other
  //    presets from the same state under their numbered names.
  MakePresets("Default", 1);
  RestorePreset(0);
  MakePresets(nullptr, -1);
  // 9. The response model, created where the editor's controls will be built.
  CreateResponseModel();
  PublishCounts();
}

// The editor goes before the product's own members: its controls are bound to them.
CorrectionPlugin::~CorrectionPlugin() { DestroyEditor(); }

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

}  // namespace corvalen
