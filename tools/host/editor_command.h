// corvalen-host editor: the plug-in's editor in a window of the host's own.
#pragma once

#include <cstdio>
#include <string>

namespace corvalen::host {

struct EditorCommandOptions {
    std::string pluginPath;
    std::string screenshotPath;  // empty: no screenshot
    double seconds = -1.0;       // < 0: until the window is closed (0.5 s with a screenshot)
};

// Parses "PLUGIN.dll [--screenshot OUT.png] [--seconds N]"; false on anything else.
bool ParseEditorCommand(int argc, char** argv, EditorCommandOptions& options);

// Loads the plug-in, opens its editor, pumps messages, saves the screenshot; the exit status.
int RunEditor(const EditorCommandOptions& options, std::FILE* out);

}  // namespace corvalen::host
