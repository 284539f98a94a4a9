#include "engine/correction_plugin.h"

#include "engine/parameter_table.h"
#include "shell/state_chunk.h"

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

CorrectionPlugin::CorrectionPlugin(vst2::HostCallback hostCallback)
    : Vst2Plugin(hostCallback, ProductIdentity()) {
    AppendParameters(params_);
    // Every chunk buffer is reserved once, for the longest chunk the plug-in writes (custom
    // data of the longest path, every preset named at full length), so saving a project never
    // allocates.
    const int snapshotSize = ParamBytes(params_, ParamSelection::SnapshotOnly) + kMaxCustomDataSize;
    SetStateChunkSize(snapshotSize);
    ReserveProgramChunk(kChunkHeaderSize + ParamBytes(params_, ParamSelection::All) +
                        kMaxCustomDataSize);
    ReserveBankChunk(kChunkHeaderSize + ParamBytes(params_, ParamSelection::ExcludedOnly) +
                     product::kPresetCount * (kPresetRecordOverhead + snapshotSize));
    // "Default" is made from the table's defaults and restored, which runs every parameter
    // through OnParamChange once; the other presets start as copies under numbered names.
    MakePresets("Default", 1);
    RestorePreset(0);
    MakePresets(nullptr, -1);
    // The plug-in keeps a response model of its own until the editor's graph takes its place.
    CreateResponseModel();
    // Room for any path a chunk can carry, so asking for a load from the audio thread (a host
    // automating "FR_file") does not allocate.
    requestedLoad_.path.reserve(kMaxCustomDataLength);
    PublishCounts();
}

// The editor goes before the product's own members: its controls are bound to them. A load
// still waiting is dropped first: it would write to controls that are going.
CorrectionPlugin::~CorrectionPlugin() {
    Lock()->SetDeferredWork(nullptr);
    DestroyEditor();
}

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
