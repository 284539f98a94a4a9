// The demo command: load the plug-in as a DAW would, show what it tells the host and push a
// test signal through its float and double audio paths.
#pragma once

#include <cstdio>
#include <string>

namespace corvalen::host {

// Prints to `out`; answers the process exit code (0 on success).
int RunDemo(const std::string& pluginPath, std::FILE* out);

}  // namespace corvalen::host
