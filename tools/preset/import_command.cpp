// import: parametric texts to a program file or a bank file, through the plug-in's own chunks.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/file_access.h"
#include "shell/preset.h"
#include "shell/state_chunk.h"
#include "tools/preset/band_layout.h"
#include "tools/preset/commands.h"
#include "tools/preset/number_text.h"
#include "tools/preset/preset_instance.h"
#include "tools/preset/preset_tool.h"
#include "tools/preset/program_output.h"
#include "tools/preset/tool_files.h"

namespace corvalen::preset {

namespace {

// Correction databases name their files "<headphone> ParametricEQ.txt".
constexpr const char* kPublishedSuffix = " ParametricEQ";

bool EndsWithWord(const std::string& text, const std::string& word) {
    return text.size() > word.size() && HasExtension(text, word);
}

std::string ProgramNameFor(const std::string& path) {
    std::string name = FileStem(path);
    if (EndsWithWord(name, kPublishedSuffix)) {
        name.resize(name.size() - std::string(kPublishedSuffix).size());
    }
    return name;
}

// Reads, parses and places one correction; false (after reporting) when it is refused.
bool LoadCorrection(const std::string& path, PresetProgram& program, std::FILE* errors) {
    Bytes bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        ReportError(errors, path + ": " + error);
        return false;
    }
    const ParseOutcome parsed = ParseParametricText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    for (const std::string& warning : parsed.warnings) ReportWarning(errors, path + ": " + warning);
    if (!parsed.ok) {
        ReportError(errors, path + ": " + parsed.error + "; nothing written");
        return false;
    }
    const LayoutOutcome laid = LayOutCorrection(parsed.correction);
    for (const std::string& warning : laid.warnings) ReportWarning(errors, path + ": " + warning);
    if (!laid.ok) {
        ReportError(errors, path + ": " + laid.error + "; nothing written");
        return false;
    }
    program = laid.program;
    return true;
}

}  // namespace

int RunImport(const ImportRequest& request, std::FILE* out, std::FILE* errors) {
    const bool bank = HasExtension(request.output, ".fxb");
    if (!bank && !HasExtension(request.output, ".fxp")) {
        ReportError(errors, "the output file must end in .fxp (a program) or .fxb (a bank)");
        return kBadUsage;
    }
    PresetInstance maker;
    if (!maker.IsOpen()) {
        ReportError(errors, "the plug-in could not be created");
        return kFailed;
    }
    if (!bank && request.inputs.size() != 1) {
        ReportError(errors,
                    "a program file holds one correction; give one file or make a .fxb bank");
        return kBadUsage;
    }
    if (request.inputs.size() > static_cast<std::size_t>(maker.ProgramCount())) {
        ReportError(errors, "a bank holds " + std::to_string(maker.ProgramCount()) + " programs, " +
                                std::to_string(request.inputs.size()) + " files were given");
        return kBadUsage;
    }
    if (request.name && request.inputs.size() != 1) {
        ReportError(errors,
                    "--name names one program; the programs of a bank are named after their files");
        return kBadUsage;
    }
    if (request.measurement) {
        if (request.measurement->size() > static_cast<std::size_t>(kMaxCustomDataLength)) {
            ReportError(errors, "the measurement path is longer than the " +
                                    std::to_string(kMaxCustomDataLength) + " bytes a preset holds");
            return kFailed;
        }
        if (!request.measurement->empty() && !PathExists(*request.measurement)) {
            ReportWarning(errors,
                          "no file at " + *request.measurement +
                              " here; the plug-in shows it as not found unless it exists where "
                              "the DAW runs");
        }
    }

    std::vector<NamedProgram> programs(request.inputs.size());
    for (std::size_t i = 0; i < request.inputs.size(); ++i) {
        if (!LoadCorrection(request.inputs[i], programs[i].program, errors)) return kFailed;
        programs[i].program.measurementPath = request.measurement.value_or(std::string());
        const std::string name = request.name.value_or(ProgramNameFor(request.inputs[i]));
        programs[i].name =
            FittedName(name, bank ? Preset::kMaxNameLength : kProgramNameBytes, errors);
    }

    if (!WritePrograms(programs, bank, request.output, maker, errors)) return kFailed;
    for (std::size_t i = 0; i < programs.size(); ++i) {
        int filters = 0;
        for (const BandSetting& band : programs[i].program.bands) filters += IsUnused(band) ? 0 : 1;
        const std::string which =
            bank ? "program " + std::to_string(i + 1) + " \"" + programs[i].name + "\""
                 : "\"" + programs[i].name + "\"";
        std::fprintf(out, "%s: %s, %d filters, output %s dB\n", request.output.c_str(),
                     which.c_str(), filters, ShortestDecimal(programs[i].program.outputDb).c_str());
    }
    return kSucceeded;
}

}  // namespace corvalen::preset
