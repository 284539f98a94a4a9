// The response graph: the picture of the headphone, the equaliser and the sum of both against
// the flat target. It draws the level lines, the target line, the frequency ticks, the three
// curves of the engine's response model, a numbered marker per band and, while the equaliser
// is bypassed, the bypass sign. It takes no input.
//
// The bands and the measured curve stay in the plug-in's ResponseModel for the instance's whole
// life (the audio path filters through them); the graph only views that model. Host and audio
// threads change the model under the instance lock while the editor draws, so every paint
// starts by copying what it shows (a few kilobytes) under that lock and draws from the copy.
#pragma once

#include <cstdint>
#include <string>

#include "editor/editor_control.h"
#include "editor/graph/graph_scale.h"
#include "editor/graph/graph_style.h"
#include "editor/text_style.h"
#include "engine/editor_links.h"
#include "engine/engine_state.h"
#include "engine/response_model.h"

namespace corvalen::editor {

class ResponseGraph : public EditorControl, public RedrawLink {
public:
    // Editor building (plug-in constructor): views the plug-in's model, which outlives the
    // editor. The rect is the graph's drawing area; its left and top edges are where the level
    // labels start and where the marker clamp measures from.
    explicit ResponseGraph(const ResponseModel& model, const LayoutRect& rect = kGraphRect);

    // Editor thread. Copies the model under the instance lock, then draws from the copy.
    void paint(EditorGraphics& graphics) override;
    // The curves and grid lines reach a little past the right and bottom edges.
    LayoutRect drawnArea(EditorGraphics& graphics) override;
    // Units past those edges: a soft line's outer pair two units from a point on the edge,
    // and that line's end point.
    static constexpr int kCurveOverhang = 3;
    // Editor thread: the text styles re-resolve their fonts at the new scale.
    void rescale(EditorGraphics& graphics) override;
    // Any thread, instance lock held: the engine changed something the graph shows. The graph
    // has no parameter, so this only marks it for redrawing.
    void markDirty(bool push) override;

    // Editor thread: draws the picture of one copied model state (what paint does after
    // taking its copy; tests and benchmarks draw prepared states with it).
    void paintModel(EditorGraphics& graphics, const ResponseModel& shown);

private:
    // Takes the copy of the plug-in's model under the instance lock.
    void copyModel();

    void drawLevelLines(EditorGraphics& graphics);
    void drawTicksAndCurves(EditorGraphics& graphics, const ResponseModel& shown);
    void drawMarkers(EditorGraphics& graphics, const ResponseModel& shown);
    void drawBypassSign(EditorGraphics& graphics);
    void drawBypassFrame(EditorGraphics& graphics, int shift, std::uint32_t colour);

    const ResponseModel& model_;
    int width_;
    int height_;
    int originX_;
    int originY_;

    // The copy each paint draws from: the engine state, bands and measured curve as they stood
    // when the paint began.
    EngineState shownState_;
    std::string shownPath_;
    ResponseModel shown_;

    // Curve values of the last paint, reused as scratch so painting allocates nothing.
    double eqDb_[kGridPoints] = {};
    double measuredDb_[kGridPoints] = {};
    double correctedDb_[kGridPoints] = {};

    TextStyle levelLabelStyle_;
    TextStyle tickLabelStyle_;
    TextStyle markerOnStyle_;
    TextStyle markerOffStyle_;
    TextStyle bypassStyle_;
};

}  // namespace corvalen::editor
