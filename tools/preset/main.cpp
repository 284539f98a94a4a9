// corvalen-preset: parametric corrections to the plug-in's preset files and back.
#include <cstdio>

#include "tools/preset/preset_tool.h"
#include "tools/preset/program_arguments.h"

int main(int argc, char** argv) {
    return corvalen::preset::RunPresetTool(corvalen::preset::ProgramArguments(argc, argv), stdout,
                                           stderr);
}
