// The editor's size setting: a percentage in a small text file in the user's application-data
// folder, read once per plug-in instance and turned into the DPI value the window opens at.
#pragma once

#include <string>

namespace corvalen::editor {

class EditorGraphics;

inline constexpr const char* kAppDataVariable = "APPDATA";
inline constexpr const char* kSettingsFolderName = "Corvalen";
inline constexpr const char* kScaleFileName = "guiSizePercentage.txt";
// What a new settings file holds, and what an unreadable or zero setting counts as.
inline constexpr const char* kDefaultScaleText = "100";
inline constexpr int kDefaultScalePercent = 100;
// The DPI value of 100 percent.
inline constexpr int kDpiAtFullScale = 96;

// The DPI value for the file's first line: its leading base-10 number (blanks and a sign
// allowed, stopping at the first non-digit) as a percentage, 100 when that is 0 or there is
// no number, times 96 / 100 in integer arithmetic. Percentages far outside any sensible
// range are passed on (the window holds the DPI to what it can open); only a result that
// does not fit an int is held at the int's limits.
int DpiValueForScaleText(const std::string& firstLine);

// The scale setting under the application-data folder appDataFolder: when its settings
// folder is missing, it is created holding a file with "100" and the answer is 0 (the window
// then takes the system's DPI); otherwise the file's DPI value (a missing file reads as an
// empty line). An empty appDataFolder answers 0 and touches nothing.
int ReadOrCreateScaleSetting(const std::string& appDataFolder);

// The application-data folder the setting lives under: the environment variable APPDATA,
// or, when it is unset, the folder the platform's editor services name.
std::string ScaleSettingBaseFolder(EditorGraphics& graphics);

}  // namespace corvalen::editor
