// Preset and chunk requests of the dispatcher (effSetProgram, effGetProgram,
// effSetProgramName, effGetProgramName, effGetChunk, effSetChunk, effGetProgramNameIndexed).
#include <limits>

#include "shell/host_text.h"
#include "shell/state_chunk_transfer.h"
#include "shell/vst2_plugin.h"

namespace corvalen {

intptr_t Vst2Plugin::PresetRequest(int32_t opcode, int32_t index, intptr_t value, void* ptr) {
    switch (opcode) {
        case vst2::effGetProgram: return CurrentPresetIndex();
        case vst2::effGetProgramName:
            if (ptr != nullptr) {
                CopyHostText(static_cast<char*>(ptr), PresetName(-1), text_limit::kProgramName);
            }
            return 0;
        case vst2::effGetProgramNameIndexed: {
            if (ptr == nullptr) return 0;
            // A negative index names the current preset, one beyond the list gives an empty text.
            char* text = static_cast<char*>(ptr);
            CopyHostText(text, PresetName(index), text_limit::kProgramName);
            return text[0] != '\0' ? 1 : 0;
        }
        case vst2::effSetProgram:
            // Edits made since the last switch stay with the preset that was current.
            StoreCurrentPreset(nullptr);
            // A negative number restores the current preset; one beyond any int names no preset.
            if (value <= std::numeric_limits<int>::max()) {
                RestorePreset(value < 0 ? -1 : static_cast<int>(value));
            }
            return 0;
        case vst2::effSetProgramName:
            if (ptr != nullptr) StoreCurrentPreset(static_cast<const char*>(ptr));
            return 0;
        case vst2::effGetChunk:
            return GetStateChunk(*this, index != 0 ? programChunk_ : bankChunk_, index == 0,
                                 static_cast<void**>(ptr));
        case vst2::effSetChunk:
            return SetStateChunk(*this, index != 0 ? programChunk_ : bankChunk_, index == 0, ptr,
                                 static_cast<std::int64_t>(value))
                       ? 1
                       : 0;
        default: return 0;
    }
}

bool Vst2Plugin::ReserveProgramChunk(int size) { return programChunk_.Resize(size); }

bool Vst2Plugin::ReserveBankChunk(int size) { return bankChunk_.Resize(size); }

}  // namespace corvalen
