#include "shell/state_chunk_transfer.h"

#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "shell/byte_chunk.h"
#include "shell/plugin_base.h"
#include "shell/state_chunk.h"

namespace corvalen {

namespace {

// An empty buffer is sized for the most the plug-in can write: a bank also holds the
// parameters the presets leave out.
bool ReserveIfEmpty(PluginBase& plugin, ByteChunk& buffer, bool isBank) {
    if (buffer.Size() != 0) {
        return true;
    }
    const std::int64_t size =
        isBank ? static_cast<std::int64_t>(plugin.Presets().size()) *
                         (plugin.StateChunkSize() + kPresetRecordOverhead) +
                     kChunkHeaderSize + ParamBytes(plugin.Params(), ParamSelection::ExcludedOnly)
               : static_cast<std::int64_t>(ParamBytes(plugin.Params(), ParamSelection::All)) +
                     kChunkHeaderSize;
    if (size > std::numeric_limits<int>::max()) {
        return false;
    }
    return isBank ? plugin.ReserveBankChunk(static_cast<int>(size))
                  : plugin.ReserveProgramChunk(static_cast<int>(size));
}

}  // namespace

std::int32_t GetStateChunk(PluginBase& plugin, ByteChunk& buffer, bool isBank, void** data) {
    if (data == nullptr || !ReserveIfEmpty(plugin, buffer, isBank)) {
        return 0;
    }
    buffer.Clear();
    WriteChunkHeader(buffer);
    bool written = false;
    if (isBank) {
        plugin.StoreCurrentPreset(nullptr);
        written = plugin.WriteBankBody(buffer);
    } else {
        written = plugin.WriteFullState(buffer);
    }
    if (!written || buffer.Length() == 0) {
        return 0;
    }
    *data = buffer.Data();
    return buffer.Length();
}

bool SetStateChunk(PluginBase& plugin, ByteChunk& buffer, bool isBank, const void* bytes,
                   std::int64_t length) {
    if (bytes == nullptr || length < 0 || length > std::numeric_limits<int>::max()) {
        return false;
    }
    const int hostLength = static_cast<int>(length);
    // Some hosts hand back the very buffer effGetChunk gave them; growing would free it under
    // their bytes, so such a chunk is first copied out.
    std::vector<unsigned char> ownCopy;
    const auto* hostBytes = static_cast<const unsigned char*>(bytes);
    if (buffer.Size() > 0 && !std::less<const unsigned char*>()(hostBytes, buffer.Data()) &&
        std::less<const unsigned char*>()(hostBytes, buffer.Data() + buffer.Size())) {
        // Our buffer ends where it ends: a length running past it names bytes we never owned.
        if (hostLength > buffer.Data() + buffer.Size() - hostBytes) {
            return false;
        }
        ownCopy.assign(hostBytes, hostBytes + hostLength);
        hostBytes = ownCopy.data();
    }
    if (buffer.Length() != hostLength) {
        // An empty buffer starts with room to spare so that slightly longer chunks later do not
        // each grow it again.
        const int target =
            buffer.Size() == 0 ? (hostLength > 3999 ? hostLength : 3999) : hostLength;
        if (target > buffer.Size()) {
            buffer.Resize(target);
        }
        buffer.SetLength(hostLength < buffer.Size() ? hostLength : buffer.Size());
        if (buffer.Length() != hostLength) {
            return false;
        }
    }
    if (hostLength > 0) {
        std::memmove(buffer.Data(), hostBytes, static_cast<std::size_t>(hostLength));
    }

    const ChunkHeader header = ReadChunkHeader(buffer);
    int position = header.position;
    if (isBank && header.version >= kChunkVersion) {
        position = plugin.ReadBankBody(buffer, position);
        plugin.RestorePreset(-1);
    } else {
        // A bank request without the header (or an older one) holds a program state.
        position = plugin.ReadFullState(buffer, position);
        plugin.OnAllParamsChanged();
        plugin.StoreCurrentPreset(nullptr);
    }
    if (position < 0) {
        return false;
    }
    plugin.PushParamsToEditor();
    return true;
}

}  // namespace corvalen
