// The standard VST2 preset files around a plug-in's chunk: a program file (.fxp) or a bank file
// (.fxb). Header integers are big-endian, unlike the chunk inside, which is the plug-in's own.
//
//   "CcnK", byte size of the rest, "FPCh" | "FBCh", format version 1, plug-in id,
//   plug-in version, parameter count | program count, 28-byte zero-padded name |
//   128 reserved bytes,
//   chunk size, chunk
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvalen::preset {

using Bytes = std::vector<std::uint8_t>;

enum class PresetFileKind { Program, Bank };

struct PresetFile {
    PresetFileKind kind = PresetFileKind::Program;
    std::int32_t pluginId = 0;
    std::int32_t pluginVersion = 0;
    // The header's count field: numParams in a program file, numPrograms in a bank file. The
    // reader fills the one of the file's kind and reads any value there.
    std::int32_t parameterCount = 0;  // program files
    std::int32_t programCount = 0;    // bank files
    std::string name;                 // program files only; at most kProgramNameBytes bytes
    Bytes chunk;
};

// The name field holds 28 bytes; the last stays zero, as hosts expect a terminated text.
inline constexpr std::size_t kProgramNameBytes = 27;

// The file's bytes; the name is cut to kProgramNameBytes (the caller warns and cuts at a
// character boundary first, see CutName).
Bytes WritePresetFile(const PresetFile& file);

struct PresetFileReading {
    bool ok = false;
    std::string error;
    PresetFile file;
};

// Checks every size against the bytes really there before trusting it.
PresetFileReading ReadPresetFile(const Bytes& bytes);

// `name` cut to at most `limit` bytes without splitting a UTF-8 character.
std::string CutName(const std::string& name, std::size_t limit);

}  // namespace corvalen::preset
