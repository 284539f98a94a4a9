#include "editor/layout/scale_setting.h"

#include <climits>
#include <cstdlib>

#include "editor/editor_graphics.h"
#include "editor/settings_files.h"

namespace corvalen::editor {

namespace {

std::string Joined(const std::string& folder, const char* name) {
    std::string path = folder;
    if (!path.empty() && path.back() != PathSeparator()) path.push_back(PathSeparator());
    return path + name;
}

}  // namespace

int DpiValueForScaleText(const std::string& firstLine) {
    long long percent = std::strtoll(firstLine.c_str(), nullptr, 10);
    if (percent == 0) percent = kDefaultScalePercent;
    // strtoll saturates at its own limits; the product below is held to an int's.
    const long long limit = LLONG_MAX / kDpiAtFullScale;
    if (percent > limit) percent = limit;
    if (percent < -limit) percent = -limit;
    const long long dpi = percent * kDpiAtFullScale / 100;
    if (dpi > INT_MAX) return INT_MAX;
    if (dpi < INT_MIN) return INT_MIN;
    return static_cast<int>(dpi);
}

int ReadOrCreateScaleSetting(const std::string& appDataFolder) {
    if (appDataFolder.empty()) return 0;
    const std::string folder = Joined(appDataFolder, kSettingsFolderName);
    const std::string file = Joined(folder, kScaleFileName);
    if (!FolderExists(folder)) {
        // A folder that cannot be made leaves no file either; nothing is reported.
        if (CreateFolder(folder)) WriteTextFile(file, kDefaultScaleText);
        return 0;
    }
    std::string line;
    ReadFirstLine(file, line);
    return DpiValueForScaleText(line);
}

std::string ScaleSettingBaseFolder(EditorGraphics& graphics) {
    std::string folder;
    if (EnvironmentFolder(kAppDataVariable, folder)) return folder;
    if (graphics.applicationDataFolder(folder)) return folder;
    return std::string();
}

}  // namespace corvalen::editor
