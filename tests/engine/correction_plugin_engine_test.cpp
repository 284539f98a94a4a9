// The plug-in's engine hooks through the real CorrectionPlugin: what each parameter change
// does, with and without editor controls, the audio path gates, and sample-rate changes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/parameter_table.h"
#include "linked_plugin.h"
#include "open_plugin.h"
#include "shell/parameter.h"
#include "temp_folder.h"

namespace corvalen {
namespace {

using testing_support::CountingGraph;
using testing_support::FakeFileButton;
using testing_support::FakeText;
using testing_support::FakeVisibility;
using testing_support::LinkedPlugin;
using testing_support::MakeOpenPlugin;
using testing_support::SilentHost;

// A change as the host's threads make it: under the instance lock, so a load it asks for is
// done when the lock is left.
void Change(CorrectionPlugin& plugin, int index) {
    LockScope hold(plugin.Lock());
    plugin.OnParamChange(index);
}

void Set(CorrectionPlugin& plugin, int index, double value) {
    ParamSpec* param = plugin.Param(index);
    param->SetNormalised(param->Normalise(value));
    Change(plugin, index);
}

std::string TempFile(const char* name, const char* text) {
    const std::string path = testing::TestTempPath(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        std::fputs(text, f);
        std::fclose(f);
    }
    return path;
}

TEST(CorrectionPluginEngine, ConstructionRecordsStateButTunesNoBand) {
    CorrectionPlugin plugin(&SilentHost);
    ASSERT_NE(plugin.Model(), nullptr);
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(plugin.Model()->band(k).b0, -666.0);
        EXPECT_EQ(plugin.Model()->band(k).sampleRate, 48000.0);
        EXPECT_EQ(plugin.Engine().bandEnabled[k - 1], 1);
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(plugin.Engine().layerShown[i], 1);
    for (int i = 0; i < 800; ++i) ASSERT_EQ(plugin.Model()->frCurve()[i], 0.0);
}

TEST(CorrectionPluginEngine, OpeningTunesEveryBandWithTheDefaults) {
    auto plugin = MakeOpenPlugin(0.0);
    for (int k = 1; k <= 12; ++k) {
        const EqBand& band = plugin->Model()->band(k);
        EXPECT_EQ(band.frequency, kDefaultBandFrequencies[static_cast<size_t>(k - 1)]);
        EXPECT_EQ(band.gainDb, 0.0);
        EXPECT_DOUBLE_EQ(band.q, 0.71);
        EXPECT_EQ(band.sampleRate, 48000.0);  // until the host sets a rate
        EXPECT_TRUE(std::isfinite(band.b0) && band.b0 != -666.0);
    }
    EXPECT_EQ(plugin->Model()->band(1).type, kPeak);
    EXPECT_EQ(plugin->Model()->band(12).type, kHighShelf);  // "TipoF12" 0 selects the shelf
}

TEST(CorrectionPluginEngine, AGraphConnectedLaterViewsThePluginsOwnModel) {
    auto plugin = MakeOpenPlugin();
    ResponseModel* const model = plugin->Model();
    model->frCurve()[17] = 83.0;
    const EqBand tuned = model->band(7);
    CountingGraph graph;
    EditorLinks links;
    links.graph = &graph;
    plugin->ConnectEditorControls(links);
    ASSERT_EQ(plugin->Model(), model);  // the bands never move to an editor object
    EXPECT_EQ(std::memcmp(&model->band(7), &tuned, sizeof tuned), 0);
    EXPECT_EQ(model->frCurve()[17], 83.0);
    Set(*plugin, param::BandGain(6), 3.0);
    EXPECT_EQ(model->band(7).gainDb, 3.0);
    EXPECT_EQ(graph.redraws, 1);
    // Disconnected again (the editor going away), changes still reach the model.
    plugin->ConnectEditorControls(EditorLinks{});
    Set(*plugin, param::BandGain(6), -2.0);
    EXPECT_EQ(model->band(7).gainDb, -2.0);
    EXPECT_EQ(graph.redraws, 1);
}

TEST(CorrectionPluginEngine, TypeSwitchesMapToBandTypes) {
    auto plugin = MakeOpenPlugin();
    Set(*plugin, param::kTypeBand1, 1.0);
    EXPECT_EQ(plugin->Model()->band(1).type, kLowShelf);
    Set(*plugin, param::kTypeBand1, 0.0);
    EXPECT_EQ(plugin->Model()->band(1).type, kPeak);
    Set(*plugin, param::kTypeBand12, 1.0);
    EXPECT_EQ(plugin->Model()->band(12).type, kPeak);
    Set(*plugin, param::kTypeBand12, 0.0);
    EXPECT_EQ(plugin->Model()->band(12).type, kHighShelf);
}

TEST(CorrectionPluginEngine, IndicesOutsideTheTableChangeNothing) {
    auto plugin = MakeOpenPlugin();
    std::vector<unsigned char> before(sizeof(EqBand) * 12);
    std::memcpy(before.data(), plugin->Model()->bands(), before.size());
    const EngineState state = plugin->Engine();
    plugin->OnParamChange(61);
    plugin->OnParamChange(-1);
    EXPECT_EQ(std::memcmp(before.data(), plugin->Model()->bands(), before.size()), 0);
    EXPECT_EQ(std::memcmp(&state, &plugin->Engine(), sizeof state), 0);
}

TEST(CorrectionPluginEngine, BandValuesReachOnlyTheirBandAndReadout) {
    LinkedPlugin plugin;
    Set(plugin, param::BandQuality(11), 4.0);  // f12Q
    EXPECT_DOUBLE_EQ(plugin.Model()->band(12).q, 4.0);
    EXPECT_EQ(plugin.Model()->band(11).q, 0.0);  // untouched since construction
    EXPECT_EQ(std::string(plugin.bandTexts[35].text()), "4.00");
    EXPECT_EQ(plugin.output.redraws, 0);
    Set(plugin, param::BandFrequency(2), 1500.0);
    EXPECT_EQ(std::string(plugin.bandTexts[6].text()), "1.50 k");
    Set(plugin, param::BandGain(2), -6.5);
    EXPECT_EQ(std::string(plugin.bandTexts[7].text()), "-6.5 dB");
    EXPECT_GE(plugin.graph().redraws, 3);
}

TEST(CorrectionPluginEngine, OutputReadoutIsMarkedEvenWhenItsTextStays) {
    LinkedPlugin plugin;
    Set(plugin, param::kOut, -3.5);
    EXPECT_EQ(std::string(plugin.output.text()), "-3.5");
    const int redraws = plugin.output.redraws;
    plugin.OnParamChange(param::kOut);
    EXPECT_EQ(plugin.output.redraws, redraws + 1);
    EXPECT_EQ(plugin.output.pushes, 2);
    EXPECT_EQ(plugin.Engine().outputGainDb, -3.5);
}

TEST(CorrectionPluginEngine, SwitchingABandOffOnlyMarksTheGraph) {
    LinkedPlugin plugin;
    const int redraws = plugin.graph().redraws;
    Set(plugin, param::BandSwitch(4), 0.0);
    EXPECT_EQ(plugin.Engine().bandEnabled[4], 0);
    EXPECT_EQ(plugin.graph().redraws, redraws + 1);
    Set(plugin, param::kSplashScreen, 0.0);
    EXPECT_EQ(plugin.splash.hidden, 1);
    Set(plugin, param::kSplashScreen, 1.0);
    EXPECT_EQ(plugin.splash.hidden, 0);
}

TEST(CorrectionPluginEngine, MissingFileShowsTheMessageAndReloadsClearIt) {
    LinkedPlugin plugin;
    plugin.path() = "/no/such/folder/headphone.csv";
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "FILE NOT FOUND: /no/such/folder/headphone.csv");

