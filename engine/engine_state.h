// The values the parameter-change handler records for the audio path and the response graph.
// Written only by OnParamChange; read by ProcessBlock (instance lock held) and by the graph
// (editor thread, no lock).
#pragma once

#include <cmath>
#include <cstdint>

namespace corvalen {

// The equaliser's bands: the parameter table, the audio path, the curves and the editor all
// count them from here.
inline constexpr int kBandCount = 12;
// What each band is set by: frequency, gain and Q, in that order wherever they are listed.
inline constexpr int kValuesPerBand = 3;

enum CurveLayer : int {
    kEqLayer = 0,         // "EQ_grafico": the equaliser curve
    kMeasuredLayer = 1,   // "FR_grafico": the measurement
    kCorrectedLayer = 2,  // "FRyEQ_grafico": the measurement with the equaliser
    kTargetLayer = 3,     // "TARGET_grafico": the flat target line
    kLayerCount = 4,
};

struct EngineState {
    std::uint8_t bandEnabled[kBandCount] = {};
    std::uint8_t layerShown[kLayerCount] = {};
    std::uint8_t separator = 0;  // 0 comma, 1 tab
    double referenceLevelDb = 0.0;
    double outputGainDb = 0.0;
    // 10^(outputGainDb / 20): formed where the gain changes (SetOutputGain), so a block needs
    // no power function (one pow of the MinGW C runtime costs as much as filtering ten frames).
    double outputGainFactor = 1.0;
    std::uint8_t bypass = 0;
    std::uint8_t splash = 0;
};

inline void SetOutputGain(EngineState& state, double gainDb) {
    state.outputGainDb = gainDb;
    state.outputGainFactor = std::pow(10.0, gainDb * 0.05);
}

}  // namespace corvalen
