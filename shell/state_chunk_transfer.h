#pragma once
// effGetChunk and effSetChunk: the plug-in's state handed to the host as a program chunk
// (the live state) or a bank chunk (every preset), and read back from it. The buffer is the
// VST2 layer's program-chunk or bank-chunk buffer, reused for every call of its kind.

#include <cstdint>

namespace corvalen {

class ByteChunk;
class PluginBase;

// Host thread, instance lock held. Serialises the state into `buffer` and stores its address
// at *data; answers the length in bytes, or 0 on failure (data null, nothing fits).
std::int32_t GetStateChunk(PluginBase& plugin, ByteChunk& buffer, bool isBank, void** data);

// Host thread, instance lock held. Copies the host's `length` bytes into `buffer` and applies
// them: a bank chunk to the presets and then the current preset, anything else to the live
// parameters and the current preset. True when every field was read; values read before a
// failure stay applied.
bool SetStateChunk(PluginBase& plugin, ByteChunk& buffer, bool isBank, const void* bytes,
                   std::int64_t length);

}  // namespace corvalen
