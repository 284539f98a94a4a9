#pragma once
// Byte layouts of the plug-in's saved state: parameter values, the custom data that follows
// them, and the header of the program and bank chunks the host stores in its projects.
//
//   snapshot       values of the parameters not excluded from snapshots, then custom data
//   program chunk  header, values of all parameters, then custom data
//   bank chunk     header, values of the excluded parameters, then one record per preset:
//                  int32 n, n name bytes, flag byte, and a snapshot when the flag is 1
//
// Parameter values are written in index order; switches take one byte, continuous values an
// 8-byte double. All readers stop at the first failure and answer -1.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/preset.h"

namespace corvalen {

class ByteChunk;
class ParamSpec;

using ParamList = std::vector<std::unique_ptr<ParamSpec>>;

inline constexpr std::int32_t kChunkMagic = 0x70666674;    // the bytes "tffp"
inline constexpr std::int32_t kChunkVersion = 0x00010000;  // also the first with bank records
inline constexpr int kChunkHeaderSize = 8;
inline constexpr int kMaxCustomDataLength = 1024;  // the measurement path, in bytes
// The most custom data can take: its int32 length, then the bytes.
inline constexpr int kMaxCustomDataSize = 4 + kMaxCustomDataLength;
// The most a bank's preset record takes besides its snapshot: name length, name and flag.
inline constexpr int kPresetRecordOverhead = 4 + static_cast<int>(Preset::kMaxNameLength) + 1;

// Which parameters a pass covers.
enum class ParamSelection {
    All,           // program chunk: all 61
    SnapshotOnly,  // preset snapshot: those without the exclusion flag
    ExcludedOnly,  // bank chunk head: the ones the presets leave out
};

// Sum of the chunk sizes of the selected parameters.
int ParamBytes(const ParamList& params, ParamSelection selection);

// True when every selected value was written; stops at the first that does not fit.
bool WriteParams(const ParamList& params, ParamSelection selection, ByteChunk& chunk);

// Reads the selected values in order from `position`; answers the next position, or -1 at the
// first failure (values read before it stay applied).
int ReadParams(ParamList& params, ParamSelection selection, const ByteChunk& chunk, int position);

// Custom data: int32 N, then the N bytes of `path` without a terminator. Nothing is written,
// and the answer is false, when N exceeds kMaxCustomDataLength or the whole does not fit.
bool WriteCustomData(const std::string& path, ByteChunk& chunk);

// Reads custom data at `position`. Fails (-1, `path` unchanged) when N is negative, above
// kMaxCustomDataLength, or runs past the data. On success `path` becomes the bytes up to the
// first zero byte.
int ReadCustomData(const ByteChunk& chunk, int position, std::string& path);

// Writes the magic and then the version, each only when it fits.
void WriteChunkHeader(ByteChunk& chunk);

struct ChunkHeader {
    std::int32_t version;  // 0 without the magic
    int position;          // where the body starts: 8 with the magic, 0 without, -1 when damaged
};

// Examines the start of a chunk that holds a host's bytes.
ChunkHeader ReadChunkHeader(const ByteChunk& chunk);

}  // namespace corvalen