    // Unloading empties the path and the curve but leaves the message.
    const std::string existing = TempFile("corvalen_engine_status.csv", "20,80\n20000,70\n");
    plugin.path() = existing;
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "");
    EXPECT_EQ(plugin.Model()->frCurve()[0], 80.0);
    plugin.path() = "/no/such/file.csv";
    Change(plugin, param::kFrFile);
    Set(plugin, param::kUnloadFr, 0.0);
    EXPECT_EQ(plugin.path(), "/no/such/file.csv");
    Set(plugin, param::kUnloadFr, 1.0);
    EXPECT_EQ(plugin.path(), "");
    EXPECT_EQ(std::string(plugin.status.text()), "FILE NOT FOUND: /no/such/file.csv");
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "");

    plugin.path() = existing;
    Change(plugin, param::kFrFile);
    Set(plugin, param::kUnloadFr, 1.0);
    for (int i = 0; i < 800; ++i) ASSERT_EQ(plugin.Model()->frCurve()[i], 0.0);
    Set(plugin, param::kSeparator, 1.0);  // empty path: still flat
    for (int i = 0; i < 800; ++i) ASSERT_EQ(plugin.Model()->frCurve()[i], 0.0);
    std::remove(existing.c_str());
}

// A file that exists but gives no point says so, on the reload by the file button and on the
// reload a separator change makes; whatever clears the file-not-found message clears it too.
TEST(CorrectionPluginEngine, FilesWithoutDataSaySoAndReloadsClearIt) {
    LinkedPlugin plugin;
    const std::string folder = CORVALEN_MEASUREMENT_EXAMPLES;
    const std::string equaliserText = folder + "/parametric_eq.txt";
    plugin.path() = equaliserText;
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "NO DATA IN FILE: " + equaliserText);
    Set(plugin, param::kSeparator, 1.0);
    EXPECT_EQ(std::string(plugin.status.text()), "NO DATA IN FILE: " + equaliserText);

    plugin.path() = folder + "/blank_separated.txt";
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "");
    EXPECT_EQ(plugin.Model()->frCurve()[0], 80.5);
    plugin.path() = folder + "/empty.csv";
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "NO DATA IN FILE: " + folder + "/empty.csv");
    for (int i = 0; i < 800; ++i) ASSERT_EQ(plugin.Model()->frCurve()[i], 0.0);

    // A title line holding the comma is a point with the comma setting only.
    const std::string title = TempFile("corvalen_engine_title_only.csv", "Left,Right\n");
    plugin.path() = title;
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "NO DATA IN FILE: " + title);
    Set(plugin, param::kSeparator, 0.0);
    EXPECT_EQ(std::string(plugin.status.text()), "");
    Set(plugin, param::kSeparator, 1.0);
    EXPECT_EQ(std::string(plugin.status.text()), "NO DATA IN FILE: " + title);

    // An unload leaves the message; the reload of the empty path clears it.
    Set(plugin, param::kUnloadFr, 1.0);
    EXPECT_EQ(std::string(plugin.status.text()), "NO DATA IN FILE: " + title);
    Change(plugin, param::kFrFile);
    EXPECT_EQ(std::string(plugin.status.text()), "");
    plugin.path() = "/no/such/folder/headphone.csv";
    Set(plugin, param::kSeparator, 0.0);
    EXPECT_EQ(std::string(plugin.status.text()), "FILE NOT FOUND: /no/such/folder/headphone.csv");
    std::remove(title.c_str());
}

