// The fits of our sample measurement whose printed results must be the same bytes on every build
// and processor: the native tool printed data/sample_fit.txt (data/make_sample_fit.sh), and the
// Windows build under Wine must print it again.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tool_run.h"

namespace corvalen::preset::testing_support {

// The options of each fit, after "fit MEASUREMENT -o OUT.fxp".
inline const std::vector<std::vector<std::string>> kGoldenFits = {
    {"--reference", "auto"},
    {"--reference", "auto", "--rate", "44100"},
    {"--reference", "70", "--rate", "96000"},
};

// What the fits print, one "## options" heading each, without the lines that name files (the
// two builds name one file two ways).
inline std::string GoldenFitText(const std::string& measurement, const std::string& fxp) {
    std::string text;
    for (const std::vector<std::string>& options : kGoldenFits) {
        std::vector<std::string> arguments = {"fit", measurement, "-o", fxp, "--name", "Sample"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const ToolRun run = RunTool(arguments);
        text += "##";
        for (const std::string& option : options) text += " " + option;
        text += "\n";
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const bool namesFiles = line.rfind("# Corvalen program", 0) == 0 ||
                                    line.rfind("# fitted to", 0) == 0 ||
                                    line.rfind("# measurement:", 0) == 0;
            if (!namesFiles) text += line + "\n";
        }
    }
    return text;
}

}  // namespace corvalen::preset::testing_support
