// export and show: a program or bank file handed to the plug-in as a DAW loads it, then read
// back from the plug-in's parameters.
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/parameter_table.h"
#include "tools/preset/band_layout.h"
#include "tools/preset/commands.h"
#include "tools/preset/parametric_writer.h"
#include "tools/preset/preset_instance.h"
#include "tools/preset/preset_tool.h"
#include "tools/preset/tool_files.h"

namespace corvalen::preset {

namespace {

struct LoadedProgram {
    std::string name;
    bool fromBank = false;
    int number = 1;  // 1-based
};

std::string IdText(std::int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

bool LoadPreset(const ReadRequest& request, PresetInstance& instance, LoadedProgram& loaded,
                std::FILE* errors) {
    Bytes bytes;
    std::string error;
    if (!ReadWholeFile(request.file, bytes, error)) {
        ReportError(errors, request.file + ": " + error);
        return false;
    }
    const PresetFileReading reading = ReadPresetFile(bytes);
    if (!reading.ok) {
        ReportError(errors, request.file + ": " + reading.error);
        return false;
    }
    const PresetFile& file = reading.file;
    if (!instance.IsOpen()) {
        ReportError(errors, "the plug-in could not be created");
        return false;
    }
    if (file.pluginId != instance.PluginId()) {
        ReportError(errors, request.file + ": a preset of another plug-in (id '" +
                                IdText(file.pluginId) + "', this one is '" +
                                IdText(instance.PluginId()) + "')");
        return false;
    }
    loaded.fromBank = file.kind == PresetFileKind::Bank;
    if (!loaded.fromBank) {
        if (request.program > 1) {
            ReportError(errors, request.file + ": a program file holds one program");
            return false;
        }
        if (!instance.LoadProgramChunk(file.chunk)) {
            ReportError(errors, request.file + ": the plug-in refused the program's chunk");
            return false;
        }
        loaded.name = file.name;
        return true;
    }
    if (request.program > instance.ProgramCount()) {
        ReportError(errors, request.file + ": the bank has programs 1 to " +
                                std::to_string(instance.ProgramCount()));
        return false;
    }
    if (!instance.LoadBankChunk(file.chunk)) {
        ReportError(errors, request.file + ": the plug-in refused the bank's chunk");
        return false;
    }
    loaded.number = request.program > 0 ? request.program : 1;
    instance.SelectProgram(loaded.number - 1);
    loaded.name = instance.ProgramName(loaded.number - 1);
    return true;
}

}  // namespace

int RunExport(const ReadRequest& request, std::FILE* out, std::FILE* errors) {
    PresetInstance instance;
    LoadedProgram loaded;
    if (!LoadPreset(request, instance, loaded, errors)) return kFailed;
    const PresetProgram program = instance.Read();

    std::vector<std::string> comments;
    comments.push_back("Corvalen program \"" + loaded.name + "\"" +
                       (loaded.fromBank
                            ? ", program " + std::to_string(loaded.number) + " of a bank"
                            : std::string()));
    if (!program.measurementPath.empty())
        comments.push_back("measurement: " + program.measurementPath);
    if (program.equaliserBypassed) {
        comments.push_back(
            "the program has the equaliser bypassed; these are the filters it holds");
    }
    const std::string text = WriteParametricText(DescribeProgram(program), comments);
    std::fputs(text.c_str(), out);
    return kSucceeded;
}

int RunShow(const ReadRequest& request, std::FILE* out, std::FILE* errors) {
    PresetInstance instance;
    LoadedProgram loaded;
    if (!LoadPreset(request, instance, loaded, errors)) return kFailed;
    const PresetProgram program = instance.Read();

    if (loaded.fromBank) {
        std::fprintf(out, "Bank program  %d of %d\n", loaded.number, instance.ProgramCount());
    }
    std::fprintf(out, "Program       %s\n", loaded.name.c_str());
    std::fprintf(out, "Measurement   %s\n",
                 program.measurementPath.empty() ? "(none)" : program.measurementPath.c_str());
    std::fprintf(out, "Output level  %s\n", instance.DisplayText(param::kOut).c_str());
    std::fprintf(out, "Reference     %s dB\n",
                 instance.DisplayText(param::kTargetResponses).c_str());
    std::fprintf(out, "EQ bypass     %s\n", instance.DisplayText(param::kBypassEq).c_str());
    std::fprintf(out, "\nband  switch  type       frequency     gain      Q\n");
    for (int band = 0; band < kBandCount; ++band) {
        std::fprintf(out, "%4d  %-6s  %-9s  %12s  %-8s  %s\n", band + 1,
                     instance.DisplayText(param::BandSwitch(band)).c_str(),
                     NamesOf(program.bands[static_cast<std::size_t>(band)].shape).bandType,
                     instance.DisplayText(param::BandFrequency(band)).c_str(),
                     instance.DisplayText(param::BandGain(band)).c_str(),
                     instance.DisplayText(param::BandQuality(band)).c_str());
    }
    if (loaded.fromBank) {
        std::fprintf(out, "\nPrograms in the bank\n");
        for (int i = 0; i < instance.ProgramCount(); ++i) {
            std::fprintf(out, "%4d  %s\n", i + 1, instance.ProgramName(i).c_str());
        }
    }
    return kSucceeded;
}

}  // namespace corvalen::preset
