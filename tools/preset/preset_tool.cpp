#include "tools/preset/preset_tool.h"

#include <cstdlib>

#include "engine/parameter_table.h"
#include "tools/preset/commands.h"
#include "tools/preset/number_text.h"

namespace corvalen::preset {

namespace {

constexpr const char* kUsage =
    "usage: corvalen-preset COMMAND ...\n"
    "\n"
    "  import FILE.txt -o OUT.fxp [--name NAME] [--measurement PATH]\n"
    "      Makes a program file from a parametric correction (Preamp: and Filter lines with\n"
    "      PK, LSC and HSC filters, or LS and HS given a Q). A low shelf goes on band 1, a high\n"
    "      shelf on band 12, the peaks in frequency order on the other bands, the preamp on the\n"
    "      output level. Values outside the equaliser's ranges are clamped with a warning;\n"
    "      anything it cannot reproduce exactly is refused and nothing is written. The program\n"
    "      is named NAME or after the file (without a trailing \" ParametricEQ\"); PATH is the\n"
    "      measurement file the plug-in loads with the program.\n"
    "  import FILE.txt... -o OUT.fxb [--measurement PATH]\n"
    "      Makes a bank of the plug-in's 16 programs, one program per file in order, each\n"
    "      named after its file; the other programs stay as in a new instance.\n"
    "  fit MEASUREMENT -o OUT.fxp [--target TARGET] [--reference DB|auto] [--rate HZ]\n"
    "      [--name NAME]\n"
    "      Fits the equaliser's twelve bands to a measurement file (frequency and level pairs,\n"
    "      as the plug-in loads them) so that measurement plus equaliser lies on the flat target,\n"
    "      and writes the program with the measurement's path. TARGET is a target curve in the\n"
    "      same form: the fit is then to the measurement minus the target. DB is the measured\n"
    "      level that counts as on target (0 by default); auto takes the level that aligns the\n"
    "      curve with the target between 200 Hz and 2 kHz. HZ is the sample rate the bands are\n"
    "      fitted for (48000 by default). Prints the correction as export does, with the error\n"
    "      over 20 Hz to 10 kHz before and after the fit.\n"
    "  fit MEASUREMENT -o OUT.fxp [--target TARGET] [--reference DB|auto] [--rate HZ]\n"
    "      [--name NAME]\n"
    "      Fits the equaliser's twelve bands to a measurement file (frequency and level pairs,\n"
    "      as the plug-in loads them) so that measurement plus equaliser lies on the flat\n"
    "      target, and writes the program with the fitted bands, the output level that keeps\n"
    "      the correction at or below 0 dB, the reference level and the measurement's path.\n"
    "      TARGET is a target curve in the same form: the fit is then to the measurement minus\n"
    "      the target. DB is the measured level that counts as on target (0 by default); auto\n"
    "      takes the level that aligns the curve with the target between 200 Hz and 2 kHz. HZ\n"
    "      is the sample rate the bands are fitted for (48000 by default). Prints the\n"
    "      correction as export does, with the error over 20 Hz to 10 kHz before and after.\n"
    "  export FILE.fxp|FILE.fxb [--program N]\n"
    "      Prints the program (of a bank: program N, 1 by default) as a parametric correction\n"
    "      that imports back to the same filters.\n"
    "  show FILE.fxp|FILE.fxb [--program N]\n"
    "      Prints the program's name, bands, output level, reference level and measurement file\n"
    "      as a table.\n"
    "\n"
    "Exit status: 0 done, 1 a file was refused or could not be read or written, 2 bad usage.\n";

int BadUsage(std::FILE* errors, const std::string& message) {
    ReportError(errors, message);
    std::fputs("run 'corvalen-preset --help' for the commands\n", errors);
    return kBadUsage;
}

// The value after an option, or null when there is none.
const std::string* OptionValue(const std::vector<std::string>& arguments, std::size_t& i) {
    return i + 1 < arguments.size() ? &arguments[++i] : nullptr;
}

int Import(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* errors) {
    ImportRequest request;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--name" || argument == "--measurement") {
            const std::string* value = OptionValue(arguments, i);
            if (value == nullptr) return BadUsage(errors, argument + " needs a value");
            if (argument == "-o") request.output = *value;
            if (argument == "--name") request.name = *value;
            if (argument == "--measurement") request.measurement = *value;
        } else if (argument.size() > 1 && argument[0] == '-') {
            return BadUsage(errors, "import: unknown option " + argument);
        } else {
            request.inputs.push_back(argument);
        }
    }
    if (request.inputs.empty())
        return BadUsage(errors, "import: no parametric correction file given");
    if (request.output.empty())
        return BadUsage(errors, "import: no output file given (-o OUT.fxp)");
    return RunImport(request, out, errors);
}

