// One instance of the real plug-in with its editor, made once per fuzzing process and put back
// to the state it was opened in before every input, so each input meets the same plug-in
// (a crash found reproduces from its input alone) without paying for a new instance.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/byte_chunk.h"
#include "shell/plugin_entry.h"
#include "shell/preset.h"
#include "shell/reentrant_lock.h"
#include "shell/state_chunk.h"
#include "shell/vst2_abi.h"
#include "shell/vst2_plugin.h"
#include "tools/host/vst_host.h"

namespace corvalen::fuzzing {

class PluginUnderFuzz {
public:
    static PluginUnderFuzz& Instance() {
        static PluginUnderFuzz* made = new PluginUnderFuzz();  // lives until the process ends
        return *made;
    }

    host::VstHost& Host() { return host_; }
    Vst2Plugin& Plugin() { return *plugin_; }

    // Back to the opened state: the sixteen presets as they were, every parameter and the
    // measurement path from the program saved then, preset 0 current, and one parameter pass
    // (which also brings the editor's controls and texts back). Nothing to do when all of that
    // is as it was. Checked: the program saved now must be the one saved then.
    void Restore() {
        if (plugin_->CurrentPresetIndex() == 0 && SamePresets(plugin_->Presets(), openedPresets_) &&
            Saved(false) == openedProgramBytes_) {
            return;
        }
        {
            LockScope hold(plugin_->Lock());
            plugin_->Presets() = openedPresets_;
            if (plugin_->ReadFullState(openedProgram_, kChunkHeaderSize) < 0) std::abort();
            plugin_->RestorePreset(0);
        }
        if (Saved(false) != openedProgramBytes_) std::abort();
    }

    // The chunk the plug-in hands a host now (a bank when asked); it can always save itself.
    std::vector<unsigned char> Saved(bool bank) {
        void* data = nullptr;
        const intptr_t length = host_.Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
        if (length <= 0 || data == nullptr) std::abort();
        const auto* bytes = static_cast<const unsigned char*>(data);
        return std::vector<unsigned char>(bytes, bytes + length);
    }

    // effSetChunk with a copy of the bytes, as a host hands them; the plug-in's answer.
    intptr_t Load(bool bank, const unsigned char* bytes, std::size_t size) {
        std::vector<unsigned char> copy(bytes, bytes + size);
        return host_.Dispatch(vst2::effSetChunk, bank ? 0 : 1, static_cast<intptr_t>(copy.size()),
                              copy.empty() ? static_cast<void*>(&copy) : copy.data());
    }

    // Every parameter, as a host reads it, is a number in 0..1.
    void CheckParameters() {
        for (int32_t i = 0; i < host_.Effect()->numParams; ++i) {
            const float value = host_.GetParameter(i);
            if (!(value >= 0.0f && value <= 1.0f)) std::abort();
        }
    }

private:
    static bool SamePresets(const std::vector<Preset>& a, const std::vector<Preset>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const ByteChunk& x = a[i].snapshot;
            const ByteChunk& y = b[i].snapshot;
            if (a[i].initialised != b[i].initialised || a[i].name != b[i].name ||
                x.Length() != y.Length() ||
                (x.Length() > 0 &&
                 std::memcmp(x.Data(), y.Data(), static_cast<std::size_t>(x.Length())) != 0)) {
                return false;
            }
        }
        return true;
    }

    PluginUnderFuzz() {
        if (!host_.Open([](vst2::HostCallback callback) {
                return CreateEffect(callback, &CreatePluginObject);
            })) {
            std::abort();
        }
        host_.Dispatch(vst2::effOpen);
        plugin_ = Vst2Plugin::FromRecord(host_.Effect());
        if (plugin_ == nullptr) std::abort();
        openedPresets_ = plugin_->Presets();
        openedProgramBytes_ = Saved(false);
        if (!openedProgram_.Resize(static_cast<int>(openedProgramBytes_.size())) ||
            !openedProgram_.Append(openedProgramBytes_.data(),
                                   static_cast<int>(openedProgramBytes_.size()))) {
            std::abort();
        }
    }

    host::VstHost host_;
    Vst2Plugin* plugin_ = nullptr;
    std::vector<Preset> openedPresets_;
    std::vector<unsigned char> openedProgramBytes_;
    ByteChunk openedProgram_;
};

}  // namespace corvalen::fuzzing
