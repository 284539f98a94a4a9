// The demo command: load the plug-in as a DAW would, show what it tells the host, push test
// signals through its float and double audio paths (unchanged until the host sets a sample
// rate and block size), then lift band 6 at 1 kHz and lower the output level and show how the
// sines' levels follow.
#pragma once

#include <cstdio>
#include <string>

namespace corvalen::host {

// Prints to `out`; answers the process exit code (0 when the levels follow the settings).
int RunDemo(const std::string& pluginPath, std::FILE* out);

}  // namespace corvalen::host
