#include "engine/eq_band.h"

#include "engine/band_formulas.h"

namespace corvalen {

void EqBand::recompute() { band_formulas::Recompute<RuntimeMaths>(*this); }

double EqBand::responsePhi(double hz) const {
    return band_formulas::ResponsePhi<RuntimeMaths>(hz, sampleRate);
}

double EqBand::responseDbAtPhi(double phi) const {
    return band_formulas::ResponseDbAtPhi<RuntimeMaths>(*this, phi);
}

}  // namespace corvalen
