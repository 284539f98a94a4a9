// corvalen-host soak: what a DAW does to two instances with their editors open, for a while,
// and what must hold afterwards.
#pragma once

#include <cstdio>
#include <string>

namespace corvalen::host {

struct SoakCommandOptions {
    std::string pluginPath;
    std::string measurementPath;  // a real measurement among the files loaded; may be empty
    double seconds = 45.0;
};

// Parses "PLUGIN.dll [--seconds N | --minutes N] [--measurement FILE]"; false on anything
// else. Unix paths become the Windows paths Wine maps them to.
bool ParseSoakCommand(int argc, char** argv, SoakCommandOptions& options);

// Two instances with their editors open in windows of the host's own, for the options' time:
// the audio thread in both audio callbacks with automation, a worker saving and restoring
// chunks, changing programs and loading measurements, and this thread dragging and turning the
// editors' knobs with window messages while it pumps them. Then it checks that no sample was
// anything but finite, that every chunk saved reloaded to the same bytes, that each editor
// shows what a fresh instance given its final program paints, and that no editor window,
// class, timer or GDI object is left once both are closed. Prints one figure a line; the exit
// status is 0 when everything held.
int RunSoak(const SoakCommandOptions& options, std::FILE* out);

}  // namespace corvalen::host
