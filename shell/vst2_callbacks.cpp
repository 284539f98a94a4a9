#include "shell/vst2_callbacks.h"

#include "shell/vst2_plugin.h"

namespace corvalen::vst2_callbacks {

intptr_t Dispatcher(EffectRecord* record, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                    float opt) noexcept {
    try {
        Vst2Plugin* plugin = Vst2Plugin::FromRecord(record);
        if (plugin == nullptr) return 0;
        if (opcode == vst2::effClose) {
            // Wait for any call in flight, then destroy outside the lock: the lock dies with the
            // object. The record is gone afterwards; a host must not use it again. A measurement
            // still to be read is dropped with it.
            { DeferringLockScope scope(*plugin->Lock()); }
            record->object = nullptr;
            delete plugin;
            return 0;
        }
        // Events arrive on the audio thread with every block: that thread leaves any file to read
        // for the host's other threads.
        if (opcode == vst2::effProcessEvents) {
            AudioLockScope scope(*plugin->Lock());
            return plugin->Dispatch(opcode, index, value, ptr, opt);
        }
        LockScope scope(plugin->Lock());
        return plugin->Dispatch(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

namespace {

// Runs `call` on the plug-in behind the record under its instance lock; answers `fallback`
// when there is no plug-in or anything throws. These calls come from the audio thread (the
// blocks, and automation in many hosts): they go ahead of the queue for the lock, and never do
// the work a locked call leaves for after it (reading a measurement file); the host's next
// other call or the editor does.
template <typename Result, typename Call>
Result UnderInstanceLock(EffectRecord* record, Result fallback, Call&& call) noexcept {
    try {
        Vst2Plugin* plugin = Vst2Plugin::FromRecord(record);
        if (plugin == nullptr) return fallback;
        AudioLockScope scope(*plugin->Lock());
        return call(*plugin);
    } catch (...) {
        return fallback;
    }
}

}  // namespace

void SetParameter(EffectRecord* record, int32_t index, float value) noexcept {
    UnderInstanceLock(record, 0, [&](Vst2Plugin& plugin) {
        plugin.SetParameterNormalised(index, value);
        return 0;
    });
}

float GetParameter(EffectRecord* record, int32_t index) noexcept {
    return UnderInstanceLock(
        record, 0.0f, [&](Vst2Plugin& plugin) { return plugin.GetParameterNormalised(index); });
}

void Process(EffectRecord* record, float** inputs, float** outputs, int32_t frames) noexcept {
    UnderInstanceLock(record, 0, [&](Vst2Plugin& plugin) {
        plugin.ProcessFloatBlock(inputs, outputs, frames, /*accumulate=*/true);
        return 0;
    });
}

void ProcessReplacing(EffectRecord* record, float** inputs, float** outputs,
                      int32_t frames) noexcept {
    UnderInstanceLock(record, 0, [&](Vst2Plugin& plugin) {
        plugin.ProcessFloatBlock(inputs, outputs, frames, /*accumulate=*/false);
        return 0;
    });
}

void ProcessDoubleReplacing(EffectRecord* record, double** inputs, double** outputs,
                            int32_t frames) noexcept {
    UnderInstanceLock(record, 0, [&](Vst2Plugin& plugin) {
        plugin.ProcessDoubleBlock(inputs, outputs, frames);
        return 0;
    });
}

}  // namespace corvalen::vst2_callbacks
