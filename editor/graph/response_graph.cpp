#include "editor/graph/response_graph.h"

#include <algorithm>
#include <cmath>

#include "editor/editor_graphics.h"
#include "engine/response_curves.h"
#include "shell/plugin_base.h"
#include "shell/reentrant_lock.h"

namespace corvalen::editor {
namespace {

TextStyle graphText(int size, std::uint32_t colour, std::uint8_t style, std::int8_t alignment) {
    TextStyle text;
    text.faceName = kGraphFace;
    text.size = size;
    text.colour = colour;
    text.style = style;
    text.alignment = alignment;
    return text;
}

// The bypass sign's outer box for a shift, and its inner panel.
struct BypassBox {
    int left, top, right, bottom;
};

BypassBox outerBox(int width, int height, int shift) {
    return {shift + static_cast<int>(kBypassLeft * width),
            shift + static_cast<int>(kBypassTop * height),
            shift + static_cast<int>(kBypassRight * width),
            shift + static_cast<int>(kBypassBottom * height)};
}

LayoutRect innerPanel(const BypassBox& box) {
    const int side = static_cast<int>(kBypassPanelSide * (box.right - box.left));
    const int end = static_cast<int>(kBypassPanelEnd * (box.bottom - box.top));
    return {box.left + side, box.top + end, box.right - side, box.bottom - end};
}

}  // namespace

ResponseGraph::ResponseGraph(const ResponseModel& model, const LayoutRect& rect)
    : EditorControl(rect),
      model_(model),
      width_(rect.right - rect.left),
      height_(rect.bottom - rect.top),
      originX_(rect.left),
      originY_(rect.top),
      shown_(shownState_, shownPath_),
      levelLabelStyle_(graphText(kGraphTextSize, kGridTextColour, 0, kAlignLeft)),
      tickLabelStyle_(graphText(kGraphTextSize, kGridTextColour, 0, kAlignLeft)),
      markerOnStyle_(
          graphText(kGraphTextSize, kMarkerNumberOnColour, kTextStyleBold, kAlignCentre)),
      markerOffStyle_(
          graphText(kGraphTextSize, kMarkerNumberOffColour, kTextStyleBold, kAlignCentre)),
      bypassStyle_(graphText(0, kBypassTextColour, kTextStyleBold, kAlignCentre)) {
    const LayoutRect panel = innerPanel(outerBox(width_, height_, 0));
    bypassStyle_.size = panel.bottom - panel.top - kBypassTextShrink;
}

void ResponseGraph::markDirty(bool push) { EditorControl::markDirty(push); }

void ResponseGraph::rescale(EditorGraphics&) {
    for (TextStyle* style :
         {&levelLabelStyle_, &tickLabelStyle_, &markerOnStyle_, &markerOffStyle_, &bypassStyle_}) {
        style->cachedFont = nullptr;
    }
}

void ResponseGraph::copyModel() {
    // Host and audio threads write bands, flags and the measured curve under the instance
    // lock; holding it for the copy keeps one picture from mixing two states.
    PluginBase* const owningPlugin = plugin();
    LockScope hold(owningPlugin != nullptr ? owningPlugin->Lock() : nullptr);
    shownState_ = model_.state();
    for (int k = 1; k <= kBandCount; ++k) shown_.band(k) = model_.band(k);
    std::copy(model_.frCurve(), model_.frCurve() + model_.pointCount(), shown_.frCurve());
}

LayoutRect ResponseGraph::drawnArea(EditorGraphics&) {
    // A curve point may sit on the bottom edge (only points below it are dropped), and the
    // soft line's outer pair lies two units beyond it; lines include their end points.
    LayoutRect area = rect();
    area.right += kCurveOverhang;
    area.bottom += kCurveOverhang;
    return area;
}

void ResponseGraph::paint(EditorGraphics& graphics) {
    copyModel();
    paintModel(graphics, shown_);
}

void ResponseGraph::paintModel(EditorGraphics& graphics, const ResponseModel& shown) {
    drawLevelLines(graphics);
    if (LayerShown(shown, kTargetLayer)) {
        graphics.dashedLine(originX_, originX_ + width_, originY_ + height_ / 2);
    }
    drawTicksAndCurves(graphics, shown);
    drawMarkers(graphics, shown);
    if (shown.state().bypass == 1) drawBypassSign(graphics);
}

void ResponseGraph::drawLevelLines(EditorGraphics& graphics) {
    for (const LevelLine& level : kLevelLines) {
        const int y = originY_ + LevelY(level.db, height_);
        graphics.thickLine(kGridColour, originX_, y, originX_ + width_, y, 0, true, kGridLineAlpha);
        graphics.drawText(levelLabelStyle_, level.label,
                          {originX_, y, originX_ + kLevelLabelBox, y + kLevelLabelBox});
    }
}

void ResponseGraph::drawTicksAndCurves(EditorGraphics& graphics, const ResponseModel& shown) {
    FillDrawnCurves(shown, eqDb_, measuredDb_, correctedDb_);
    const bool eqShown = LayerShown(shown, kEqLayer);
    const bool measuredShown = LayerShown(shown, kMeasuredLayer);
    const bool correctedShown = LayerShown(shown, kCorrectedLayer);
    const int bottom = originY_ + height_;

    std::size_t nextTick = 0;
    int previousX = 0, previousEq = 0, previousMeasured = 0, previousCorrected = 0;
    for (int i = 0; i < shown.pointCount(); ++i) {
        const int x = originX_ + PointX(i, width_);
        if (nextTick < kFrequencyTicks.size() &&
            TickFallsOn(kFrequencyTicks[nextTick].hz, shown.gridFrequency(i))) {
            graphics.thickLine(kGridColour, x, originY_, x, bottom, 0, true, kGridLineAlpha);
            if (nextTick < kLabelledTickCount) {
                graphics.fillRectAlpha(kGridColour,
                                       {x, bottom - kLabelBoxHeight, x + kLabelBoxWidth, bottom},
                                       kLabelBoxAlpha);
                graphics.drawText(tickLabelStyle_, kFrequencyTicks[nextTick].label,
                                  {x + kLabelTextInset, bottom - kLabelTextRise,
                                   x + kLabelTextInset + kLabelTextWidth, bottom});
            }
            ++nextTick;
        }

        const int eq = originY_ + LevelY(eqDb_[i], height_);
        const int measured = originY_ + LevelY(measuredDb_[i], height_);
        const int corrected = originY_ + LevelY(correctedDb_[i], height_);
        // A point below the graph is not drawn to, but the next segment still starts from it,
        // so a curve coming back rises from below the bottom edge. Points above the top are
        // left to the drawing layer's clipping.
        if (i > 0) {
            if (measuredShown && measured <= bottom)
                graphics.softLine(kMeasuredColour, previousX, previousMeasured, x, measured);
            if (correctedShown && corrected <= bottom)
                graphics.softLine(kCorrectedColour, previousX, previousCorrected, x, corrected);
            if (eqShown && eq <= bottom) graphics.softLine(kEqColour, previousX, previousEq, x, eq);
        }
        previousX = x;
        previousEq = eq;
        previousMeasured = measured;
        previousCorrected = corrected;
    }
}

void ResponseGraph::drawMarkers(EditorGraphics& graphics, const ResponseModel& shown) {
    // Markers show every band's setting, on or off, whatever the layers show.
    for (int k = 1; k <= kBandCount; ++k) {
        const EqBand& band = shown.band(k);
        const int column = MarkerColumn(band.frequency);
        if (column < 0 || !std::isfinite(band.gainDb)) continue;
        const bool on = shown.state().bandEnabled[k - 1] != 0;
        const float alpha = on ? 1.0f : kMarkerOffAlpha;
        const float x = static_cast<float>(originX_ + PointX(column, width_));
        const float y = static_cast<float>(originY_) + MarkerY(band.gainDb, height_, 0);
        graphics.fillDisc(x, y, kMarkerOuterRadius, kMarkerOuterColour, alpha);
        graphics.fillDisc(x, y, kMarkerInnerRadius, kMarkerInnerColour, alpha);

        char number[3] = {0, 0, 0};
        if (k >= 10) {
            number[0] = '1';
            number[1] = static_cast<char>('0' + k - 10);
        } else {
            number[0] = static_cast<char>('0' + k);
        }
        const int cx = static_cast<int>(x);
        const int cy = static_cast<int>(y);
        graphics.drawText(on ? markerOnStyle_ : markerOffStyle_, number,
                          {cx + kMarkerNumberBox.left, cy + kMarkerNumberBox.top,
                           cx + kMarkerNumberBox.right, cy + kMarkerNumberBox.bottom});
    }
}

void ResponseGraph::drawBypassSign(EditorGraphics& graphics) {
    drawBypassFrame(graphics, kBypassShadowShift, kBypassShadowColour);
    drawBypassFrame(graphics, 0, kBypassSignColour);
    LayoutRect panel = innerPanel(outerBox(width_, height_, 0));
    panel.left += originX_;
    panel.right += originX_;
    panel.top += originY_;
    panel.bottom += originY_;
    graphics.drawText(bypassStyle_, kBypassText, panel);
}

void ResponseGraph::drawBypassFrame(EditorGraphics& graphics, int shift, std::uint32_t colour) {
    BypassBox box = outerBox(width_, height_, shift);
    box.left += originX_;
    box.right += originX_;
    box.top += originY_;
    box.bottom += originY_;
    graphics.fillRectAlpha(colour, {box.left, box.top, box.left + kBypassSideBar, box.bottom},
                           1.0f);
    graphics.fillRectAlpha(colour, {box.right - kBypassSideBar, box.top, box.right, box.bottom},
                           1.0f);
    graphics.fillRectAlpha(colour, {box.left, box.top, box.right, box.top + kBypassEndBar}, 1.0f);
    graphics.fillRectAlpha(colour, {box.left, box.bottom - kBypassEndBar, box.right, box.bottom},
                           1.0f);

    // Stripes along x + y = c, lower left to upper right, each of the 33 lines of a stripe
    // cut to the inset box (last unit inside: right - 21, bottom - 21).
    const int left = box.left + kBypassHatchInset;
    const int top = box.top + kBypassHatchInset;
    const int right = box.right - kBypassHatchInset - 1;
    const int bottom = box.bottom - kBypassHatchInset - 1;
    for (int stripe = left + top + kBypassHatchPeriod; stripe - kBypassHatchExtra <= right + bottom;
         stripe += kBypassHatchPeriod) {
        // A 45-degree line widens sideways: its parallels are x + y = stripe + n.
        for (int n = -kBypassHatchExtra; n <= kBypassHatchExtra; ++n) {
            const int sum = stripe + n;
            const int x1 = std::max(left, sum - bottom);
            const int x2 = std::min(right, sum - top);
            if (x1 > x2) continue;
            graphics.thickLine(colour, x1, sum - x1, x2, sum - x2, 0, false, 1.0f);
        }
    }

    const LayoutRect panel = innerPanel(box);
    graphics.fillRectAlpha(colour, panel, 1.0f);
}

}  // namespace corvalen::editor
