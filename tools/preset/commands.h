// The preset tool's commands, each with its arguments already sorted out.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace corvalen::preset {

struct ImportRequest {
    std::vector<std::string> inputs;  // parametric texts, one per program
    std::string output;               // .fxp (one input) or .fxb
    std::optional<std::string> name;
    std::optional<std::string> measurement;
};

struct FitCommandRequest {
    std::string measurement;
    std::string output;  // .fxp
    std::optional<std::string> target;
    std::optional<std::string> name;
    std::optional<double> referenceDb;  // none: aligned with the target between 200 Hz and 2 kHz
    double sampleRate = 48000.0;
};

struct ReadRequest {
    std::string file;
    int program = 0;  // 1-based program of a bank; 0 when not given
};

int RunImport(const ImportRequest& request, std::FILE* out, std::FILE* errors);
int RunFit(const FitCommandRequest& request, std::FILE* out, std::FILE* errors);
int RunExport(const ReadRequest& request, std::FILE* out, std::FILE* errors);
int RunShow(const ReadRequest& request, std::FILE* out, std::FILE* errors);

// "corvalen-preset: <message>" on `errors`.
void ReportError(std::FILE* errors, const std::string& message);
void ReportWarning(std::FILE* errors, const std::string& message);

}  // namespace corvalen::preset
