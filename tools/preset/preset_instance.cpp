#include "tools/preset/preset_instance.h"
#include "engine/engine_state.h"

#include <cstddef>

#include "engine/correction_plugin.h"
#include "shell/plugin_entry.h"
#include "shell/reentrant_lock.h"

namespace corvalen::preset {

// The product itself, with one addition a host has no request for: the measurement path, which
// in the plug-in only the editor's file dialog sets.
class PresetPlugin final : public CorrectionPlugin {
public:
    using CorrectionPlugin::CorrectionPlugin;
    void SetMeasurementPath(const std::string& path) { measurementPath_ = path; }
};

namespace {

// The instance is never shown or played, so every question to the host may go unanswered.
intptr_t QuietHost(EffectRecord*, std::int32_t, std::int32_t, intptr_t, void*, float) { return 0; }

Vst2Plugin* MakePresetPlugin(vst2::HostCallback hostCallback) {
    return new PresetPlugin(hostCallback);
}

FilterShape ShapeOf(const EqBand& band) {
    switch (band.type) {
        case kLowShelf: return FilterShape::LowShelf;
        case kHighShelf: return FilterShape::HighShelf;
        default: return FilterShape::Peak;
    }
}

// Sets one parameter to a natural value and lets the plug-in handle the change, as an edit in
// its editor would; false when the parameter does not hold the value exactly.
bool SetExactly(PresetPlugin& plugin, int index, double value) {
    ParamSpec* parameter = plugin.Param(index);
    if (parameter == nullptr) return false;
    parameter->SetValue(value);
    plugin.OnParamChange(index);
    return parameter->Value() == value;
}

// Bands 1 and 12 take their type from a switch whose positions do not read the same way on both
// bands: each position is tried and the one the equaliser then filters with is kept, so the
// tool relies on the plug-in's own mapping instead of repeating it.
bool SetBandShape(PresetPlugin& plugin, int band, FilterShape wanted) {
    const int typeSwitch = band == 0                ? param::kTypeBand1
                           : band == kBandCount - 1 ? param::kTypeBand12
                                                    : -1;
    ResponseModel* model = plugin.Model();
    if (model == nullptr) return false;
    if (typeSwitch < 0) return wanted == ShapeOf(model->band(band + 1));
    for (double position : {0.0, 1.0}) {
        SetExactly(plugin, typeSwitch, position);
        if (ShapeOf(model->band(band + 1)) == wanted) return true;
    }
    return false;
}

}  // namespace

PresetInstance::PresetInstance() {
    record_ = CreateEffect(&QuietHost, &MakePresetPlugin);
    if (record_ == nullptr) return;
    plugin_ = static_cast<PresetPlugin*>(Vst2Plugin::FromRecord(record_));
    // Opening runs the full parameter pass that tunes every band.
    Dispatch(vst2::effOpen);
}

PresetInstance::~PresetInstance() {
    if (record_ != nullptr) record_->dispatcher(record_, vst2::effClose, 0, 0, nullptr, 0.0f);
}

intptr_t PresetInstance::Dispatch(std::int32_t opcode, std::int32_t index, intptr_t value,
                                  void* ptr) {
    return record_ == nullptr ? 0 : record_->dispatcher(record_, opcode, index, value, ptr, 0.0f);
}

std::int32_t PresetInstance::PluginId() const { return record_ != nullptr ? record_->uniqueID : 0; }
std::int32_t PresetInstance::PluginVersion() const {
    return record_ != nullptr ? record_->version : 0;
}
std::int32_t PresetInstance::ParameterCount() const {
    return record_ != nullptr ? record_->numParams : 0;
}

std::int32_t PresetInstance::ProgramCount() const {
    return record_ != nullptr ? record_->numPrograms : 0;
}

bool PresetInstance::Apply(const PresetProgram& program, std::string& error) {
    if (plugin_ == nullptr) {
        error = "the plug-in could not be created";
        return false;
    }
    LockScope lock(plugin_->Lock());
    for (int band = 0; band < kBandCount; ++band) {
        const BandSetting& setting = program.bands[static_cast<std::size_t>(band)];
        const std::string which = "band " + std::to_string(band + 1);
        if (!SetExactly(*plugin_, param::BandSwitch(band), setting.on ? 1.0 : 0.0) ||
            !SetExactly(*plugin_, param::BandFrequency(band), setting.frequencyHz) ||
            !SetExactly(*plugin_, param::BandGain(band), setting.gainDb) ||
            !SetExactly(*plugin_, param::BandQuality(band), setting.q)) {
            error = which + ": a value is outside the plug-in's range";
            return false;
        }
        if (!SetBandShape(*plugin_, band, setting.shape)) {
            error = which + " cannot be a " + NamesOf(setting.shape).description;
            return false;
        }
    }
    if (!SetExactly(*plugin_, param::kOut, program.outputDb)) {
        error = "the output level is outside the plug-in's range";
        return false;
    }
    SetExactly(*plugin_, param::kBypassEq, program.equaliserBypassed ? 1.0 : 0.0);
    if (!SetExactly(*plugin_, param::kTargetResponses, program.referenceLevelDb)) {
        error = "the reference level is outside the plug-in's range";
        return false;
    }
    plugin_->SetMeasurementPath(program.measurementPath);
    plugin_->OnParamChange(param::kFrFile);
    return true;
}

PresetProgram PresetInstance::Read() const {
    PresetProgram program;
    if (plugin_ == nullptr) return program;
    LockScope lock(plugin_->Lock());
    const auto value = [this](int index) { return plugin_->Param(index)->Value(); };
    const ResponseModel* model = plugin_->Model();
    for (int band = 0; band < kBandCount; ++band) {
        BandSetting& setting = program.bands[static_cast<std::size_t>(band)];
        setting.on = value(param::BandSwitch(band)) >= 0.5;
        setting.frequencyHz = value(param::BandFrequency(band));
        setting.gainDb = value(param::BandGain(band));
        setting.q = value(param::BandQuality(band));
        if (model != nullptr) setting.shape = ShapeOf(model->band(band + 1));
    }
    program.outputDb = value(param::kOut);
    program.equaliserBypassed = value(param::kBypassEq) >= 0.5;
    program.referenceLevelDb = value(param::kTargetResponses);
    program.measurementPath = plugin_->MeasurementPath();
    return program;
}

std::string PresetInstance::DisplayText(int index) const {
    if (plugin_ == nullptr) return std::string();
    LockScope lock(plugin_->Lock());
    const ParamSpec* parameter = plugin_->Param(index);
    if (parameter == nullptr) return std::string();
    char text[64] = {};
    parameter->DisplayText(text, static_cast<int>(sizeof text));
    const std::string label = parameter->UnitLabel();
    return label.empty() ? std::string(text) : std::string(text) + " " + label;
}

Bytes PresetInstance::Chunk(bool bank) {
    void* data = nullptr;
    const intptr_t length = Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
    if (length <= 0 || data == nullptr) return Bytes();
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return Bytes(bytes, bytes + length);
}

bool PresetInstance::LoadChunk(bool bank, const Bytes& chunk) {
    if (chunk.empty()) return false;
    Bytes copy = chunk;  // the request takes a writable pointer
    return Dispatch(vst2::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()),
                    copy.data()) == 1;
}

Bytes PresetInstance::ProgramChunk() { return Chunk(false); }
Bytes PresetInstance::BankChunk() { return Chunk(true); }
bool PresetInstance::LoadProgramChunk(const Bytes& chunk) { return LoadChunk(false, chunk); }
bool PresetInstance::LoadBankChunk(const Bytes& chunk) { return LoadChunk(true, chunk); }

void PresetInstance::SelectProgram(int index) { Dispatch(vst2::effSetProgram, 0, index); }

std::string PresetInstance::ProgramName(int index) const {
    if (plugin_ == nullptr) return std::string();
    LockScope lock(plugin_->Lock());
    return plugin_->PresetName(index);
}

void PresetInstance::NameCurrentProgram(const std::string& name) {
    Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>(name.c_str()));
}

}  // namespace corvalen::preset
