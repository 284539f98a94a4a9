// The response graph and its legend, painted headless at full size (one layout unit per
// pixel) and probed where a person would look. Expected positions come from
// data/make_graph_reference.py, an independent computation of the grid, the peak's response
// and the bypass sign's geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "editor/graph/graph_legend.h"
#include "editor/graph/response_graph.h"
#include "engine/parameter_table.h"
#include "engine/response_curves.h"
#include "graph_picture.h"
#include "open_plugin.h"

namespace corvalen::editor {
namespace {

#include "data/graph_reference.inc"

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;

// A model of its own, every band switched on but only those a test tunes holding real
// coefficients: the others keep their -666 placeholders.
class StandaloneModel {
public:
    StandaloneModel() {
        for (auto& on : state.bandEnabled) on = 1;
    }
    void showOnly(std::initializer_list<CurveLayer> layers) {
        for (auto& shown : state.layerShown) shown = 0;
        for (CurveLayer layer : layers) state.layerShown[layer] = 1;
    }
    void tune(int k, double hz, double gainDb, double q) {
        EqBand& band = model.band(k);
        band.frequency = hz;
        band.gainDb = gainDb;
        band.q = q;
        band.type = kPeak;
        band.recompute();
    }
    EngineState state;
    std::string path;
    ResponseModel model{state, path};
};

void paintGraph(GraphPicture& picture, const ResponseModel& model,
                const LayoutRect& rect = kGraphRect) {
    ResponseGraph graph(model, rect);
    graph.paint(picture.graphics);
}

TEST(ResponseGraphScale, PositionsMatchTheIndependentComputation) {
    for (const MarkerCase& c : kMarkerCases) {
        const int column = MarkerColumn(c.hz);
        EXPECT_EQ(column < 0 ? -1 : PointX(column, 1600), c.x) << c.hz;
        EXPECT_NEAR(MarkerY(c.gainDb, 640, 0), c.y, 1e-4) << c.gainDb;
    }
    EXPECT_EQ(MarkerColumn(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(MarkerColumn(GridFrequency(391, kGridPoints)), -1);  // strict on both sides
    // Ticks are matched in order against the points; the last one is never reached.
    std::size_t next = 0;
    for (int i = 0; i < kGridPoints; ++i) {
        if (next < kFrequencyTicks.size() &&
            TickFallsOn(kFrequencyTicks[next].hz, GridFrequency(i, kGridPoints))) {
            ASSERT_LT(next, std::size(kTickX));
            EXPECT_EQ(PointX(i, 1600), kTickX[next]) << kFrequencyTicks[next].label;
            ++next;
        }
    }
    EXPECT_EQ(next, std::size(kTickX));
    // Levels: truncated toward zero; not a number lands below; beyond any curve is held.
    EXPECT_EQ(LevelY(-12.0, 640), 479);
    EXPECT_EQ(LevelY(12.0, 640), 160);
    EXPECT_EQ(LevelY(std::numeric_limits<double>::quiet_NaN(), 640), 641);
    EXPECT_EQ(LevelY(std::numeric_limits<double>::infinity(), 640), LevelY(kLevelLimitDb, 640));
    EXPECT_EQ(LevelY(-std::numeric_limits<double>::infinity(), 640), LevelY(-kLevelLimitDb, 640));
}

TEST(ResponseGraphCurves, PlaceholdersAndNonFiniteValuesNeverReachACurve) {
    StandaloneModel m;
    // 16 kHz is a third of the rate, where the placeholders' numerator and denominator are 0.
    EXPECT_TRUE(std::isnan(m.model.band(3).responseDb(16000.0)) ||
                m.model.band(3).responseDb(16000.0) == 0.0);
    EXPECT_EQ(BandCurveDb(m.model, 3, 16000.0), 0.0);
    m.model.band(2).sampleRate = 0.0;  // sin(inf): not a number
    m.tune(2, 1000.0, 6.0, 1.0);
    double eq[kGridPoints], measured[kGridPoints], corrected[kGridPoints];
    FillDrawnCurves(m.model, eq, measured, corrected);
    for (int i = 0; i < kGridPoints; ++i) {
        ASSERT_EQ(eq[i], 0.0) << i;
        ASSERT_EQ(corrected[i], 0.0) << i;
    }
    // The one-pass fill agrees bit for bit with the per-layer curves.
    m.tune(5, 700.0, -9.0, 2.0);
    m.model.frCurve()[200] = 71.25;
    m.state.referenceLevelDb = 3.5;
    FillDrawnCurves(m.model, eq, measured, corrected);
    double layer[kGridPoints];
    for (CurveLayer kind : {kEqLayer, kMeasuredLayer, kCorrectedLayer}) {
        FillCurve(m.model, kind, layer);
        const double* drawn = kind == kEqLayer ? eq : kind == kMeasuredLayer ? measured : corrected;
        for (int i = 0; i < kGridPoints; ++i) ASSERT_EQ(layer[i], drawn[i]) << kind << " " << i;
    }
}

TEST(ResponseGraphPicture, NonFiniteInputsDrawNoNanAndKeepTheRest) {
    StandaloneModel m;
    m.model.band(4).frequency = std::numeric_limits<double>::quiet_NaN();
    m.model.band(5).frequency = 1000.0;
    m.model.band(5).gainDb = std::numeric_limits<double>::infinity();
    m.model.frCurve()[10] = std::numeric_limits<double>::quiet_NaN();
    m.model.frCurve()[20] = std::numeric_limits<double>::infinity();
    m.model.frCurve()[30] = -std::numeric_limits<double>::infinity();
    m.showOnly({kEqLayer, kMeasuredLayer});
    GraphPicture picture;
    paintGraph(picture, m.model);
    EXPECT_EQ(picture.at(500, 320), kEqColour);               // the placeholder bands add 0 dB
    EXPECT_NE(picture.at(780, 320 + 8), kMarkerInnerColour);  // no marker for an infinite gain
}

TEST(ResponseGraphPicture, DefaultPluginShowsTheFlatEqLineWithTwelveMarkers) {
    auto plugin = testing_support::MakeOpenPlugin();
    for (int shift : {0, 1}) {
        GraphPicture picture(shift);
        picture.graphics.setPlugin(plugin.get());
        auto* graph = picture.graphics.attach(std::make_unique<ResponseGraph>(*plugin->Model()));
        graph->rescale(picture.graphics);
        picture.graphics.paint(kGraphRect);
        // At half size the soft line's 1-unit pairs fall on the line's own pixel row; the
        // blend of the colour over itself at one half ((c >> 1) + (c >> 1)) may drop the low
        // bit of each byte.
        for (int x : {40, 220, 500, 650, 1200, 1520}) {
            const std::uint32_t p = picture.at(x >> shift, 320 >> shift);
            for (int byte = 0; byte < 32; byte += 8) {
                EXPECT_NEAR(static_cast<int>((p >> byte) & 0xFF),
                            static_cast<int>((kEqColour >> byte) & 0xFF), shift)
                    << x;
            }
        }
        for (int x : kDefaultMarkerX) {
            const int px = std::min(x >> shift, picture.graphics.drawBitmap().width() - 1);
            // Discs are drawn in pixels: radii 14 and 12 at full size, 7 and 6 at half size.
            EXPECT_EQ(picture.at(px, (320 >> shift) + 8 / (1 << shift)), kMarkerInnerColour) << x;
            if (shift == 0) {
                EXPECT_EQ(picture.at(px, 320 + 13), kMarkerOuterColour) << x;
            }
            if (x != 0) {  // the 20 Hz tick line runs under the first marker
                EXPECT_EQ(picture.at(px, (320 >> shift) + 16 / (1 << shift)), kGraphBackground)
                    << x;
            }
        }
    }
}

TEST(ResponseGraphPicture, MarkersAtTheEdgesAreClampedAndOffBandsDimmed) {
    StandaloneModel m;
    m.showOnly({});
    // 20 Hz at +24 dB, 20 kHz at -24 dB, 1 kHz at 0 dB, and 3 kHz at +23.9 dB switched off.
    const std::size_t cases[] = {0, 1, 2, 7};
    for (int k = 1; k <= 4; ++k) {
        m.model.band(k).frequency = kMarkerCases[cases[k - 1]].hz;
        m.model.band(k).gainDb = kMarkerCases[cases[k - 1]].gainDb;
    }
    m.state.bandEnabled[3] = 0;
    GraphPicture picture;
    paintGraph(picture, m.model);
    for (int k = 1; k <= 4; ++k) {
        const MarkerCase& c = kMarkerCases[cases[k - 1]];
        const int x = std::min(c.x, 1599);  // the 20 kHz disc is cut by the right edge
        const std::uint32_t inner = picture.at(x, static_cast<int>(c.y) + 8);
        if (k != 4) {
            EXPECT_EQ(inner, kMarkerInnerColour) << k;
        } else {
            // Half of 0x1F over half of 0x64 over the background's 0x30.
            EXPECT_NEAR(static_cast<int>((inner >> 16) & 0xFF), 0x34, 2);
        }
    }
    EXPECT_EQ(picture.at(0, 2), kMarkerOuterColour);  // +24 dB: the disc's top stays inside
}

TEST(ResponseGraphPicture, PeakAndMeasurementCurvesLieWhereTheResponseSays) {
    StandaloneModel m;
    m.tune(6, 1000.0, 12.0, 1.0);
    for (int i = 0; i < kGridPoints; ++i) m.model.frCurve()[i] = 85.0;
    m.state.referenceLevelDb = 85.0;
    struct Case {
        std::initializer_list<CurveLayer> layers;
        std::uint32_t atPeak;    // colour on the EQ curve's positions
        std::uint32_t atCentre;  // colour on the 0 dB line at the same columns
    };
    const Case cases[] = {
        {{kEqLayer}, kEqColour, 0},
        {{kMeasuredLayer, kCorrectedLayer}, kCorrectedColour, kMeasuredColour},
        {{kEqLayer, kMeasuredLayer, kCorrectedLayer}, kEqColour, kMeasuredColour},
    };
    for (const Case& c : cases) {
        m.showOnly(c.layers);
        GraphPicture picture;
        paintGraph(picture, m.model);
        for (const CurveProbe& probe : kPeakProbes) {
            EXPECT_EQ(picture.at(probe.x, probe.y), c.atPeak) << probe.x;
            if (c.atCentre != 0 && std::abs(probe.y - 320) > 4) {
                EXPECT_EQ(picture.at(probe.x, 320), c.atCentre) << probe.x;
            }
        }
        EXPECT_EQ(picture.at(kPeakMarkerX, 160 + 8), kMarkerInnerColour);
    }
}

TEST(ResponseGraphPicture, TicksStopBeforeTheRightEdge) {
    StandaloneModel m;
    m.showOnly({});
    // Moved 100 units left, the 20 kHz tick would land at x = 1500, inside the bitmap.
    GraphPicture picture;
    paintGraph(picture, m.model, {-100, 0, 1500, 640});
    for (int x : kTickX) {
        if (x < 100) continue;
        EXPECT_NE(picture.at(x - 100, 100), kGraphBackground) << x;       // the line
        EXPECT_NE(picture.at(x - 100 + 40, 630), kGraphBackground) << x;  // its label box
    }
    for (int x = 1500; x < 1600; ++x) {
        EXPECT_EQ(picture.at(x, 100), kGraphBackground) << x;
        EXPECT_EQ(picture.at(x, 630), kGraphBackground) << x;
    }
}

TEST(ResponseGraphPicture, BypassSignCoversTheMiddleAndLeavesTheRest) {
    StandaloneModel m;
    m.tune(6, 1000.0, 12.0, 1.0);
    m.showOnly({kEqLayer});
    m.state.bypass = 1;
    GraphPicture picture;
    paintGraph(picture, m.model);
    const int left = kBypassCover[0], top = kBypassCover[1], right = kBypassCover[2],
              bottom = kBypassCover[3];
    // White bars, the shadow's black beyond them, nothing drawn past the cover.
    EXPECT_EQ(picture.at(left, top), kWhite);
    EXPECT_EQ(picture.at(left + 89, 300), kWhite);
    EXPECT_EQ(picture.at(1199, 300), kWhite);
    EXPECT_EQ(picture.at(700, top + 29), kWhite);
    EXPECT_EQ(picture.at(right - 1, bottom - 1), kBlack);
    EXPECT_EQ(picture.at(1205, 300), kBlack);
    EXPECT_EQ(picture.at(left + 15, bottom - 5), kBlack);
    EXPECT_EQ(picture.at(right, 400), kGraphBackground);
    EXPECT_EQ(picture.at(left - 1, 400), kGraphBackground);
    EXPECT_EQ(picture.at(700, top - 1), kGraphBackground);
    EXPECT_EQ(picture.at(700, bottom), kGraphBackground);
    // A white stripe on x + y = 732, the graph showing between stripes.
    EXPECT_EQ(picture.at(500, 232), kWhite);
    EXPECT_EQ(picture.at(540, 242), kGraphBackground);
    // "BYPASSED" in black, centred in the white panel.
    int inkLeft = 1600, inkRight = -1, inkTop = 1054, inkBottom = -1;
    for (int y = kBypassPanel[1]; y < kBypassPanel[3]; ++y) {
        for (int x = kBypassPanel[0]; x < kBypassPanel[2]; ++x) {
            const std::uint32_t p = picture.at(x, y);
            ASSERT_EQ(p & 0xFF000000u, 0xFF000000u);
            ASSERT_EQ((p >> 16) & 0xFF, p & 0xFF) << x << "," << y;  // grey only: text on white
            if ((p & 0xFF) < 0x80) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
    }
    ASSERT_GE(inkRight, 0);
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, 800.0, 4.0);
    EXPECT_GT(inkRight - inkLeft, 250);  // 94-unit capitals across most of the panel
    EXPECT_GT(inkTop, kBypassPanel[1]);
    EXPECT_LT(inkBottom, kBypassPanel[3] - 1);
    // Curves and markers outside the sign stay.
    EXPECT_EQ(picture.at(kPeakProbes[0].x, kPeakProbes[0].y), kEqColour);
    EXPECT_EQ(picture.at(kPeakProbes[12].x, kPeakProbes[12].y), kEqColour);
    EXPECT_EQ(picture.at(kPeakMarkerX, 160 + 8), kMarkerInnerColour);
}

TEST(GraphLegendPicture, FourRowsTwoRowHeightsApart) {
    GraphPicture picture;
    GraphLegend legend;
    legend.paint(picture.graphics);
    const int rowTops[] = {24, 72, 120, 168};
    const std::uint32_t lines[] = {kEqColour, kCorrectedColour, kMeasuredColour,
                                   EditorGraphics::kDashColour};
    for (int row = 0; row < 4; ++row) {
        const int y = rowTops[row] + 12;
        for (int dy : {-1, 0, 1}) {
            if (row == 3 && dy != 0) continue;  // the dashes are one unit high
            EXPECT_EQ(picture.at(1356 + 2, y + dy), lines[row]) << row;
            EXPECT_EQ(picture.at(1356 + 74, y + dy), lines[row]) << row;
        }
        EXPECT_EQ(picture.at(1356 + 84, y), kGraphBackground) << row;
        EXPECT_EQ(picture.at(1356 + 2, y + 3), kGraphBackground) << row;
        bool text = false;
        for (int ty = rowTops[row]; ty < rowTops[row] + 24; ++ty)
            for (int tx = 1464; tx < 1540; ++tx) text |= picture.at(tx, ty) == kWhite;
        EXPECT_TRUE(text) << row;
        for (int tx = 1356; tx < 1540; ++tx)
            EXPECT_EQ(picture.at(tx, rowTops[row] + 36), kGraphBackground) << row;
    }
}

}  // namespace
}  // namespace corvalen::editor
