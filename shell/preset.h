#pragma once
// One of the sixteen program slots owned by PluginBase. The snapshot holds the values of the
// parameters that are not excluded from snapshots, followed by the plug-in's custom data,
// in the same encoding as the state chunks.

#include <cstddef>
#include <string>

#include "shell/byte_chunk.h"

namespace corvalen {

struct Preset {
    // A rename keeps at most this many characters of the new name.
    static constexpr std::size_t kMaxNameLength = 256;

    bool initialised = false;
    std::string name;
    ByteChunk snapshot;  // S = the state chunk size once initialised
};

}  // namespace corvalen
