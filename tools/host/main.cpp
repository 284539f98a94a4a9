// corvalen-host: a small VST2 host for tests and demonstrations.
//   corvalen-host.exe demo PATH\Corvalen.dll
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/host/demo.h"

namespace {

void PrintUsage() {
  std::fprintf(stderr,
               "usage: corvalen-host demo PLUGIN.dll   load the plug-in, show its identity and\n"
               "                                       parameters, run test signals through it,\n"
               "                                       then show a band and the output level\n"
               "                                       at work\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 2;
  }
  const std::string command = argv[1];
  if (command == "demo" && argc == 3) return corvalen::host::RunDemo(argv[2], stdout);
  PrintUsage();
  return 2;
}
