// Writing programs to a preset file through the plug-in's own chunks: the programs are set into
// a new instance, its chunk is taken and handed to a second instance that must read the same
// programs back, and only then is the file written.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/preset/preset_instance.h"
#include "tools/preset/preset_program.h"

namespace corvalen::preset {

struct NamedProgram {
    std::string name;
    PresetProgram program;
};

// `name` cut to what the file or the plug-in keeps, with a warning when that loses something.
std::string FittedName(const std::string& name, std::size_t limit, std::FILE* errors);

// Writes one program (a .fxp) or a bank holding the programs in order (a .fxb), made by
// `maker` (a new instance). False, after reporting on `errors`, when nothing was written.
bool WritePrograms(const std::vector<NamedProgram>& programs, bool bank, const std::string& output,
                   PresetInstance& maker, std::FILE* errors);

}  // namespace corvalen::preset
