// The parameter-change handler: the one place where a parameter value reaches the engine.
#include <cstdint>

#include "engine/correction_plugin.h"

#include "engine/band_type_switch.h"
#include "engine/debug_trace.h"
#include "engine/measurement_reader.h"
#include "engine/parameter_table.h"
#include "engine/readout_text.h"
#include "shell/parameter.h"

namespace corvalen {

namespace {

std::uint8_t AsFlag(double value) { return value >= 0.5 ? 1 : 0; }

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
        // Every change of "FR_file" is a request to read the file again, whatever its value.
        case param::kFrFile: RequestMeasurementLoad(); break;
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

void CorrectionPlugin::RequestMeasurementLoad() {
    if (responseModel_ == nullptr) return;
    requestedLoad_.path = measurementPath_;
    requestedLoad_.separator = engine_.separator;
    requestedLoad_.showCurve = true;
    ++requestedLoad_.generation;
    // The editor's next paint leaves the lock and so does a load the audio thread left behind.
    MarkGraph();
}

// The new choice is in place before the file is read again with it.
void CorrectionPlugin::HandleSeparator(double value) {
    engine_.separator = AsFlag(value);
    RequestMeasurementLoad();
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

// A shown file-not-found message stays: only the next reload clears it. A load asked for
// before still shows its file's status, but its curve does not replace the flat one.
void CorrectionPlugin::HandleUnload() {
    if (links_.fileButton == nullptr || responseModel_ == nullptr) return;
    measurementPath_.clear();
    LoadMeasurement(*responseModel_, std::string());
    if (HasDeferredWork()) {
        requestedLoad_.showCurve = false;
        ++requestedLoad_.generation;  // a read already under way must not put its curve back
    }
    MarkGraph();
}

}  // namespace corvalen
