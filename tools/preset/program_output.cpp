#include "tools/preset/program_output.h"

#include "tools/preset/commands.h"
#include "tools/preset/preset_file.h"
#include "tools/preset/tool_files.h"

namespace corvalen::preset {

namespace {

// Puts the programs into the new instance and takes its chunk; then hands the chunk to a second
// instance and reads the programs back, so a preset that would not load as made is never
// written.
bool MakeChunk(const std::vector<NamedProgram>& programs, bool bank, Bytes& chunk,
               PresetInstance& maker, std::FILE* errors) {
    std::string error;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (bank) maker.SelectProgram(static_cast<int>(i));
        if (!maker.Apply(programs[i].program, error)) {
            ReportError(errors, programs[i].name + ": " + error + "; nothing written");
            return false;
        }
        maker.NameCurrentProgram(programs[i].name);
    }
    chunk = bank ? maker.BankChunk() : maker.ProgramChunk();

    PresetInstance check;
    bool same = bank ? check.LoadBankChunk(chunk) : check.LoadProgramChunk(chunk);
    for (std::size_t i = 0; same && i < programs.size(); ++i) {
        if (bank) {
            check.SelectProgram(static_cast<int>(i));
            same = check.ProgramName(static_cast<int>(i)) == programs[i].name;
        }
        same = same && check.Read() == programs[i].program;
    }
    if (!same)
        ReportError(errors, "the plug-in does not read its chunk back as made; nothing written");
    return same;
}

}  // namespace

// A name cut to what the file or the plug-in keeps, with a warning when that loses something.
std::string FittedName(const std::string& name, std::size_t limit, std::FILE* errors) {
    const std::string fitted = CutName(name, limit);
    if (fitted != name) {
        ReportWarning(errors, "the name \"" + name + "\" is cut to \"" + fitted + "\" (" +
                                  std::to_string(limit) + " bytes at most)");
    }
    return fitted;
}

bool WritePrograms(const std::vector<NamedProgram>& programs, bool bank, const std::string& output,
                   PresetInstance& maker, std::FILE* errors) {
    Bytes chunk;
    if (!MakeChunk(programs, bank, chunk, maker, errors)) return false;
    PresetFile file;
    file.kind = bank ? PresetFileKind::Bank : PresetFileKind::Program;
    file.pluginId = maker.PluginId();
    file.pluginVersion = maker.PluginVersion();
    // The format's count field: a program file announces the plug-in's parameters, a bank its
    // programs.
    file.parameterCount = maker.ParameterCount();
    file.programCount = maker.ProgramCount();
    file.name = bank ? std::string() : programs[0].name;
    file.chunk = chunk;
    std::string error;
    if (!WriteWholeFile(output, WritePresetFile(file), error)) {
        ReportError(errors, output + ": " + error);
        return false;
    }
    return true;
}

}  // namespace corvalen::preset
