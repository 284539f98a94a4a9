// The product's part of the state chunks: after the parameter values, the custom data holds
// the path of the loaded measurement file, so a project reopens with its measurement.

#include "engine/correction_plugin.h"

#include <string>

#include "shell/byte_chunk.h"
#include "shell/state_chunk.h"

namespace corvalen {

// Instance lock held (or the constructor running) for all of these. The path is the file
// button's once the editor exists.

bool CorrectionPlugin::SerializeCustomPresetData(ByteChunk& chunk) {
    const std::string& path = measurementPath_;
    // A path longer than the chunk can carry is saved as no path: failing instead would make
    // effGetChunk answer 0 and the host would save none of the parameters either.
    if (path.size() > static_cast<std::size_t>(kMaxCustomDataLength)) {
        return WriteCustomData(std::string(), chunk);
    }
    return WriteCustomData(path, chunk);
}

int CorrectionPlugin::UnserializeCustomPresetData(const ByteChunk& chunk, int position) {
    return ReadCustomData(chunk, position, measurementPath_);
}

bool CorrectionPlugin::WriteSnapshot(ByteChunk& chunk) {
    return PluginBase::WriteSnapshot(chunk) && SerializeCustomPresetData(chunk);
}

int CorrectionPlugin::ReadSnapshot(const ByteChunk& chunk, int position) {
    position = PluginBase::ReadSnapshot(chunk, position);
    return position < 0 ? -1 : UnserializeCustomPresetData(chunk, position);
}

bool CorrectionPlugin::WriteFullState(ByteChunk& chunk) {
    return PluginBase::WriteFullState(chunk) && SerializeCustomPresetData(chunk);
}

int CorrectionPlugin::ReadFullState(const ByteChunk& chunk, int position) {
    position = PluginBase::ReadFullState(chunk, position);
    return position < 0 ? -1 : UnserializeCustomPresetData(chunk, position);
}

}  // namespace corvalen
