// The host-facing callbacks stored in the EffectRecord. Each is a noexcept trampoline:
// it finds the plug-in object through the record, takes the instance lock, calls the core
// and answers 0 on anything unexpected. Nothing escapes to the host as an exception.
#pragma once

#include <cstdint>

#include "shell/vst2_abi.h"

namespace corvalen::vst2_callbacks {

// Any host thread.
intptr_t Dispatcher(EffectRecord* record, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                    float opt) noexcept;
// Any host thread.
void SetParameter(EffectRecord* record, int32_t index, float value) noexcept;
float GetParameter(EffectRecord* record, int32_t index) noexcept;
// Host audio thread.
void Process(EffectRecord* record, float** inputs, float** outputs, int32_t frames) noexcept;
void ProcessReplacing(EffectRecord* record, float** inputs, float** outputs,
                      int32_t frames) noexcept;
void ProcessDoubleReplacing(EffectRecord* record, double** inputs, double** outputs,
                            int32_t frames) noexcept;

}  // namespace corvalen::vst2_callbacks
