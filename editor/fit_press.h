// What one press of the editor's FIT button does to its instance. The loaded measurement's
// curve, the reference level and the sample rate are copied under the instance lock; the bands
// are fitted with no lock held, so the audio thread never waits for the fit; then every
// parameter the fit changed reaches the host inside an edit gesture of its own (begin,
// automate, end), as if a user had set each control, so a DAW records the fit and can undo it.
#pragma once

namespace corvalen {
class PluginBase;
class ResponseModel;
class TextLink;
}  // namespace corvalen

namespace corvalen::editor {

// What the status text shows after a press without a measurement.
inline constexpr const char* kNoMeasurementToFit = "NO MEASUREMENT TO FIT";

struct FitPressResult {
    bool fitted = false;        // false: no measurement was loaded and nothing changed
    int changedParameters = 0;  // each pushed in a gesture of its own, the reference included
};

// Editor thread, no lock held. model is plugin's response model. With alignReference the
// reference level first moves to where the measurement best meets the target between 200 Hz
// and 2 kHz (pushed as a gesture too) and the bands are fitted at that level. Without a
// measurement (no path, or the flat curve a missing or empty file leaves) nothing changes and
// status (when not null) shows kNoMeasurementToFit; after a fit it is cleared.
FitPressResult PressFit(PluginBase& plugin, const ResponseModel& model, TextLink* status,
                        bool alignReference);

}  // namespace corvalen::editor
