// PluginBase's presets and the default serialisation hooks: parameter values only, in the
// layouts of shell/state_chunk.h. The product class appends its custom data.

#include "shell/byte_chunk.h"
#include "shell/plugin_base.h"
#include "shell/state_chunk.h"

namespace corvalen {

namespace {

// Sizes a preset's snapshot and marks it initialised; the caller writes the snapshot.
bool InitialiseSnapshot(Preset& preset, int size) {
    if (preset.snapshot.Size() != size && !preset.snapshot.Resize(size)) {
        return false;
    }
    preset.initialised = true;
    preset.snapshot.Clear();
    return true;
}

}  // namespace

// --- Serialisation hooks (instance lock held) ----------------------------------------------

bool PluginBase::WriteSnapshot(ByteChunk& chunk) {
    return WriteParams(params_, ParamSelection::SnapshotOnly, chunk);
}

int PluginBase::ReadSnapshot(const ByteChunk& chunk, int position) {
    return ReadParams(params_, ParamSelection::SnapshotOnly, chunk, position);
}

bool PluginBase::WriteFullState(ByteChunk& chunk) {
    return WriteParams(params_, ParamSelection::All, chunk);
}

int PluginBase::ReadFullState(const ByteChunk& chunk, int position) {
    return ReadParams(params_, ParamSelection::All, chunk, position);
}

bool PluginBase::WriteBankBody(ByteChunk& chunk) {
    if (!WriteParams(params_, ParamSelection::ExcludedOnly, chunk)) {
        return false;
    }
    for (const Preset& preset : presets_) {
        // A name or flag that does not fit is left out rather than failing the bank.
        const int nameLength = static_cast<int>(preset.name.size());
        if (chunk.Size() - chunk.Length() >= 4 + nameLength) {
            chunk.AppendInt32(nameLength);
            chunk.Append(preset.name.data(), nameLength);
        }
        chunk.AppendByte(preset.initialised ? 1 : 0);
        if (preset.initialised) {
            const int length = preset.snapshot.Length();
            if (length <= 0 || !chunk.Append(preset.snapshot.Data(), length)) {
                return false;
            }
        }
    }
    return true;
}

int PluginBase::ReadBankBody(const ByteChunk& chunk, int position) {
    position = ReadParams(params_, ParamSelection::ExcludedOnly, chunk, position);
    for (std::size_t i = 0; i < presets_.size() && position >= 0; ++i) {
        Preset& preset = presets_[i];
        std::int32_t nameLength = 0;
        const int nameAt = chunk.ReadInt32(nameLength, position);
        if (nameAt < 0 || nameLength < 0 || nameLength > chunk.Length() - nameAt) {
            position = -1;
        } else {
            const char* name = reinterpret_cast<const char*>(chunk.Data()) + nameAt;
            // Kept to the rename limit so that the bank always fits when it is written again.
            preset.name.assign(name, static_cast<std::size_t>(nameLength) < Preset::kMaxNameLength
                                         ? static_cast<std::size_t>(nameLength)
                                         : Preset::kMaxNameLength);
            position = nameAt + nameLength;
            std::uint8_t flag = 0;
            position = chunk.ReadByte(flag, position);
            if (position >= 0) {
                preset.initialised = flag != 0;
            }
        }
        if (preset.initialised) {
            // Each initialised preset passes through the live plug-in, with all its change
            // handling, and is then stored again from what the plug-in made of it.
            position = ReadSnapshot(chunk, position);
            OnAllParamsChanged();
            if (position >= 0 && InitialiseSnapshot(preset, StateChunkSize())) {
                WriteSnapshot(preset.snapshot);
            }
        }
    }
    return position;
}

void PluginBase::RenamePreset(int index, const char* name) {
    if (index < 0) {
        index = currentPreset_;
    }
    if (name == nullptr || index < 0 || index >= static_cast<int>(presets_.size())) {
        return;
    }
    std::size_t length = 0;
    while (length < Preset::kMaxNameLength && name[length] != '\0') {
        ++length;
    }
    presets_[static_cast<std::size_t>(index)].name.assign(name, length);
}

// --- Preset operations (instance lock held) ------------------------------------------------

int PluginBase::StateChunkSize() const {
    return stateChunkSize_ >= 0 ? stateChunkSize_
                                : ParamBytes(params_, ParamSelection::SnapshotOnly);
}

bool PluginBase::MakePresets(const char* name, int count) {
    std::size_t next = 0;
    for (int made = 0; count < 0 || made < count; ++made) {
        while (next < presets_.size() && presets_[next].initialised) {
            ++next;
        }
        if (next == presets_.size()) {
            return count < 0;  // "all remaining" is satisfied when none remain
        }
        Preset& preset = presets_[next];
        if (!InitialiseSnapshot(preset, StateChunkSize())) {
            return false;
        }
        if (name != nullptr) {
            RenamePreset(static_cast<int>(next), name);
        }
        // A snapshot that does not fit (a measurement path over the limit) is kept without its
        // custom data; the preset stays usable.
        WriteSnapshot(preset.snapshot);
    }
    return true;
}

void PluginBase::EnsureDefaultPreset() {
    if (presets_.empty()) {
        presets_.emplace_back();
        MakePresets("Default", 1);
    }
}

void PluginBase::StoreCurrentPreset(const char* name) {
    if (currentPreset_ < 0 || currentPreset_ >= static_cast<int>(presets_.size())) {
        return;
    }
    Preset& preset = presets_[static_cast<std::size_t>(currentPreset_)];
    if (!InitialiseSnapshot(preset, StateChunkSize())) {
        return;
    }
    WriteSnapshot(preset.snapshot);
    if (name != nullptr && name[0] != '\0') {
        RenamePreset(currentPreset_, name);
    }
}

bool PluginBase::RestorePreset(int index) {
    if (index < 0) {
        index = currentPreset_;
    }
    if (index < 0 || index >= static_cast<int>(presets_.size())) {
        return false;
    }
    Preset& preset = presets_[static_cast<std::size_t>(index)];
    bool restored = false;
    if (preset.initialised) {
        restored = ReadSnapshot(preset.snapshot, 0) >= 0;
        OnAllParamsChanged();
    } else {
        restored = InitialiseSnapshot(preset, StateChunkSize()) && WriteSnapshot(preset.snapshot);
    }
    if (restored) {
        currentPreset_ = index;
        PushParamsToEditor();
    }
    return restored;
}

std::string PluginBase::PresetName(int index) const {
    if (index < 0) {
        index = currentPreset_;
    }
    if (index < 0 || index >= static_cast<int>(presets_.size())) {
        return std::string();
    }
    return presets_[static_cast<std::size_t>(index)].name;
}

void PluginBase::PushParamsToEditor() {
    if (editor_ == nullptr) {
        return;
    }
    for (int i = 0; i < ParamCount(); ++i) {
        editor_->SetControlsForParameter(i, params_[static_cast<std::size_t>(i)]->GetNormalised());
    }
}

}  // namespace corvalen
