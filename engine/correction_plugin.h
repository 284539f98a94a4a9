// The product: the headphone-correction equaliser as a VST2 effect. Construction builds the
// shell layers, the 61 parameters and the presets; the engine's hooks (parameter changes,
// audio, sample rate, reset) are defined in engine/correction_plugin_*.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/editor_links.h"
#include "engine/engine_state.h"
#include "engine/eq_band.h"
#include "engine/eq_bank_processor.h"
#include "engine/readout_text.h"
#include "engine/response_model.h"
#include "shell/vst2_plugin.h"

namespace corvalen {

class CorrectionPlugin : public Vst2Plugin {
public:
    // Host thread, under the creation lock.
    explicit CorrectionPlugin(vst2::HostCallback hostCallback);
    ~CorrectionPlugin() override;

    // Host audio thread, instance lock held. Passes the audio through unchanged until the host
    // has given both a sample rate and a block size, then runs the equaliser.
    void ProcessBlock(double** inputs, double** outputs, int32_t frames) override;

    // True once the host has set both a sample rate and a block size.
    bool IsReadyToProcess() const;

    // The measurement file's path (UTF-8, no zero bytes; empty when none is loaded). The state
    // chunks carry it as custom data; the file button owns it once the editor exists.
    const std::string& MeasurementPath() const { return measurementPath_; }

    // --- Engine (engine/correction_plugin_params.cpp, engine/correction_plugin_audio.cpp) ------

    // Host or editor thread, instance lock held (or the constructor's first pass): brings the
    // engine, the bands, the measurement and the editor's read-outs up to the parameter's value.
    void OnParamChange(int index) override;
    // Host thread, instance lock held: stores the rate and retunes every band.
    void SetSampleRate(double rate) override;
    // Host thread, instance lock held: the bank keeps its memories on purpose, so a deactivation
    // or a format change does not click.
    void Reset() override;

    const EngineState& Engine() const { return engine_; }
    // Null until construction has created the model (after the first full parameter pass).
    ResponseModel* Model() const { return responseModel_; }
    // The sample-rate read-out's text as SetSampleRate last formed it.
    const char* SampleRateText() const { return sampleRateText_.text; }

    // A measurement load asked for under the lock is done after it, with no lock held
    // (engine/correction_plugin_measurement.cpp): the file is read and resampled into a curve
    // of its own, and the lock is taken again only to put the curve and the status in place.
    bool HasDeferredWork() const override;
    void RunDeferredWork() noexcept override;

    // Constructor (editor building): plugs in the editor's controls. The bands and the FR curve
    // stay in the plug-in's own model; the graph given here only views it and is marked for
    // redraw after every change it shows.
    void ConnectEditorControls(const EditorLinks& links);

protected:
    // The equaliser's audio path, once the host has told the sample rate and block size.
    void ProcessEqualiser(double** inputs, double** outputs, int32_t frames);

    // Parameters followed by the custom data (engine/correction_plugin_state.cpp).
    bool WriteSnapshot(ByteChunk& chunk) override;
    int ReadSnapshot(const ByteChunk& chunk, int position) override;
    bool WriteFullState(ByteChunk& chunk) override;
    int ReadFullState(const ByteChunk& chunk, int position) override;
    // Custom data: the measurement path, at most 1024 bytes.
    bool SerializeCustomPresetData(ByteChunk& chunk);
    int UnserializeCustomPresetData(const ByteChunk& chunk, int position);

    // The measurement path (UTF-8): the state chunks, the change handler and the model read it;
    // the editor's file button edits this same string.
    std::string measurementPath_;

    // Creates the response model, which the plug-in owns until it is destroyed.
    void CreateResponseModel();
    void HandleBandValue(int index);
    // Band bandNumber (1-based) takes the type and its new coefficients; the graph is marked.
    void SetBandType(int bandNumber, BandType type);
    void HandleSeparator(double value);
    void HandleOutputGain(double value);
    void HandleBypass(double value);
    void HandleSplash(double value);
    // Lock held: asks for the measurement path to be read again with the current separator. The
    // request is done when the thread leaves the lock (the host's or the editor's thread, never
    // the audio thread); a later request supersedes an earlier one that has not been put in
    // place yet.
    void RequestMeasurementLoad();
    void ShowMeasurementStatus(const std::string& path, bool exists, std::size_t points);
    void HandleUnload();
    void MarkGraph();

    // The last load asked for. Its generation counts requests; installedLoad_ is the
    // generation whose result is in place, so a load is pending while the two differ.
    struct MeasurementLoad {
        std::string path;
        std::uint8_t separator = 0;
        // False once an unload has flattened the curve after the request: the file's status is
        // still shown, its curve is not.
        bool showCurve = true;
        std::uint64_t generation = 0;
    };
    MeasurementLoad requestedLoad_;
    std::uint64_t installedLoad_ = 0;

    EngineState engine_;
    std::unique_ptr<ResponseModel> ownedModel_;
    ResponseModel* responseModel_ = nullptr;
    ReadoutText sampleRateText_;
    // Editor controls the handler updates; all null until the editor is built.
    EditorLinks links_;
};

// Fixed facts of the product.
namespace product {
inline constexpr const char* kEffectName = "Corvalen";
inline constexpr const char* kVendor = "Nadrix";
inline constexpr const char* kProduct = "";
inline constexpr int32_t kUniqueId = vst2::FourCharCode('K', 'v', '4', 'm');
inline constexpr int32_t kVendorVersion = 0x00010000;
inline constexpr const char* kChannelIo = "1-1 2-2";
inline constexpr int kPresetCount = 16;
}  // namespace product

}  // namespace corvalen
