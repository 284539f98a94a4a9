// The bench command: times the plug-in's processReplacing and processDoubleReplacing with twelve
// bands on, for every vector path this processor can run, next to the per-sample formula
// compiled into the host, and prints nanoseconds per stereo frame and the ratio.
#pragma once

#include <cstdio>
#include <string>

namespace corvalen::host {

// Prints to `out`; answers the process exit code (0 when every path's output equals the
// formula's bit for bit).
int RunBench(const std::string& pluginPath, std::FILE* out);

}  // namespace corvalen::host
