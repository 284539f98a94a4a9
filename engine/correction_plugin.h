// The product: the headphone-correction equaliser as a VST2 effect. Construction builds the
// shell layers, the 61 parameters and the presets; the engine's hooks (parameter changes,
// audio, sample rate, reset) are defined in engine/correction_plugin_*.cpp.
#pragma once

#include <cstdint>
#include <string>

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

  std::string measurementPath_;
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
