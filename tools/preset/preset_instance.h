// A native instance of the real plug-in, made and driven the way a host does it, so the preset
// tool's chunks are the plug-in's own bytes: programs are set into its parameters and the chunk
// is asked for (effGetChunk); files are read by handing their chunk back (effSetChunk).
#pragma once

#include <cstdint>
#include <string>

#include "shell/vst2_abi.h"
#include "tools/preset/preset_file.h"
#include "tools/preset/preset_program.h"

namespace corvalen::preset {

class PresetPlugin;

class PresetInstance {
public:
    PresetInstance();  // constructed and opened; check IsOpen()
    ~PresetInstance();
    PresetInstance(const PresetInstance&) = delete;
    PresetInstance& operator=(const PresetInstance&) = delete;

    bool IsOpen() const { return plugin_ != nullptr; }

    // The plug-in's identity as its record shows it to a host.
    std::int32_t PluginId() const;
    std::int32_t PluginVersion() const;
    std::int32_t ProgramCount() const;
    std::int32_t ParameterCount() const;

    // Sets the live parameters (and measurement path) to the program. False, with the reason,
    // when the plug-in does not hold a value exactly as given.
    bool Apply(const PresetProgram& program, std::string& error);
    // The live program, band types as the equaliser filters them.
    PresetProgram Read() const;
    // The plug-in's own display text of a parameter, followed by its unit label.
    std::string DisplayText(int index) const;

    // Empty when the plug-in answers no chunk.
    Bytes ProgramChunk();
    Bytes BankChunk();
    // True when the plug-in accepted the chunk.
    bool LoadProgramChunk(const Bytes& chunk);
    bool LoadBankChunk(const Bytes& chunk);

    // Programs of the plug-in, counted from 0.
    void SelectProgram(int index);
    std::string ProgramName(int index) const;
    void NameCurrentProgram(const std::string& name);

private:
    intptr_t Dispatch(std::int32_t opcode, std::int32_t index = 0, intptr_t value = 0,
                      void* ptr = nullptr);
    Bytes Chunk(bool bank);
    bool LoadChunk(bool bank, const Bytes& chunk);

    EffectRecord* record_ = nullptr;
    PresetPlugin* plugin_ = nullptr;
};

}  // namespace corvalen::preset
