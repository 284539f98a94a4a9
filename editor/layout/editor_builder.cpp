#include "editor/layout/editor_builder.h"

#include <memory>

#include "editor/controls/background_image.h"
#include "editor/controls/file_button.h"
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
BitmapRef ImageOf(const ControlSpec& spec) {
    BitmapRef image;
    image.frameWidth = spec.frameWidth;
    image.frameHeight = spec.frameHeight;
    image.frameCount = spec.frameCount;
    image.resourceId = spec.imageId | 1;
    return image;
}

// A text the engine writes goes into the links by its role.
void LinkText(const ControlSpec& spec, TextControl& text, EditorLinks& links) {
    switch (spec.role) {
        case ControlRole::StatusText:
            links.statusText = &text;
            break;
        case ControlRole::SampleRateReadout:
            links.sampleRateReadout = &text;
            break;
        case ControlRole::OutputReadout:
            links.outputReadout = &text;
            break;
        case ControlRole::BandReadout:
            if (spec.roleIndex >= 0 && spec.roleIndex < kBandReadoutCount) {
                links.bandReadouts[spec.roleIndex] = &text;
            }
            break;
        default:
            break;
    }
}

// The control of one row; the links gain it when the engine writes through it.
std::unique_ptr<EditorControl> MakeControl(const ControlSpec& spec, const ResponseModel& model,
                                           EditorLinks& links) {
    const int x = spec.rect.left;
    const int y = spec.rect.top;
    switch (spec.kind) {
        case ControlKind::Background:
            return std::make_unique<BackgroundImage>(ImageOf(spec));
        case ControlKind::FileButton: {
            auto button = std::make_unique<FileButton>(x, spec.parameter, ImageOf(spec));
            links.fileButton = button.get();
            return button;
        }
        case ControlKind::MomentaryButton:
            return std::make_unique<MomentaryButton>(x, spec.parameter, ImageOf(spec));
        case ControlKind::ResponseGraph: {
            auto graph = std::make_unique<ResponseGraph>(model, spec.rect);
            links.graph = graph.get();
            return graph;
        }
        case ControlKind::Text: {
            auto text = std::make_unique<TextControl>(spec.rect, MakeLayoutTextStyle(spec.style),
                                                      spec.text);
            LinkText(spec, *text, links);
            return text;
        }
        case ControlKind::Switch:
            return std::make_unique<SwitchControl>(x, y, spec.parameter, ImageOf(spec));
        case ControlKind::GraphLegend:
            return std::make_unique<GraphLegend>(spec.rect);
        case ControlKind::Knob:
            return std::make_unique<Knob>(spec.rect, spec.parameter, ImageOf(spec), spec.gearing);
        case ControlKind::ValueKnob:
            return std::make_unique<ValueKnob>(spec.rect, spec.parameter, ImageOf(spec),
                                               spec.gearing);
        case ControlKind::Slider:
            return std::make_unique<Slider>(spec.target, spec.parameter, ImageOf(spec),
                                            spec.trackLength, spec.horizontal);
        case ControlKind::ToggleArea:
            return std::make_unique<ToggleArea>(spec.parameter, spec.target);
        case ControlKind::ImageDisplay: {
            auto display = std::make_unique<ImageDisplay>(x, y, spec.parameter, ImageOf(spec));
            if (spec.role == ControlRole::SplashImage) links.splashImage = display.get();
            return display;
        }
    }
    return nullptr;
}

}  // namespace

EditorLinks BuildLayoutControls(EditorGraphics& graphics, const ResponseModel& model,
                                const ControlTable& table) {
    EditorLinks links;
    for (const ControlSpec& spec : table) {
        std::unique_ptr<EditorControl> control = MakeControl(spec, model, links);
        if (control != nullptr) graphics.attach(std::move(control));
    }
    return links;
}

void RegisterLayoutFonts(EditorGraphics& graphics) {
    for (const EmbeddedFontFace& face : kEmbeddedFontFaces) {
        graphics.registerFontResource(face.resourceId);
    }
}

}  // namespace corvalen::editor
