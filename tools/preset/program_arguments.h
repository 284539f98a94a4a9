// The program's arguments as UTF-8 texts, the form every path of the tool takes.
#pragma once

#include <string>
#include <vector>

namespace corvalen::preset {

// The arguments after the program's name. On Windows they come from the wide command line:
// main's argv is in the ANSI code page there, which cannot hold every file name a user has.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace corvalen::preset
