// corvalen-preset: published parametric corrections to presets the plug-in loads, and back.
//   import FILE.txt... -o OUT.fxp|OUT.fxb [--name NAME] [--measurement PATH]
//   fit    MEASUREMENT -o OUT.fxp [--target TARGET] [--reference DB|auto] [--rate HZ]
//          [--name NAME]
//   export FILE.fxp|FILE.fxb [--program N]
//   show   FILE.fxp|FILE.fxb [--program N]
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace corvalen::preset {

// Exit status of the tool.
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;    // a file was refused or could not be read or written
inline constexpr int kBadUsage = 2;  // the command line is not one the tool knows

// Runs the tool on its arguments (without the program name). Results go to `out`, warnings and
// errors to `errors`.
int RunPresetTool(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* errors);

}  // namespace corvalen::preset
