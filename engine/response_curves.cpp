#include "engine/response_curves.h"

#include <cmath>

namespace corvalen {
namespace {

double Corrected(double frDb, double eqDb, double referenceDb) { return frDb + eqDb - referenceDb; }

}  // namespace

double BandCurveDb(const ResponseModel& model, int k, double hz) {
    if (model.state().bandEnabled[k - 1] == 0) return 0.0;
    const double db = model.band(k).responseDb(hz);
    return std::isfinite(db) ? db : 0.0;
}

double EqResponseDb(const ResponseModel& model, double hz) {
    // BandCurveDb for every band, with the sine taken once for each run of bands at one rate.
    double sum = 0.0;
    double phiRate = 0.0;
    double phi = 0.0;
    bool havePhi = false;
    for (int k = 1; k <= kBandCount; ++k) {
        if (model.state().bandEnabled[k - 1] == 0) continue;  // adds 0 dB
        const EqBand& band = model.band(k);
        if (!havePhi || !(band.sampleRate == phiRate)) {
            phi = band.responsePhi(hz);
            phiRate = band.sampleRate;
            havePhi = true;
        }
        const double db = band.responseDbAtPhi(phi);
        sum += std::isfinite(db) ? db : 0.0;
    }
    return sum;
}

double EqCurveDb(const ResponseModel& model, int i) {
    return EqResponseDb(model, model.gridFrequency(i));
}

double MeasuredCurveDb(const ResponseModel& model, int i) {
    return model.frCurve()[i] - model.state().referenceLevelDb;
}

double CorrectedCurveDb(const ResponseModel& model, int i) {
    return Corrected(model.frCurve()[i], EqCurveDb(model, i), model.state().referenceLevelDb);
}

double TargetCurveDb(const ResponseModel&, int) { return 0.0; }

bool LayerShown(const ResponseModel& model, CurveLayer layer) {
    return model.state().layerShown[layer] != 0;
}

void FillDrawnCurves(const ResponseModel& model, double* eq, double* measured, double* corrected) {
    const int n = model.pointCount();
    const double reference = model.state().referenceLevelDb;
    for (int i = 0; i < n; ++i) {
        eq[i] = EqCurveDb(model, i);
        measured[i] = MeasuredCurveDb(model, i);
        corrected[i] = Corrected(model.frCurve()[i], eq[i], reference);
    }
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
