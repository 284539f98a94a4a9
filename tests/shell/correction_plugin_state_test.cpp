// State details that the host interface cannot reach: a measurement path longer than a chunk
// carries, and the entry point's fallback preset.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "engine/correction_plugin.h"
#include "shell/linear_param.h"
#include "shell/plugin_entry.h"
#include "shell/vst2_abi.h"

namespace corvalen {
namespace {

class PathPlugin final : public CorrectionPlugin {
public:
    PathPlugin() : CorrectionPlugin(nullptr) {}
    void SetPath(std::string path) { measurementPath_ = std::move(path); }
};

int32_t StoredPathLength(Vst2Plugin& plugin, int32_t index, std::size_t offset) {
    void* data = nullptr;
    const intptr_t length = plugin.Dispatch(vst2::effGetChunk, index, 0, &data, 0.0f);
    if (length <= 0) return -2;
    int32_t stored = 0;
    std::memcpy(&stored, static_cast<const unsigned char*>(data) + offset, 4);
    return stored;
}

TEST(CorrectionPluginStateTest, OverlongPathIsSavedAsNoPathWithAllParameters) {
    PathPlugin plugin;
    plugin.SetPath(std::string(1024, 'a'));
    EXPECT_EQ(StoredPathLength(plugin, 1, 349), 1024);
    plugin.SetPath(std::string(1500, 'b'));
    EXPECT_EQ(StoredPathLength(plugin, 1, 349), 0);
    // Bank: header, 4 excluded switches, then record 0 ("Default", 7 bytes) and its snapshot.
    EXPECT_EQ(StoredPathLength(plugin, 0, 12 + 4 + 7 + 1 + 337), 0);
}

// The buffers are reserved for the longest chunks, computed here by hand: 337 bytes of
// snapshot parameters, 341 of all parameters, 4 excluded switches, custom data of 4 + 1024
// bytes, preset records of 4 + 256 + 1 bytes besides the snapshot.
TEST(CorrectionPluginStateTest, LongestChunksFillTheReservedBuffersExactly) {
    PathPlugin plugin;
    plugin.SetPath(std::string(1024, 'p'));
    EXPECT_EQ(plugin.StateChunkSize(), 337 + 4 + 1024);
    void* data = nullptr;
    EXPECT_EQ(plugin.Dispatch(vst2::effGetChunk, 1, 0, &data, 0.0f), 8 + 341 + 4 + 1024);
    for (int i = 0; i < product::kPresetCount; ++i) {
        plugin.RestorePreset(i);
        plugin.SetPath(std::string(1024, 'p'));  // restoring took the preset's own, empty path
        plugin.StoreCurrentPreset(std::string(300, static_cast<char>('a' + i)).c_str());
    }
    EXPECT_EQ(plugin.Dispatch(vst2::effGetChunk, 0, 0, &data, 0.0f),
              8 + 4 + 16 * ((4 + 256 + 1) + (337 + 4 + 1024)));
}

class NoPresetPlugin final : public Vst2Plugin {
public:
    explicit NoPresetPlugin(vst2::HostCallback host) : Vst2Plugin(host, Identity()) {
        AddParam(std::make_unique<LinearParam>("level", 3.0, -12.0, 12.0, 1, "dB"));
    }
    static PluginIdentity Identity() {
        PluginIdentity identity;
        identity.presetCount = 0;
        identity.channelIo = "2-2";
        return identity;
    }
};

TEST(CorrectionPluginStateTest, EntryPointMakesAPresetWhenThereIsNone) {
    EffectRecord* record = CreateEffect(
        nullptr, [](vst2::HostCallback host) -> Vst2Plugin* { return new NoPresetPlugin(host); });
    ASSERT_NE(record, nullptr);
    std::unique_ptr<Vst2Plugin> plugin(Vst2Plugin::FromRecord(record));
    ASSERT_EQ(plugin->Presets().size(), 1u);
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_TRUE(plugin->Presets()[0].initialised);
    EXPECT_EQ(plugin->PresetName(0), "Default");
    EXPECT_EQ(plugin->Presets()[0].snapshot.Length(), 8);
    plugin->Param(0)->SetValue(-6.0);
    EXPECT_TRUE(plugin->RestorePreset(0));
    EXPECT_EQ(plugin->Param(0)->Value(), 3.0);
}

}  // namespace
}  // namespace corvalen
