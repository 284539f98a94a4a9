// The editor command's options, parsed portably so they are checked natively.
#include <cstdlib>
#include <cstring>

#include "tools/host/editor_command.h"
#include "tools/host/plugin_library.h"

namespace corvalen::host {
namespace {

// "INDEX=NORMALISED", a normalised value from 0 to 1.
bool ParseSetting(const char* text, ParameterSetting& setting) {
    char* end = nullptr;
    const long index = std::strtol(text, &end, 10);
    if (end == text || *end != '=' || index < 0) return false;
    const char* valueText = end + 1;
    const double value = std::strtod(valueText, &end);
    if (end == valueText || *end != '\0' || !(value >= 0.0 && value <= 1.0)) return false;
    setting = {static_cast<int>(index), static_cast<float>(value)};
    return true;
}

}  // namespace

bool ParseEditorCommand(int argc, char** argv, EditorCommandOptions& options) {
    if (argc < 1) return false;
    options.pluginPath = argv[0];
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            options.screenshotPath = ToWindowsPath(argv[++i]);
        } else if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc) {
            ParameterSetting setting;
            if (!ParseSetting(argv[++i], setting)) return false;
            options.settings.push_back(setting);
        } else if (std::strcmp(argv[i], "--measurement") == 0 && i + 1 < argc) {
            options.measurementPath = ToWindowsPath(argv[++i]);
        } else if (std::strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const double rate = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(rate > 0.0)) return false;
            options.sampleRate = static_cast<float>(rate);
        } else if (std::strcmp(argv[i], "--fit") == 0) {
            options.pressFit = true;
        } else if (std::strcmp(argv[i], "--measure") == 0) {
            options.measure = true;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            char* end = nullptr;
            options.seconds = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(options.seconds >= 0.0)) return false;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace corvalen::host
