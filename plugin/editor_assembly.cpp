#include "plugin/editor_assembly.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/graphics_plugin_editor.h"
#include "editor/platform_editor_graphics.h"
#include "engine/correction_plugin.h"
#include "engine/parameter_table.h"
#include "plugin/stand_in_controls.h"

namespace corvalen {
namespace {

// Where the layout puts band k's controls (k from 0): knobs 72 units square in three rows,
// the on/off switch above them.
constexpr int kFirstBandX = 66;
constexpr int kBandPitch = 114;
constexpr int kKnobRows[3] = {686, 790, 894};
constexpr int kKnobSide = 72;
constexpr editor::LayoutRect kFileButtonRect{1428, 916, 1528, 1016};

// The editor-scale setting: percentage in APPDATA\Corvalen\guiSizePercentage.txt, read once
// per instance; no file leaves the DPI value at 0 (the system's dpi).
int readScalePercentage() {
    const char* appData = std::getenv("APPDATA");
    if (appData == nullptr) return 0;
    const std::string path = std::string(appData) + "\\Corvalen\\guiSizePercentage.txt";
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return 0;
    char line[64] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    const long percentage = read ? std::strtol(line, nullptr, 10) : 0;
    return percentage == 0 ? 100 : static_cast<int>(percentage);
}

}  // namespace

void AssembleEditor(CorrectionPlugin& plugin) {
    std::unique_ptr<editor::EditorGraphics> graphics = editor::CreatePlatformEditorGraphics();
    graphics->setPlugin(&plugin);
    if (const int percentage = readScalePercentage(); percentage != 0)
        graphics->setDpiValue(percentage * 96 / 100);
    graphics->setInputOptions(1, 1, 1);

    graphics->attach(std::make_unique<stand_in::Background>());
    auto* fileButton = static_cast<stand_in::FileButton*>(
        graphics->attach(std::make_unique<stand_in::FileButton>(kFileButtonRect, param::kFrFile)));
    for (int band = 0; band < param::kBandCount; ++band) {
        const int x = kFirstBandX + kBandPitch * band;
        const int parameters[3] = {param::BandFrequency(band), param::BandGain(band),
                                   param::BandQuality(band)};
        for (int row = 0; row < 3; ++row) {
            graphics->attach(std::make_unique<stand_in::Knob>(
                editor::LayoutRect{x - 4, kKnobRows[row], x - 4 + kKnobSide, kKnobRows[row] + kKnobSide},
                parameters[row]));
        }
        graphics->attach(std::make_unique<stand_in::Switch>(
            editor::LayoutRect{x - 12, 646, x + 76, 682}, param::BandSwitch(band)));
    }
    // The first band's gain knob takes the arrow keys.
    graphics->setKeyCatcher(3);

    EditorLinks links;
    links.fileButton = fileButton;
    plugin.ConnectEditorControls(links);
    plugin.AttachEditor(std::make_unique<editor::GraphicsPluginEditor>(std::move(graphics)));
}

}  // namespace corvalen
