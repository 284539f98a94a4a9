// The parameter-change handler: the one place where a parameter value reaches the engine.
#include <cstdint>
#include <cstring>

#include "engine/correction_plugin.h"

#include "engine/band_type_switch.h"
#include "engine/debug_trace.h"
#include "engine/file_access.h"
#include "engine/measurement_reader.h"
#include "engine/parameter_table.h"
#include "engine/readout_text.h"
#include "shell/parameter.h"

namespace corvalen {

namespace {

constexpr const char* kFileNotFound = "FILE NOT FOUND: ";
constexpr const char* kNoDataInFile = "NO DATA IN FILE: ";

std::uint8_t AsFlag(double value) { return value >= 0.5 ? 1 : 0; }

// Sets a status or read-out text; the control marks itself only when the text changes.
void ShowText(TextLink* link, const char* text) {
    if (link != nullptr) link->setText(text);
}

// A status line naming a path, formed without allocating (the handler may
// run on the audio thread when a host automates the file parameter).
void ShowPathMessage(TextLink* link, const char* prefixText, const std::string& path) {
    if (link == nullptr) return;
    char message[kLinkTextCapacity];
    const std::size_t prefix = std::strlen(prefixText);
    std::memcpy(message, prefixText, prefix);
    const std::size_t room = sizeof message - 1 - prefix;
    const std::size_t count = path.size() < room ? path.size() : room;
    std::memcpy(message + prefix, path.data(), count);
    message[prefix + count] = '\0';
    // The link cuts an over-long text at a character boundary.
    link->setText(message);
}

}  // namespace

void CorrectionPlugin::CreateResponseModel() {
    ownedModel_ = std::make_unique<ResponseModel>(engine_, measurementPath_);
    responseModel_ = ownedModel_.get();
}

void CorrectionPlugin::ConnectEditorControls(const EditorLinks& links) {
    links_ = links;
    if (links_.fileButton != nullptr) links_.fileButton->bindPath(measurementPath_);
}

void CorrectionPlugin::MarkGraph() {
    if (links_.graph != nullptr) links_.graph->markDirty(true);
}

void CorrectionPlugin::OnParamChange(int index) {
    ParamSpec* param = Param(index);
    if (param == nullptr) return;  // outside 0..60
    const double value = param->Value();

    if (index >= param::kFirstBandSwitch && index < param::kFirstBandSwitch + kBandCount) {
        engine_.bandEnabled[index - param::kFirstBandSwitch] = AsFlag(value);
        MarkGraph();
        return;
    }
    if (index >= param::kEqGraph && index <= param::kTargetGraph) {
        engine_.layerShown[index - param::kEqGraph] = AsFlag(value);
        MarkGraph();
        return;
    }
    if (index >= param::kFirstBandValue && index < param::kFrFile) {
        HandleBandValue(index);
        return;
    }

    switch (index) {
        case param::kTypeBand1: SetBandType(1, Band1Type(value)); break;
        case param::kTypeBand12: SetBandType(kBandCount, Band12Type(value)); break;
        case param::kFrFile: HandleMeasurementFile(); break;
        case param::kSeparator: HandleSeparator(value); break;
        case param::kTargetResponses:
            engine_.referenceLevelDb = value;
            MarkGraph();
            break;
        case param::kUnloadFr:
            if (value != 0.0) HandleUnload();
            break;
        case param::kOut: HandleOutputGain(value); break;
        case param::kBypassEq: HandleBypass(value); break;
        case param::kSplashScreen: HandleSplash(value); break;
        default: break;
    }
}

void CorrectionPlugin::SetBandType(int bandNumber, BandType type) {
    if (responseModel_ != nullptr) {
        EqBand& band = responseModel_->band(bandNumber);
        band.type = type;
        band.recompute();
    }
    MarkGraph();
}

void CorrectionPlugin::HandleBandValue(int index) {
    const int offset = index - param::kFirstBandValue;
    const int bandNumber = offset / kValuesPerBand + 1;
    const int role = offset % kValuesPerBand;
    const double value = Param(index)->Value();
    if (responseModel_ != nullptr) {
        EqBand& band = responseModel_->band(bandNumber);
        if (role == 0) band.frequency = value;
        if (role == 1) band.gainDb = value;
        if (role == 2) band.q = value;
        band.recompute();
        MarkGraph();
    }
    if (TextLink* readout = links_.bandReadouts[offset]) {
        if (role == 0) readout->setText(FrequencyReadoutText(value).text);
        if (role == 1) readout->setText(GainReadoutText(value).text);
        if (role == 2) readout->setText(QualityReadoutText(value).text);
    }
}

// Every change of "FR_file" is a request to read the file again, whatever its value.
void CorrectionPlugin::HandleMeasurementFile() {
    const std::string& path = measurementPath_;
    const std::size_t points = ReloadMeasurement(path);
    const bool exists = !path.empty() && PathExists(path);
    if (links_.statusText != nullptr && !path.empty()) {
        if (exists) {
            DebugTrace("(si existe) en OnParamChange: [%s]", path.c_str());
        } else {
            DebugTrace("(si no existe) en OnParamChange: [%s]", path.c_str());
        }
    }
    ShowMeasurementStatus(path, exists, points);
}

std::size_t CorrectionPlugin::ReloadMeasurement(const std::string& path) {
    if (responseModel_ == nullptr) return 0;
    const std::size_t points = LoadMeasurement(*responseModel_, path);
    MarkGraph();
    return points;
}

// Every reload says what came of it: nothing for no path or a file that gave a curve, else
// whether the file is missing or gave no usable line (a flat curve without a word would look
// like a perfect headphone).
void CorrectionPlugin::ShowMeasurementStatus(const std::string& path, bool exists,
                                             std::size_t points) {
    if (path.empty() || (exists && (points > 0 || responseModel_ == nullptr))) {
        ShowText(links_.statusText, "");
    } else {
        ShowPathMessage(links_.statusText, exists ? kNoDataInFile : kFileNotFound, path);
    }
}

// The new choice is in place before the file is read again with it.
void CorrectionPlugin::HandleSeparator(double value) {
    engine_.separator = AsFlag(value);
    const std::string& path = measurementPath_;
    ShowMeasurementStatus(path, PathExists(path), ReloadMeasurement(path));
}

// The read-out is marked even when its text stays, so a host's automation redraws it.
void CorrectionPlugin::HandleOutputGain(double value) {
    SetOutputGain(engine_, value);
    if (links_.outputReadout != nullptr) {
        links_.outputReadout->setText(OutputReadoutText(value).text);
        links_.outputReadout->markDirty(true);
    }
}

void CorrectionPlugin::HandleBypass(double value) {
    engine_.bypass = AsFlag(value);
    MarkGraph();
    DebugTrace("bypassEQ: [%s]", engine_.bypass != 0 ? "true" : "false");
}

void CorrectionPlugin::HandleSplash(double value) {
    engine_.splash = AsFlag(value);
    if (links_.splashImage != nullptr) links_.splashImage->setHidden(engine_.splash == 0);
}

// A shown file-not-found message stays: only the next reload clears it.
void CorrectionPlugin::HandleUnload() {
    if (links_.fileButton == nullptr || responseModel_ == nullptr) return;
    measurementPath_.clear();
    LoadMeasurement(*responseModel_, std::string());
    MarkGraph();
}

}  // namespace corvalen
