// A small plug-in and editor for driving the shell natively: they record which hooks ran, so
// the tests see what the VST2 layer did without a product behind it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/linear_param.h"
#include "shell/plugin_entry.h"
#include "shell/switch_param.h"
#include "shell/vst2_plugin.h"
#include "tools/host/vst_host.h"

namespace corvalen::testing {

struct KeyCall {
    int virtualKey;
    int modifiers;
    bool keyDown;
};

class FakeEditor final : public PluginEditor {
public:
    ~FakeEditor() override {
        if (onDestroy) onDestroy();
    }

    std::function<void()> onDestroy;  // what the editor does as it goes, like closing its window
    int width = 800;
    int height = 527;
    int keyControl = -1;
    bool openSucceeds = true;
    int openCalls = 0;
    int closeCalls = 0;
    int stopCountdownCalls = 0;
    std::vector<KeyCall> keys;
    std::vector<std::pair<int, double>> controlValues;
    std::vector<float> wheels;

    int Width() const override { return width; }
    int Height() const override { return height; }
    bool OpenWindow(void*) override {
        ++openCalls;
        return openSucceeds;
    }
    void CloseWindow() override { ++closeCalls; }
    void SetControlsForParameter(int index, double normalised) override {
        controlValues.emplace_back(index, normalised);
    }
    int KeyControlIndex() const override { return keyControl; }
    int OnKey(int virtualKey, int modifiers, bool keyDown) override {
        keys.push_back(KeyCall{virtualKey, modifiers, keyDown});
        return 1;
    }
    int OnHostWheel(float delta) override {
        wheels.push_back(delta);
        return 1;
    }
    void StopWheelGestureCountdown() override { ++stopCountdownCalls; }
    void SetScale(int) override {}
};

// Names longer than the VST2 limits, so cutting can be seen.
inline constexpr const char* kLongEffectName = "An Effect Name Of Forty Characters Long!";

class ProbePlugin final : public Vst2Plugin {
public:
    static ProbePlugin* last;  // the most recently constructed probe
    static bool destroyed;

    explicit ProbePlugin(vst2::HostCallback host, const char* channelIo = "1-1 2-2")
        : Vst2Plugin(host, Identity(channelIo)) {
        AddParam(std::make_unique<SwitchParam>("a_switch_with_a_long_name", 0, "OFF", "ON"));
        AddParam(std::make_unique<LinearParam>("gain", 0.0, -24.0, 24.0, 1, "dB"));
        PublishCounts();
        last = this;
        destroyed = false;
    }
    ~ProbePlugin() override { destroyed = true; }

    static PluginIdentity Identity(const char* channelIo) {
        PluginIdentity identity;
        identity.effectName = kLongEffectName;
        identity.vendor = "Probe";
        identity.product = "";
        identity.uniqueId = vst2::FourCharCode('P', 'r', 'b', 'e');
        identity.vendorVersion = 0x00010203;
        identity.channelIo = channelIo;
        identity.presetCount = 16;
        return identity;
    }

    void Reset() override { ++resets; }
    void SetSampleRate(double rate) override {
        ++sampleRateCalls;
        Vst2Plugin::SetSampleRate(rate);
    }
    void OnParamChange(int index) override { paramChanges.push_back(index); }
    void OnMidiMessage(const MidiMessage& message) override { midi.push_back(message); }
    void OnSysEx(const SysExMessage& message) override { sysex.push_back(message); }
    void ProcessBlock(double** inputs, double** outputs, int32_t frames) override {
        pieces.push_back(frames);
        Vst2Plugin::ProcessBlock(inputs, outputs, frames);
    }

    // Exposed for the tests.
    using PluginBase::ClosePendingWheelEdit;

    int resets = 0;
    int sampleRateCalls = 0;
    std::vector<int> paramChanges;
    std::vector<MidiMessage> midi;
    std::vector<SysExMessage> sysex;
    std::vector<int32_t> pieces;
};

inline ProbePlugin* ProbePlugin::last = nullptr;
inline bool ProbePlugin::destroyed = false;

inline Vst2Plugin* MakeProbe(vst2::HostCallback host) { return new ProbePlugin(host); }

inline EffectRecord* ProbeEntry(vst2::HostCallback host) { return CreateEffect(host, &MakeProbe); }

// Four channels each way, for the set-up some hosts need.
inline Vst2Plugin* MakeWideProbe(vst2::HostCallback host) { return new ProbePlugin(host, "4-4"); }
inline EffectRecord* WideProbeEntry(vst2::HostCallback host) {
    return CreateEffect(host, &MakeWideProbe);
}

inline EffectRecord* ProductEntry(vst2::HostCallback host) {
    return CreateEffect(host, &CreatePluginObject);
}

// A test host with a probe plug-in opened through the entry point.
class ProbeHostTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Open(&ProbeEntry)) << host.LastError(); }
    ProbePlugin& plugin() { return *ProbePlugin::last; }

    host::VstHost host;
};

}  // namespace corvalen::testing
