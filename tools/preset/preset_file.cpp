#include "tools/preset/preset_file.h"

#include <cstddef>

namespace corvalen::preset {

namespace {

constexpr char kChunkMagic[] = "CcnK";
constexpr char kProgramMagic[] = "FPCh";
constexpr char kBankMagic[] = "FBCh";
constexpr std::int32_t kFormatVersion = 1;
// A later revision of the bank format (the current program in the reserved bytes) is laid out
// the same way; files of it are read too.
constexpr std::int32_t kNewestReadableVersion = 2;
constexpr std::size_t kNameFieldBytes = 28;
constexpr std::size_t kReservedBytes = 128;
// Magic and size, then the five integers from the kind's magic to the parameter or program
// count.
constexpr std::size_t kFixedStart = 8 + 5 * 4;

void PutMagic(Bytes& out, const char* magic) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(magic[i]));
}

void PutInt(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

std::uint32_t GetInt(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | bytes[at + i];
    return value;
}

bool IsMagic(const Bytes& bytes, std::size_t at, const char* magic) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (bytes[at + i] != static_cast<std::uint8_t>(magic[i])) return false;
    }
    return true;
}

PresetFileReading Refuse(const std::string& why) {
    PresetFileReading reading;
    reading.error = why;
    return reading;
}

}  // namespace

std::string CutName(const std::string& name, std::size_t limit) {
    if (name.size() <= limit) return name;
    std::size_t end = limit;
    // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

Bytes WritePresetFile(const PresetFile& file) {
    const bool bank = file.kind == PresetFileKind::Bank;
    const std::size_t middle = bank ? kReservedBytes : kNameFieldBytes;
    Bytes out;
    out.reserve(kFixedStart + middle + 4 + file.chunk.size());
    PutMagic(out, kChunkMagic);
    PutInt(out, static_cast<std::uint32_t>(kFixedStart - 8 + middle + 4 + file.chunk.size()));
    PutMagic(out, bank ? kBankMagic : kProgramMagic);
    PutInt(out, static_cast<std::uint32_t>(kFormatVersion));
    PutInt(out, static_cast<std::uint32_t>(file.pluginId));
    PutInt(out, static_cast<std::uint32_t>(file.pluginVersion));
    PutInt(out, static_cast<std::uint32_t>(bank ? file.programCount : file.parameterCount));
    const std::size_t nameStart = out.size();
    out.resize(nameStart + middle, 0);
    if (!bank) {
        const std::string name = file.name.substr(0, kProgramNameBytes);
        for (std::size_t i = 0; i < name.size(); ++i)
            out[nameStart + i] = static_cast<std::uint8_t>(name[i]);
    }
    PutInt(out, static_cast<std::uint32_t>(file.chunk.size()));
    out.insert(out.end(), file.chunk.begin(), file.chunk.end());
    return out;
}

PresetFileReading ReadPresetFile(const Bytes& bytes) {
    if (bytes.size() < kFixedStart || !IsMagic(bytes, 0, kChunkMagic)) {
        return Refuse("not a VST2 preset file (no CcnK header)");
    }
    const std::uint32_t restSize = GetInt(bytes, 4);
    if (restSize != bytes.size() - 8) {
        return Refuse("the header gives " + std::to_string(restSize) +
                      " bytes after it, the file has " + std::to_string(bytes.size() - 8));
    }
    PresetFile file;
    if (IsMagic(bytes, 8, kProgramMagic)) {
        file.kind = PresetFileKind::Program;
    } else if (IsMagic(bytes, 8, kBankMagic)) {
        file.kind = PresetFileKind::Bank;
    } else if (IsMagic(bytes, 8, "FxCk") || IsMagic(bytes, 8, "FxBk")) {
        return Refuse("the file holds parameter lists, not the plug-in's chunk");
    } else {
        return Refuse("unknown preset file kind");
    }
    const std::int32_t version = static_cast<std::int32_t>(GetInt(bytes, 12));
    if (version < kFormatVersion || version > kNewestReadableVersion) {
        return Refuse("preset file format version " + std::to_string(version) + " is not known");
    }
    file.pluginId = static_cast<std::int32_t>(GetInt(bytes, 16));
    file.pluginVersion = static_cast<std::int32_t>(GetInt(bytes, 20));
    const std::int32_t count = static_cast<std::int32_t>(GetInt(bytes, 24));
    (file.kind == PresetFileKind::Bank ? file.programCount : file.parameterCount) = count;

    const std::size_t middle = file.kind == PresetFileKind::Bank ? kReservedBytes : kNameFieldBytes;
    const std::size_t sizeAt = kFixedStart + middle;
    if (bytes.size() < sizeAt + 4) return Refuse("the file ends inside its header");
    if (file.kind == PresetFileKind::Program) {
        std::size_t length = 0;
        while (length < kNameFieldBytes && bytes[kFixedStart + length] != 0) ++length;
        file.name.assign(reinterpret_cast<const char*>(bytes.data() + kFixedStart), length);
    }
    const std::uint32_t chunkSize = GetInt(bytes, sizeAt);
    const std::size_t chunkStart = sizeAt + 4;
    if (chunkSize != bytes.size() - chunkStart) {
        return Refuse("the header gives a chunk of " + std::to_string(chunkSize) +
                      " bytes, the file has " + std::to_string(bytes.size() - chunkStart));
    }
    file.chunk.assign(bytes.begin() + static_cast<std::ptrdiff_t>(chunkStart), bytes.end());
    PresetFileReading reading;
    reading.ok = true;
    reading.file = std::move(file);
    return reading;
}

}  // namespace corvalen::preset
