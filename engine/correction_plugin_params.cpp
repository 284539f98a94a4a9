// The parameter-change handler: the one place where a parameter value reaches the engine.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/correction_plugin.h"
#include "engine/debug_trace.h"
#include "engine/file_access.h"
#include "engine/measurement_reader.h"
#include "engine/parameter_table.h"
#include "engine/readout_text.h"
#include "shell/parameter.h"

namespace corvalen {

namespace {

constexpr const char* kFileNotFound = "FILE NOT FOUND: ";

std::uint8_t AsFlag(double value) { return value >= 0.5 ? 1 : 0; }

// Sets a status or read-out text; the control marks itself only when the text changes.
void ShowText(TextLink* link, const char* text) {
  if (link != nullptr) link->setText(text);
}

// The status line for a path that names nothing, formed without allocating (the handler may
// run on the audio thread when a host automates the file parameter).
void ShowFileNotFound(TextLink* link, const std::string& path) {
  char message[kLinkTextCapacity];
  const std::size_t prefix = std::strlen(kFileNotFound);
  std::memcpy(message, kFileNotFound, prefix);
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

void CorrectionPlugin::ConnectEditorControls(const EditorLinks& links) { links_ = links; }

std::string& CorrectionPlugin::CurrentMeasurementPath() {
  return links_.fileButton != nullptr ? links_.fileButton->path() : measurementPath_;
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
    case param::kTypeBand1:
      if (responseModel_ != nullptr) {
        EqBand& band = responseModel_->band(1);
        band.type = AsFlag(value) != 0 ? kLowShelf : kPeak;
        band.recompute();
      }
      MarkGraph();
      break;
    case param::kTypeBand12:
      if (responseModel_ != nullptr) {
        // Stored settings carry the raw switch value: 0 ("Peak" on the switch) selects the
        // high shelf and 1 ("HighShelf") the peak, so old projects keep their sound.
        EqBand& band = responseModel_->band(kBandCount);
        band.type = static_cast<std::int32_t>(2.0 * std::fabs(AsFlag(value) - 1.0));
        band.recompute();
      }
      MarkGraph();
      break;
    case param::kFrFile:
      HandleMeasurementFile();
      break;
    case param::kSeparator:
      engine_.separator = AsFlag(value);
      if (responseModel_ != nullptr) {
        LoadMeasurement(*responseModel_, std::string(CurrentMeasurementPath()));
      }
      MarkGraph();
      break;
    case param::kTargetResponses:
      engine_.referenceLevelDb = value;
      MarkGraph();
      break;
    case param::kUnloadFr:
      if (value != 0.0) HandleUnload();
      break;
    case param::kOut:
      engine_.outputGainDb = value;
      if (links_.outputReadout != nullptr) {
        links_.outputReadout->setText(OutputReadoutText(value).text);
        links_.outputReadout->markDirty(true);
      }
      break;
    case param::kBypassEq:
      engine_.bypass = AsFlag(value);
      MarkGraph();
      DebugTrace("bypassEQ: [%s]", engine_.bypass != 0 ? "true" : "false");
      break;
    case param::kSplashScreen:
      engine_.splash = AsFlag(value);
      if (links_.splashImage != nullptr) links_.splashImage->setHidden(engine_.splash == 0);
      break;
    default:
      break;
  }
}

void CorrectionPlugin::HandleBandValue(int index) {
  const int offset = index - param::kFirstBandValue;
  const int bandNumber = offset / 3 + 1;
  const int role = offset % 3;
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
  const std::string path = CurrentMeasurementPath();
  if (responseModel_ != nullptr) {
    LoadMeasurement(*responseModel_, path);
    MarkGraph();
  }
  if (links_.statusText == nullptr) return;
  if (path.empty()) {
    ShowText(links_.statusText, "");
    return;
  }
  if (PathExists(path)) {
    ShowText(links_.statusText, "");
    DebugTrace("(si existe) en OnParamChange: [%s]", path.c_str());
    return;
  }
  DebugTrace("(si no existe) en OnParamChange: [%s]", path.c_str());
  ShowFileNotFound(links_.statusText, path);
}

// A shown file-not-found message stays: only the next reload clears it.
void CorrectionPlugin::HandleUnload() {
  if (links_.fileButton == nullptr || responseModel_ == nullptr) return;
  CurrentMeasurementPath().clear();
  LoadMeasurement(*responseModel_, std::string());
  MarkGraph();
}

}  // namespace corvalen
