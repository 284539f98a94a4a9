// corvalen-host editor: the plug-in's editor in a window of the host's own.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/host/project_state.h"

namespace corvalen::host {

struct EditorCommandOptions {
    std::string pluginPath;
    std::string screenshotPath;              // empty: no screenshot
    std::string measurementPath;             // empty: the plug-in's own default program
    float sampleRate = 48000.0f;             // told to the plug-in before its editor opens
    std::vector<ParameterSetting> settings;  // set before the program is restored
    double seconds = -1.0;  // < 0: until the window is closed (0.5 s with a screenshot)
    bool measure = false;   // time the editor's ticks and repaints, then go on
    bool pressFit = false;  // click the editor's FIT button once it is open
};

// Parses "PLUGIN.dll [--set INDEX=NORMALISED]... [--measurement FILE] [--rate HZ] [--fit]
// [--screenshot OUT.png] [--seconds N] [--measure]"; false on anything else. Unix paths of
// files become the Windows paths Wine maps them to, as the plug-in and the dialogs expect.
bool ParseEditorCommand(int argc, char** argv, EditorCommandOptions& options);

// Loads the plug-in, starts it at the sample rate, restores a program holding the measurement's
// path as a DAW reopening a project does, opens its editor, clicks FIT when asked, pumps
// messages, saves the screenshot; the exit status. Prints the editor's size, the size the
// plug-in asked the host for, the edit gestures a FIT click sent and how its pictures reached
// the screen (copies or stretches), one fact a line.
int RunEditor(const EditorCommandOptions& options, std::FILE* out);

}  // namespace corvalen::host