// The new choice must be in place before the reload reads the file.
TEST(CorrectionPluginEngine, SeparatorChangeRereadsTheFileWithTheNewChoice) {
    LinkedPlugin plugin;
    // Rows that hold both separators: the comma setting splits at the comma, the tab setting at
    // the tab (the first field "20,80" reads as 20).
    const std::string file = TempFile("corvalen_engine_separator.csv", "20,80\t60\n20000,70\t50\n");
    plugin.path() = file;
    Change(plugin, param::kFrFile);
    const double* curve = plugin.Model()->frCurve();
    ASSERT_EQ(curve[0], 80.0);
    const int redraws = plugin.graph().redraws;
    Set(plugin, param::kSeparator, 1.0);
    EXPECT_EQ(plugin.Engine().separator, 1);
    EXPECT_EQ(curve[0], 60.0);
    EXPECT_EQ(curve[799], 50.0);
    EXPECT_GT(plugin.graph().redraws, redraws);
    Set(plugin, param::kSeparator, 0.0);
    EXPECT_EQ(curve[0], 80.0);
    EXPECT_EQ(curve[799], 70.0);
    std::remove(file.c_str());
}

// Loads are asked for under the lock and done when the asking thread leaves it: the host's
// call returns with the new curve and status in place, a later load in the same call wins,
// and the audio thread leaves a load to the host's or the editor's next call.
TEST(CorrectionPluginEngine, LoadsAreDoneWhenTheLockIsLeft) {
    LinkedPlugin plugin;
    const std::string a = TempFile("corvalen_engine_load_a.csv", "20,80\n20000,70\n");
    const std::string b = TempFile("corvalen_engine_load_b.csv", "20,60\n20000,50\n");
    const double* curve = plugin.Model()->frCurve();
    {
        LockScope hold(plugin.Lock());
        plugin.path() = a;
        plugin.OnParamChange(param::kFrFile);
        plugin.path() = b;
        plugin.OnParamChange(param::kFrFile);
        EXPECT_EQ(curve[0], 0.0);  // nothing read under the lock
    }
    EXPECT_EQ(curve[0], 60.0);
    EXPECT_FALSE(plugin.HasDeferredWork());

    // A restored program that also unloads: the curve stays flat, the status is the file's.
    {
        LockScope hold(plugin.Lock());
        plugin.path() = "/no/such/folder/restored.csv";
        plugin.OnParamChange(param::kFrFile);
        Set(plugin, param::kUnloadFr, 1.0);
    }
    EXPECT_EQ(curve[0], 0.0);
    EXPECT_EQ(plugin.path(), "");
    EXPECT_EQ(std::string(plugin.status.text()), "FILE NOT FOUND: /no/such/folder/restored.csv");

    // Automation of the file parameter arrives on the audio thread: it reads nothing there.
    plugin.path() = a;
    EffectRecord* record = plugin.Record();
    record->setParameter(record, param::kFrFile, 0.0f);
    EXPECT_EQ(curve[0], 0.0);
    EXPECT_TRUE(plugin.HasDeferredWork());
    record->dispatcher(record, vst2::effGetProgram, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(curve[0], 80.0);
    EXPECT_EQ(std::string(plugin.status.text()), "");
    std::remove(a.c_str());
    std::remove(b.c_str());
}

TEST(CorrectionPluginEngine, SampleRateRetunesBandsAndKeepsMemories) {
    LinkedPlugin plugin;
    plugin.Dispatch(vst2::effOpen, 0, 0, nullptr, 0.0f);
    plugin.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plugin.Dispatch(vst2::effSetBlockSize, 0, 64, nullptr, 0.0f);
    EXPECT_STREQ(plugin.SampleRateText(), "Fs: 44.1 kHz");
    EXPECT_EQ(std::string(plugin.sampleRate.text()), "Fs: 44.1 kHz");
    std::vector<double> l(64, 0.0), r(64, 0.0);
    l[0] = 1.0;
    double* io[2] = {l.data(), r.data()};
    Set(plugin, param::BandGain(0), 6.0);
    plugin.ProcessBlock(io, io, 64);
    const EqBand before = plugin.Model()->band(1);
    plugin.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    const EqBand& after = plugin.Model()->band(1);
    EXPECT_EQ(after.frequency, before.frequency);
    EXPECT_EQ(after.sampleRate, 96000.0);
    EXPECT_NE(after.b1, before.b1);
    EXPECT_EQ(std::memcmp(after.channel, before.channel, sizeof before.channel), 0);
    EXPECT_STREQ(plugin.SampleRateText(), "Fs: 96.0 kHz");
}

}  // namespace
}  // namespace corvalen
