// One program of the equaliser as the preset tool sees it: twelve bands, the output level, the
// bypass switch, the reference level and the measurement path, in natural units.
#pragma once

#include <array>
#include <string>

#include "engine/engine_state.h"
#include "engine/parameter_table.h"
#include "tools/preset/parametric_text.h"

namespace corvalen::preset {

struct BandSetting {
    bool on = false;
    FilterShape shape = FilterShape::Peak;
    double frequencyHz = 0.0;
    double gainDb = 0.0;
    double q = 0.0;

    bool operator==(const BandSetting& other) const {
        return on == other.on && shape == other.shape && frequencyHz == other.frequencyHz &&
               gainDb == other.gainDb && q == other.q;
    }
};

struct PresetProgram {
    std::array<BandSetting, kBandCount> bands{};
    double outputDb = 0.0;
    bool equaliserBypassed = false;
    // The measured level the graph shows on the target line (targetResponses).
    double referenceLevelDb = 0.0;
    std::string measurementPath;

    bool operator==(const PresetProgram& other) const {
        return bands == other.bands && outputDb == other.outputDb &&
               equaliserBypassed == other.equaliserBypassed &&
               referenceLevelDb == other.referenceLevelDb &&
               measurementPath == other.measurementPath;
    }
};

// A band that does nothing however it is switched: off, and at 0 dB (a 0 dB peak or shelf
// passes the signal unchanged).
inline bool IsUnused(const BandSetting& band) { return !band.on && band.gainDb == 0.0; }

}  // namespace corvalen::preset
