// corvalen-preset: parametric corrections to the plug-in's preset files and back.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/preset/preset_tool.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return corvalen::preset::RunPresetTool(arguments, stdout, stderr);
}
