// The bank written straight from its definition, for comparison with the optimised audio path:
// frame by frame, channel 0 then channel 1, every enabled band in order, k = 1/a0 formed for
// every sample from the stored coefficients. Used by the tests and by the benchmark.
#pragma once

#include <cmath>

#include "engine/band_type_switch.h"
#include "engine/engine_state.h"
#include "engine/eq_band.h"
#include "engine/parameter_table.h"

namespace corvalen::reference {

inline double FilterSample(const corvalen::EqBand& band, corvalen::ChannelState& s, double x) {
    const double k = 1.0 / band.a0;
    const double y = (k * band.b0) * x + (k * band.b1) * s.x1 + (k * band.b2) * s.x2 -
                     (k * band.a1) * s.y1 - (k * band.a2) * s.y2;
    s.x2 = s.x1;
    s.x1 = x;
    s.y2 = s.y1;
    s.y1 = y;
    return y;
}

inline void ProcessBank(corvalen::EqBand* bands, const corvalen::EngineState& state,
                        const double* const* inputs, double* const* outputs, int frames) {
    for (int n = 0; n < frames; ++n) {
        for (int channel = 0; channel < 2; ++channel) {
            double x = inputs[channel][n];
            if (state.bypass == 0) {
                for (int k = 0; k < corvalen::kBandCount; ++k) {
                    if (state.bandEnabled[k] != 0)
                        x = FilterSample(bands[k], bands[k].channel[channel], x);
                }
            }
            outputs[channel][n] = std::pow(10.0, state.outputGainDb * 0.05) * x;
        }
    }
}

// The bank as the parameters describe it, tuned by the band's own coefficient formulas, with
// fresh filter memories: value(index) is the parameter's value in its own units.
template <class Value>
void TuneFromParameters(corvalen::EqBand* bands, corvalen::EngineState& state, double sampleRate,
                        Value value) {
    using namespace corvalen;
    for (int k = 0; k < kBandCount; ++k) {
        EqBand& band = bands[k];
        band.sampleRate = sampleRate;
        band.frequency = value(param::BandFrequency(k));
        band.gainDb = value(param::BandGain(k));
        band.q = value(param::BandQuality(k));
        band.type = kPeak;
        state.bandEnabled[k] = value(param::BandSwitch(k)) != 0.0 ? 1 : 0;
    }
    bands[0].type = Band1Type(value(param::kTypeBand1));
    bands[kBandCount - 1].type = Band12Type(value(param::kTypeBand12));
    for (int k = 0; k < kBandCount; ++k) {
        bands[k].channel[0] = bands[k].channel[1] = ChannelState{};
        bands[k].recompute();
    }
    SetOutputGain(state, value(param::kOut));
}

}  // namespace corvalen::reference
