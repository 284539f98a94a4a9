// The curves the response graph draws, in dB relative to the target, as functions of the model.
// The graph calls these and never evaluates a filter formula itself.
//
// Editor thread, no lock: they read the bands, flags and FR curve as they stand, so a redraw
// during a change may mix old and new values for one frame; the next redraw is whole.
#pragma once

#include "engine/response_model.h"

namespace corvalen {

// H_k(f) of band k (1..12): its magnitude response, or exactly 0 dB while the band is off. A
// band whose response is not a number (coefficients never computed, a rate not set) counts as
// 0 dB too, so no curve ever carries a NaN.
double BandCurveDb(const ResponseModel& model, int k, double hz);

// EQ(f): the sum of the twelve band responses. Ignores the bypass and the output gain.
double EqResponseDb(const ResponseModel& model, double hz);

// Grid point i of each layer.
double EqCurveDb(const ResponseModel& model, int i);
double MeasuredCurveDb(const ResponseModel& model, int i);   // FR[i] - reference level
double CorrectedCurveDb(const ResponseModel& model, int i);  // FR[i] + EQ(i) - reference level
double TargetCurveDb(const ResponseModel& model, int i);     // 0

// Whether the layer's switch is on.
bool LayerShown(const ResponseModel& model, CurveLayer layer);

// The three drawn layers at every grid point, EQ(i) evaluated once per point for both the EQ
// and the corrected curve (the graph's paint); each array holds pointCount() values.
void FillDrawnCurves(const ResponseModel& model, double* eq, double* measured, double* corrected);

// All N points of a layer at once (the EQ is evaluated once per point); out holds pointCount().
void FillCurve(const ResponseModel& model, CurveLayer layer, double* out);

}  // namespace corvalen
