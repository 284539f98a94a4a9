#include "editor/layout/editor_builder.h"

#include <memory>

#include "editor/controls/background_image.h"
#include "editor/controls/file_button.h"
#include "editor/controls/fit_button.h"
#include "editor/controls/image_display.h"
#include "editor/controls/knob.h"
#include "editor/controls/momentary_button.h"
#include "editor/controls/slider.h"
#include "editor/controls/switch_control.h"
#include "editor/controls/text_control.h"
#include "editor/controls/toggle_area.h"
#include "editor/controls/value_knob.h"
#include "editor/font_faces.h"
#include "editor/graph/graph_legend.h"
#include "editor/graph/response_graph.h"

namespace corvalen::editor {

namespace {

// The row's image at half size, as every image control names it; the scale decides which
// of the pair is drawn.
BitmapRef ImageOf(const ControlRow& entry) {
    BitmapRef image;
    image.frameWidth = entry.frameWidth;
    image.frameHeight = entry.frameHeight;
    image.frameCount = entry.frameCount;
    image.resourceId = entry.imageId | 1;
    return image;
}

// A text the engine writes goes into the links by its role.
void LinkText(const ControlRow& entry, TextControl& text, EditorLinks& links) {
    switch (entry.role) {
        case ControlRole::StatusText: links.statusText = &text; break;
        case ControlRole::SampleRateReadout: links.sampleRateReadout = &text; break;
        case ControlRole::OutputReadout: links.outputReadout = &text; break;
        case ControlRole::BandReadout:
            if (entry.roleIndex >= 0 && entry.roleIndex < kBandReadoutCount) {
                links.bandReadouts[entry.roleIndex] = &text;
            }
            break;
        default: break;
    }
}

// The control of one row; the links gain it when the engine writes through it.
std::unique_ptr<EditorControl> MakeControl(const ControlRow& entry, const ResponseModel& model,
                                           EditorLinks& links) {
    const int x = entry.rect.left;
    const int y = entry.rect.top;
    switch (entry.kind) {
        case ControlKind::Background: return std::make_unique<BackgroundImage>(ImageOf(entry));
        case ControlKind::FileButton: {
            auto button = std::make_unique<FileButton>(x, entry.parameter, ImageOf(entry));
            links.fileButton = button.get();
            return button;
        }
        case ControlKind::MomentaryButton:
            return std::make_unique<MomentaryButton>(x, entry.parameter, ImageOf(entry));
        case ControlKind::ResponseGraph: {
            auto graph = std::make_unique<ResponseGraph>(model, entry.rect);
            links.graph = graph.get();
            return graph;
        }
        case ControlKind::Text: {
            auto text = std::make_unique<TextControl>(entry.rect, MakeLayoutTextStyle(entry.style),
                                                      entry.text);
            LinkText(entry, *text, links);
            return text;
        }
        case ControlKind::Switch:
            return std::make_unique<SwitchControl>(x, y, entry.parameter, ImageOf(entry));
        case ControlKind::GraphLegend: return std::make_unique<GraphLegend>(entry.rect);
        case ControlKind::Knob:
            return std::make_unique<Knob>(entry.rect, entry.parameter, ImageOf(entry),
                                          entry.gearing);
        case ControlKind::ValueKnob:
            return std::make_unique<ValueKnob>(entry.rect, entry.parameter, ImageOf(entry),
                                               entry.gearing);
        case ControlKind::Slider:
            return std::make_unique<Slider>(entry.target, entry.parameter, ImageOf(entry),
                                            entry.trackLength, entry.horizontal);
        case ControlKind::ToggleArea:
            return std::make_unique<ToggleArea>(entry.parameter, entry.target);
        case ControlKind::ImageDisplay: {
            auto display = std::make_unique<ImageDisplay>(x, y, entry.parameter, ImageOf(entry));
            if (entry.role == ControlRole::SplashImage) links.splashImage = display.get();
            return display;
        }
        case ControlKind::FitButton:
            return std::make_unique<FitButton>(x, y, ImageOf(entry), model);
    }
    return nullptr;
}

}  // namespace

EditorLinks BuildLayoutControls(EditorGraphics& graphics, const ResponseModel& model,
                                const ControlTable& table) {
    EditorLinks links;
    for (const ControlRow& entry : table) {
        std::unique_ptr<EditorControl> control = MakeControl(entry, model, links);
        if (control != nullptr) graphics.attach(std::move(control));
    }
    // The fit button tells of a press without a measurement in the status text, wherever the
    // table puts the two.
    for (const auto& control : graphics.controls()) {
        if (auto* fit = dynamic_cast<FitButton*>(control.get()))
            fit->setStatusText(links.statusText);
    }
    return links;
}

void RegisterLayoutFonts(EditorGraphics& graphics) {
    for (const EmbeddedFontFace& face : kEmbeddedFontFaces) {
        graphics.registerFontResource(face.resourceId);
    }
}

}  // namespace corvalen::editor
