#include "editor/fit_press.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/editor_links.h"
#include "engine/fit/correction_fit.h"
#include "engine/frequency_grid.h"
#include "engine/parameter_table.h"
#include "engine/response_model.h"
#include "shell/plugin_base.h"
#include "shell/reentrant_lock.h"

namespace corvalen::editor {
namespace {

// A value per parameter, by host index.
using ParameterValues = std::array<double, param::kCount>;

// What the fit reads, copied under the instance lock so it can run without it.
struct FitInput {
    std::array<double, kGridPoints> curve{};
    double referenceDb = 0.0;
    double sampleRate = 0.0;
    bool measured = false;
    ParameterValues normalised{};  // every parameter as it stood
};

// A missing or unreadable file leaves the curve flat at exactly 0 dB; a real measurement never
// is, so a flat curve counts as none.
bool HoldsMeasurement(const std::string& path, const std::array<double, kGridPoints>& curve) {
    if (path.empty()) return false;
    for (double level : curve) {
        if (level != 0.0) return true;
    }
    return false;
}

FitInput CopyFitInput(PluginBase& plugin, const ResponseModel& model) {
    FitInput input;
    LockScope hold(plugin.Lock());
    std::copy(model.frCurve(), model.frCurve() + kGridPoints, input.curve.begin());
    input.referenceDb = model.state().referenceLevelDb;
    input.sampleRate = plugin.SampleRate();
    input.measured = HoldsMeasurement(model.measurementPath(), input.curve);
    for (int index = 0; index < param::kCount; ++index) {
        const ParamSpec* param = plugin.Param(index);
        input.normalised[static_cast<std::size_t>(index)] =
            param != nullptr ? param->GetNormalised() : 0.0;
    }
    return input;
}

// One parameter as a user's gesture on its control: begin, then under the lock the value
// (set, automate, change handler) and every control bound to it, then end.
void PushAsGesture(PluginBase& plugin, int index, double normalised) {
    plugin.BeginEdit(index, true);
    {
        LockScope hold(plugin.Lock());
        plugin.ApplyEditorChange(index, normalised);
        const ParamSpec* param = plugin.Param(index);
        if (plugin.Editor() != nullptr && param != nullptr)
            plugin.Editor()->SetControlsForParameter(index, param->GetNormalised());
    }
    plugin.EndEdit(index);
}

// The fitter's choice in natural units; NaN for a parameter it leaves alone.
ParameterValues FittedValues(const FitInput& input, const ResponseModel& model) {
    ParameterValues values;
    values.fill(std::numeric_limits<double>::quiet_NaN());
    FitRequest request;
    request.measuredDb = input.curve.data();
    request.gridHz = model.gridFrequencies();
    request.points = kGridPoints;
    request.referenceDb = input.referenceDb;
    request.sampleRate = input.sampleRate;
    for (const FitParameterValue& chosen : FitParameterValues(FitCorrection(request))) {
        if (chosen.index >= 0 && chosen.index < param::kCount)
            values[static_cast<std::size_t>(chosen.index)] = chosen.value;
    }
    return values;
}

// The order in which the changed parameters reach the plug-in. The host may run audio blocks
// between two pushes, so the quieter changes go first: a lower output level before any band
// changes, bands switched off before the others are retuned and switched on after them, a
// higher output level last. No block hears the new boosts at the old output level.
std::vector<int> PushOrder(const FitInput& input, const ParameterValues& target) {
    auto changed = [&](int index) {
        const double value = target[static_cast<std::size_t>(index)];
        return !std::isnan(value) && value != input.normalised[static_cast<std::size_t>(index)];
    };
    auto rises = [&](int index) {
        return target[static_cast<std::size_t>(index)] >
               input.normalised[static_cast<std::size_t>(index)];
    };
    auto isSwitch = [](int index) {
        return index >= param::kFirstBandSwitch && index < param::kFirstBandSwitch + kBandCount;
    };
    std::vector<int> order;
    if (changed(param::kOut) && !rises(param::kOut)) order.push_back(param::kOut);
    for (int index = 0; index < param::kCount; ++index) {
        if (changed(index) && isSwitch(index) && !rises(index)) order.push_back(index);
    }
    for (int index = 0; index < param::kCount; ++index) {
        if (changed(index) && !isSwitch(index) && index != param::kOut) order.push_back(index);
    }
    for (int index = 0; index < param::kCount; ++index) {
        if (changed(index) && isSwitch(index) && rises(index)) order.push_back(index);
    }
    if (changed(param::kOut) && rises(param::kOut)) order.push_back(param::kOut);
    return order;
}

void ShowStatus(PluginBase& plugin, TextLink* status, const char* text) {
    if (status == nullptr) return;
    LockScope hold(plugin.Lock());
    status->setText(text);
}

}  // namespace

FitPressResult PressFit(PluginBase& plugin, const ResponseModel& model, TextLink* status,
                        bool alignReference) {
    FitPressResult result;
    FitInput input = CopyFitInput(plugin, model);
    if (!input.measured) {
        ShowStatus(plugin, status, kNoMeasurementToFit);
        return result;
    }
    if (alignReference) {
        const ParamSpec* level = plugin.Param(param::kTargetResponses);
        const double aligned =
            AlignedReferenceLevel(input.curve.data(), model.gridFrequencies(), kGridPoints);
        const double normalised = level->Normalise(aligned);
        if (normalised != input.normalised[param::kTargetResponses]) {
            PushAsGesture(plugin, param::kTargetResponses, normalised);
            ++result.changedParameters;
        }
        // The level the engine now holds, as the graph draws against it.
        LockScope hold(plugin.Lock());
        input.referenceDb = model.state().referenceLevelDb;
    }
    const ParameterValues fitted = FittedValues(input, model);
    ParameterValues target;
    for (int index = 0; index < param::kCount; ++index) {
        const double value = fitted[static_cast<std::size_t>(index)];
        const ParamSpec* param = plugin.Param(index);
        target[static_cast<std::size_t>(index)] =
            std::isnan(value) || param == nullptr ? value : param->Normalise(value);
    }
    for (int index : PushOrder(input, target)) {
        PushAsGesture(plugin, index, target[static_cast<std::size_t>(index)]);
        ++result.changedParameters;
    }
    ShowStatus(plugin, status, "");
    result.fitted = true;
    return result;
}

}  // namespace corvalen::editor
