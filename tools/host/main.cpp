// corvalen-host: a small VST2 host for tests and demonstrations.
//   corvalen-host.exe demo PATH\Corvalen.dll
//   corvalen-host.exe editor PATH\Corvalen.dll [--set INDEX=NORMALISED]... [--measurement FILE]
//                                             [--rate HZ]
//                                             [--screenshot OUT.png] [--seconds N] [--measure]
//   corvalen-host.exe bench PATH\Corvalen.dll
//   corvalen-host.exe soak PATH\Corvalen.dll [--seconds N | --minutes N] [--measurement FILE]
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/host/bench_command.h"
#include "tools/host/demo.h"
#include "tools/host/editor_command.h"
#include "tools/host/soak_command.h"

namespace {

void PrintUsage() {
    std::fprintf(
        stderr,
        "usage: corvalen-host demo PLUGIN.dll   load the plug-in, show its identity and\n"
        "                                       parameters, run test signals through it,\n"
        "                                       then show a band and the output level\n"
        "                                       at work\n"
        "       corvalen-host editor PLUGIN.dll [--set INDEX=NORMALISED]...\n"
        "                                       [--measurement FILE] [--rate HZ]\n"
        "                                       [--screenshot OUT.png] [--seconds N]\n"
        "                                       [--measure]\n"
        "                                       open the plug-in's editor in a window,\n"
        "                                       at HZ (48000 by default), the parameters\n"
        "                                       set, with a program\n"
        "                                       restored holding FILE's path as a project\n"
        "                                       would; save its pixels as a PNG after N\n"
        "                                       seconds (0.5 by default), or run until\n"
        "                                       closed; --measure times its ticks and\n"
        "                                       repaints\n"
        "       corvalen-host bench PLUGIN.dll  time the audio callbacks with twelve\n"
        "                                       bands on, per vector path, against the\n"
        "                                       per-sample formula\n"
        "       corvalen-host soak PLUGIN.dll [--seconds N | --minutes N]\n"
        "                                       [--measurement FILE]\n"
        "                                       two instances with their editors open,\n"
        "                                       audio, automation, chunks, programs,\n"
        "                                       measurement loads and the user's\n"
        "                                       gestures at once for N (45 s by default),\n"
        "                                       then what must hold\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return 2;
    }
    const std::string command = argv[1];
    if (command == "demo" && argc == 3) return corvalen::host::RunDemo(argv[2], stdout);
    if (command == "bench" && argc == 3) return corvalen::host::RunBench(argv[2], stdout);
    corvalen::host::SoakCommandOptions soak;
    if (command == "soak" && corvalen::host::ParseSoakCommand(argc - 2, argv + 2, soak))
        return corvalen::host::RunSoak(soak, stdout);
    corvalen::host::EditorCommandOptions editor;
    if (command == "editor" && corvalen::host::ParseEditorCommand(argc - 2, argv + 2, editor))
        return corvalen::host::RunEditor(editor, stdout);
    PrintUsage();
    return 2;
}
