// A CorrectionPlugin made and opened the way a host does it, for native tests and benchmarks.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/correction_plugin.h"
#include "shell/vst2_abi.h"

namespace corvalen::testing_support {

inline intptr_t SilentHost(EffectRecord*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

// Constructed, opened (the full parameter pass) and, when rate > 0, given a sample rate and a
// block size, so the equaliser runs. Through the record's dispatcher, as a host calls: under
// the instance lock, with the measurement the pass asks for loaded when the call returns.
inline std::unique_ptr<CorrectionPlugin> MakeOpenPlugin(double rate = 48000.0, int block = 512) {
    auto plugin = std::make_unique<CorrectionPlugin>(&SilentHost);
    EffectRecord* record = plugin->Record();
    record->dispatcher(record, vst2::effOpen, 0, 0, nullptr, 0.0f);
    if (rate > 0.0) {
        record->dispatcher(record, vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
        record->dispatcher(record, vst2::effSetBlockSize, 0, block, nullptr, 0.0f);
    }
    return plugin;
}

}  // namespace corvalen::testing_support
