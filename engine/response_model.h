// The response model: the twelve bands the audio path filters through, the frequency grid, the
// measured (FR) curve resampled onto it, and read-only views of the engine state the curves
// depend on. The plug-in owns it for the instance's whole life, so the audio path, the change
// handler and the measurement reader share one set of bands and one FR curve whether or not an
// editor exists; the editor's graph only views it.
#pragma once

#include <string>

#include "engine/engine_state.h"
#include "engine/eq_band.h"
#include "engine/frequency_grid.h"

namespace corvalen {

class ResponseModel {
public:
    // Plug-in constructor. The referenced state and path belong to the plug-in object and outlive
    // the model; the path is the file button's string once the editor exists.
    ResponseModel(const EngineState& state, const std::string& measurementPath);
    ResponseModel(const ResponseModel&) = delete;
    ResponseModel& operator=(const ResponseModel&) = delete;

    // Band k, 1..12 (f1 .. f12).
    EqBand& band(int k) { return bands_[k - 1]; }
    const EqBand& band(int k) const { return bands_[k - 1]; }
    EqBand* bands() { return bands_; }

    int pointCount() const { return pointCount_; }
    // f(i), cached at construction.
    double gridFrequency(int i) const { return gridHz_[i]; }
    const double* gridFrequencies() const { return gridHz_; }

    // Measured level in dB at f(i); rewritten whole by LoadMeasurement.
    double* frCurve() { return frCurve_; }
    const double* frCurve() const { return frCurve_; }

    const EngineState& state() const { return state_; }
    const std::string& measurementPath() const { return measurementPath_; }

private:
    EqBand bands_[kBandCount];
    int pointCount_ = kGridPoints;
    double frCurve_[kGridPoints] = {};
    double gridHz_[kGridPoints];
    const EngineState& state_;
    const std::string& measurementPath_;
};

}  // namespace corvalen
