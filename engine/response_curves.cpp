#include "engine/response_curves.h"

namespace corvalen {

double BandCurveDb(const ResponseModel& model, int k, double hz) {
  if (model.state().bandEnabled[k - 1] == 0) return 0.0;
  return model.band(k).responseDb(hz);
}

double EqResponseDb(const ResponseModel& model, double hz) {
  double sum = 0.0;
  for (int k = 1; k <= kBandCount; ++k) sum += BandCurveDb(model, k, hz);
  return sum;
}

double EqCurveDb(const ResponseModel& model, int i) {
  return EqResponseDb(model, model.gridFrequency(i));
}

double MeasuredCurveDb(const ResponseModel& model, int i) {
  return model.frCurve()[i] - model.state().referenceLevelDb;
}

double CorrectedCurveDb(const ResponseModel& model, int i) {
  return model.frCurve()[i] + EqCurveDb(model, i) - model.state().referenceLevelDb;
}

double TargetCurveDb(const ResponseModel&, int) { return 0.0; }

bool LayerShown(const ResponseModel& model, CurveLayer layer) {
  return model.state().layerShown[layer] != 0;
}

void FillCurve(const ResponseModel& model, CurveLayer layer, double* out) {
  const int n = model.pointCount();
  for (int i = 0; i < n; ++i) {
    switch (layer) {
      case kEqLayer: out[i] = EqCurveDb(model, i); break;
      case kMeasuredLayer: out[i] = MeasuredCurveDb(model, i); break;
      case kCorrectedLayer: out[i] = CorrectedCurveDb(model, i); break;
      default: out[i] = TargetCurveDb(model, i); break;
    }
  }
}

}  // namespace corvalen
