#include "shell/state_chunk.h"

#include <cstring>

#include "shell/byte_chunk.h"
#include "shell/parameter.h"

namespace corvalen {

namespace {

bool IsSelected(const ParamSpec& param, ParamSelection selection) {
    switch (selection) {
        case ParamSelection::All: return true;
        case ParamSelection::SnapshotOnly: return !param.IsExcludedFromSnapshot();
        case ParamSelection::ExcludedOnly: return param.IsExcludedFromSnapshot();
    }
    return false;
}

}  // namespace

int ParamBytes(const ParamList& params, ParamSelection selection) {
    int total = 0;
    for (const auto& param : params) {
        if (IsSelected(*param, selection)) {
            total += param->ChunkSize();
        }
    }
    return total;
}

bool WriteParams(const ParamList& params, ParamSelection selection, ByteChunk& chunk) {
    for (const auto& param : params) {
        if (IsSelected(*param, selection) && !param->AppendToChunk(chunk)) {
            return false;
        }
    }
    return true;
}

int ReadParams(ParamList& params, ParamSelection selection, const ByteChunk& chunk, int position) {
    for (auto& param : params) {
        if (position < 0) {
            break;
        }
        if (IsSelected(*param, selection)) {
            position = param->ReadFromChunk(chunk, position);
        }
    }
    return position;
}

bool WriteCustomData(const std::string& path, ByteChunk& chunk) {
    const std::size_t length = path.size();
    if (length > static_cast<std::size_t>(kMaxCustomDataLength)) {
        return false;
    }
    const int count = static_cast<int>(length);
    // Both parts or nothing: a length without its bytes would misalign every later read.
    if (chunk.Size() - chunk.Length() < 4 + count) {
        return false;
    }
    return chunk.AppendInt32(count) && chunk.Append(path.data(), count);
}

int ReadCustomData(const ByteChunk& chunk, int position, std::string& path) {
    std::int32_t count = 0;
    const int bytesAt = chunk.ReadInt32(count, position);
    if (bytesAt < 0 || count < 0 || count > kMaxCustomDataLength) {
        return -1;
    }
    char bytes[kMaxCustomDataLength + 1];
    const int next = chunk.Read(bytes, count, bytesAt);
    if (next < 0) {
        return -1;
    }
    bytes[count] = '\0';
    path.assign(bytes, std::strlen(bytes));
    return next;
}

void WriteChunkHeader(ByteChunk& chunk) {
    if (chunk.AppendInt32(kChunkMagic)) {
        chunk.AppendInt32(kChunkVersion);
    }
}

ChunkHeader ReadChunkHeader(const ByteChunk& chunk) {
    std::int32_t magic = 0;
    if (chunk.ReadInt32(magic, 0) < 0 || magic != kChunkMagic) {
        // Without the magic the bytes are raw parameter values from the start.
        return {0, 0};
    }
    std::int32_t version = 0;
    if (chunk.ReadInt32(version, 4) < 0) {
        return {0, -1};
    }
    return {version, kChunkHeaderSize};
}

}  // namespace corvalen