// A sample rate the bands can be tuned for: the rates audio interfaces run at.
constexpr double kLowestRate = 8000.0;
constexpr double kHighestRate = 768000.0;

int Fit(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* errors) {
    FitCommandRequest request;
    const ParamTableEntry& reference = kParameterTable[param::kTargetResponses];
    request.referenceDb = reference.defaultValue;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--target" || argument == "--name" ||
            argument == "--reference" || argument == "--rate") {
            const std::string* value = OptionValue(arguments, i);
            if (value == nullptr) return BadUsage(errors, argument + " needs a value");
            const std::optional<double> number = ReadDecimal(*value);
            if (argument == "-o") request.output = *value;
            if (argument == "--target") request.target = *value;
            if (argument == "--name") request.name = *value;
            if (argument == "--reference") {
                const bool level =
                    number && *number >= reference.minimum && *number <= reference.maximum;
                if (!level && *value != "auto") {
                    return BadUsage(errors, "--reference needs a level from " +
                                                ShortestDecimal(reference.minimum) + " to " +
                                                ShortestDecimal(reference.maximum) +
                                                " dB, or auto");
                }
                request.referenceDb = level ? number : std::nullopt;
            }
            if (argument == "--rate") {
                if (!number || *number < kLowestRate || *number > kHighestRate) {
                    return BadUsage(errors, "--rate needs a sample rate from " +
                                                ShortestDecimal(kLowestRate) + " to " +
                                                ShortestDecimal(kHighestRate) + " Hz");
                }
                request.sampleRate = *number;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            return BadUsage(errors, "fit: unknown option " + argument);
        } else if (request.measurement.empty()) {
            request.measurement = argument;
        } else {
            return BadUsage(errors, "fit takes one measurement file");
        }
    }
    if (request.measurement.empty()) return BadUsage(errors, "fit: no measurement file given");
    if (request.output.empty()) return BadUsage(errors, "fit: no output file given (-o OUT.fxp)");
    return RunFit(request, out, errors);
}

int Read(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* errors) {
    const std::string& command = arguments[0];
    ReadRequest request;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--program") {
            const std::string* value = OptionValue(arguments, i);
            const std::optional<double> number =
                value != nullptr ? ReadDecimal(*value) : std::nullopt;
            if (!number || *number < 1.0 || *number > 1e6 || *number != static_cast<int>(*number)) {
                return BadUsage(errors, "--program needs a program number from 1");
            }
            request.program = static_cast<int>(*number);
        } else if (argument.size() > 1 && argument[0] == '-') {
            return BadUsage(errors, command + ": unknown option " + argument);
        } else if (request.file.empty()) {
            request.file = argument;
        } else {
            return BadUsage(errors, command + " takes one preset file");
        }
    }
    if (request.file.empty()) return BadUsage(errors, command + ": no preset file given");
    return command == "export" ? RunExport(request, out, errors) : RunShow(request, out, errors);
}

}  // namespace

void ReportError(std::FILE* errors, const std::string& message) {
    std::fprintf(errors, "corvalen-preset: %s\n", message.c_str());
}

void ReportWarning(std::FILE* errors, const std::string& message) {
    std::fprintf(errors, "corvalen-preset: warning: %s\n", message.c_str());
}

int RunPresetTool(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* errors) {
    if (arguments.empty()) {
        std::fputs(kUsage, errors);
        return kBadUsage;
    }
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, out);
        return kSucceeded;
    }
    if (command == "import") return Import(arguments, out, errors);
    if (command == "fit") return Fit(arguments, out, errors);
    if (command == "export" || command == "show") return Read(arguments, out, errors);
    return BadUsage(errors, "unknown command " + command);
}

}  // namespace corvalen::preset
