// The editor's scale file from outside ("guiSizePercentage.txt" in the settings folder): any
// bytes must read without a crash or undefined behaviour, the setting must be the file's first
// line, and whatever it says, the window must open at a size inside its limits with mouse
// positions mapping back onto the layout.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/editor_graphics.h"
#include "editor/layout/scale_setting.h"
#include "editor/settings_files.h"
#include "editor/window_scale.h"

namespace {

using namespace corvalen::editor;

// A settings folder of this process's own under the temporary folder, made once and removed
// when the process ends (the name outlives every static object, so the removal can use it).
const std::string& AppDataFolder() {
    static const std::string* folder = [] {
        const char* base = std::getenv("TMPDIR");
        auto* made = new std::string(std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                                     "/corvalen_scale_fuzz_XXXXXX");
        if (mkdtemp(made->data()) == nullptr) std::abort();
        if (!CreateFolder(*made + "/" + kSettingsFolderName)) std::abort();
        std::atexit([] {
            const std::string settings = AppDataFolder() + "/" + kSettingsFolderName;
            std::remove((settings + "/" + kScaleFileName).c_str());
            rmdir(settings.c_str());
            rmdir(AppDataFolder().c_str());
        });
        return made;
    }();
    return *folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string file = AppDataFolder() + "/" + kSettingsFolderName + "/" + kScaleFileName;
    if (!WriteTextFile(file, bytes)) std::abort();

    std::string line;
    if (!ReadFirstLine(file, line) || line != bytes.substr(0, bytes.find_first_of("\r\n")))
        std::abort();
    const int dpiValue = ReadOrCreateScaleSetting(AppDataFolder());
    if (dpiValue != DpiValueForScaleText(line)) std::abort();

    for (int systemDpi : {0, kDefaultDpi, 144}) {
        const int dpi = chooseWindowDpi(dpiValue, systemDpi);
        if (dpi < kSmallestDpi || dpi > kLargestDpi) std::abort();
        const WindowSize window = windowSizeForDpi(dpi);
        if (window.width <= 0 || window.height <= 0 ||
            window.width > EditorGraphics::kLayoutWidth * kLargestDpi / kFullSizeDpi ||
            window.height > EditorGraphics::kLayoutHeight * kLargestDpi / kFullSizeDpi) {
            std::abort();
        }
        const int shift = shiftForDpi(dpi);
        if (shift != 0 && shift != 1) std::abort();
        // The window's far corner lies on the layout's far corner, to within a pixel's units.
        const int right = pixelToLayout(window.width, dpi);
        const int bottom = pixelToLayout(window.height, dpi);
        if (right < EditorGraphics::kLayoutWidth - 4 || right > EditorGraphics::kLayoutWidth + 4 ||
            bottom < EditorGraphics::kLayoutHeight - 4 ||
            bottom > EditorGraphics::kLayoutHeight + 4) {
            std::abort();
        }
    }
    return 0;
}
