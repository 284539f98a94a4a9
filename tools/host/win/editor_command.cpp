#include "tools/host/editor_command.h"

#include <cstdlib>
#include <cstring>

#include "tools/host/win/editor_frame.h"

namespace corvalen::host {
namespace {

constexpr double kScreenshotSettleSeconds = 0.5;  // a dozen editor ticks

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
            options.screenshotPath = argv[++i];
        } else if (std::strcmp(argv[i], "--set") == 0 && i + 1 < argc) {
            ParameterSetting setting;
            if (!ParseSetting(argv[++i], setting)) return false;
            options.settings.push_back(setting);
        } else if (std::strcmp(argv[i], "--measurement") == 0 && i + 1 < argc) {
            options.measurementPath = argv[++i];
        } else if (std::strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const double rate = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(rate > 0.0)) return false;
            options.sampleRate = static_cast<float>(rate);
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

int RunEditor(const EditorCommandOptions& options, std::FILE* out) {
    VstHost host;
    if (!host.Load(options.pluginPath)) {
        std::fprintf(out, "cannot load %s: %s\n", options.pluginPath.c_str(), host.LastError().c_str());
        return 1;
    }
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, options.sampleRate);
    if (options.measurementPath.empty()) {
        for (const ParameterSetting& setting : options.settings) {
            host.SetParameter(setting.first, setting.second);
        }
    } else {
        std::string error;
        if (!RestoreProgramWithMeasurement(host, options.settings, options.measurementPath, error)) {
            std::fprintf(out, "cannot restore the program: %s\n", error.c_str());
            return 1;
        }
    }
    EditorFrame frame(host);
    if (!frame.Open()) {
        std::fprintf(out, "cannot open the editor: %s\n", frame.LastError().c_str());
        return 1;
    }
    std::fprintf(out, "editor %d x %d\n", frame.EditorWidth(), frame.EditorHeight());
    std::fflush(out);
    double seconds = options.seconds;
    if (seconds < 0.0 && !options.screenshotPath.empty()) seconds = kScreenshotSettleSeconds;
    if (seconds < 0.0) {
        while (!frame.FrameClosed()) frame.Pump(0.1);
        return 0;
    }
    frame.Pump(seconds);
    if (options.screenshotPath.empty()) return 0;
    Screenshot shot;
    std::string error;
    if (!frame.Capture(shot)) {
        std::fprintf(out, "cannot capture the editor window\n");
        return 1;
    }
    if (!EditorFrame::SavePng(shot, options.screenshotPath, error)) {
        std::fprintf(out, "%s\n", error.c_str());
        return 1;
    }
    std::fprintf(out, "saved %s\n", options.screenshotPath.c_str());
    return 0;
}

}  // namespace corvalen::host
