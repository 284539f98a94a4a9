// The VST2 layer driven natively through its record, as a host would drive it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "probe_plugin.h"

namespace corvalen::testing {
namespace {

using host::VstHost;

class Vst2DispatcherTest : public ProbeHostTest {
protected:
    void AttachEditor() {
        auto editor = std::make_unique<FakeEditor>();
        fakeEditor = editor.get();
        plugin().AttachEditor(std::move(editor));
    }
    intptr_t CanDo(const char* text) {
        return host.Dispatch(vst2::effCanDo, 0, 0, const_cast<char*>(text));
    }

    FakeEditor* fakeEditor = nullptr;
};

TEST_F(Vst2DispatcherTest, RecordDescribesTheEffect) {
    const EffectRecord* effect = host.Effect();
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->numParams, 2);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 0x1038);  // no editor attached
    EXPECT_EQ(effect->uniqueID, 0x50726265);
    EXPECT_EQ(effect->version, 1230);  // 1.2.3
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_FLOAT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->user, nullptr);
    EXPECT_NE(effect->process, nullptr);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_NE(effect->processDoubleReplacing, nullptr);
    EXPECT_EQ(host.Dispatch(vst2::effIdentify), 0x4E764566);
    EXPECT_EQ(host.Dispatch(vst2::effGetVstVersion), 2400);
    EXPECT_EQ(host.Dispatch(vst2::effGetVendorVersion), 1230);
    EXPECT_EQ(host.Dispatch(vst2::effGetPlugCategory), 1);
    EXPECT_EQ(host.Dispatch(vst2::effCanBeAutomated, 12345), 1);
    for (int32_t silent : {vst2::effEditIdle, vst2::effGetTailSize, vst2::effStartProcess,
                           vst2::effStopProcess, vst2::effSetProcessPrecision, 70, 200, -3}) {
        EXPECT_EQ(host.Dispatch(silent), 0) << "opcode " << silent;
    }
}

TEST_F(Vst2DispatcherTest, IdentityTextsAreCutToTheirLimits) {
    EXPECT_EQ(host.DispatchText(vst2::effGetEffectName), std::string(kLongEffectName, 31));
    EXPECT_EQ(host.DispatchText(vst2::effGetVendorString), "Probe");
    EXPECT_EQ(host.DispatchText(vst2::effGetProductString), "");
    EXPECT_EQ(host.Dispatch(vst2::effGetEffectName), 0);  // no buffer
}

TEST_F(Vst2DispatcherTest, ParameterTextsGrowAfterTheHostAnnouncesExtensions) {
    EXPECT_EQ(host.DispatchText(vst2::effGetParamName, 0), "a_switc");
    EXPECT_EQ(host.DispatchText(vst2::effGetParamLabel, 1), "dB");
    EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, 1), "0.0");
    EXPECT_EQ(CanDo("hasCockosExtensions"), 0xBEEF0000);
    EXPECT_EQ(plugin().HostExtensionFlags() & 1, 1);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamName, 0), "a_switch_with_a_long_name");
    EXPECT_EQ(CanDo("hasCockosViewAsConfig"), 0xBEEF0000);
    EXPECT_EQ(plugin().HostExtensionFlags(), 3);
}

TEST_F(Vst2DispatcherTest, CapabilitiesAnswerAsTheTableSays) {
    EXPECT_EQ(CanDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(CanDo("bypass"), 1);
    EXPECT_EQ(CanDo("Bypass"), 0);
    EXPECT_EQ(CanDo("receiveVstMidiEvent"), 0);
    EXPECT_EQ(CanDo("sendVstEvents"), 0);
    EXPECT_EQ(CanDo("somethingElse"), 0);
    EXPECT_EQ(host.Dispatch(vst2::effCanDo), 0);
}

TEST_F(Vst2DispatcherTest, InvalidParameterIndicesAnswerZeroAndTouchNothing) {
    for (int index : {-1, 2, 61, 1 << 30}) {
        char buffer[16] = "untouched";
        EXPECT_EQ(host.Dispatch(vst2::effGetParamName, index, 0, buffer), 0);
        EXPECT_EQ(host.Dispatch(vst2::effGetParamDisplay, index, 0, buffer), 0);
        EXPECT_EQ(host.Dispatch(vst2::effGetParamLabel, index, 0, buffer), 0);
        EXPECT_STREQ(buffer, "untouched");
        EXPECT_EQ(host.Dispatch(vst2::effString2Parameter, index, 0, buffer), 0);
        EXPECT_EQ(host.GetParameter(index), 0.0f);
        host.SetParameter(index, 0.5f);
    }
    EXPECT_TRUE(plugin().paramChanges.empty());
}

TEST_F(Vst2DispatcherTest, ParameterCallbacksSetValueControlsAndChangeHook) {
    AttachEditor();
    fakeEditor->controlValues.clear();
    host.SetParameter(1, 0.75f);
    EXPECT_FLOAT_EQ(host.GetParameter(1), 0.75f);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, 1), "+12.0");
    ASSERT_EQ(fakeEditor->controlValues.size(), 1u);
    EXPECT_EQ(fakeEditor->controlValues[0].first, 1);
    EXPECT_EQ(plugin().paramChanges, std::vector<int>{1});
    EXPECT_EQ(host.CountCalls(vst2::audioMasterAutomate), 0);  // the host is not told back
}

TEST_F(Vst2DispatcherTest, String2ParameterParsesSetsAndNotifiesNoHost) {
    EXPECT_EQ(host.Dispatch(vst2::effString2Parameter, 1), 1);  // null text: just a question
    char text[] = "-12";
    EXPECT_EQ(host.Dispatch(vst2::effString2Parameter, 1, 0, text), 1);
    EXPECT_FLOAT_EQ(host.GetParameter(1), 0.25f);
    char on[] = "on";
    EXPECT_EQ(host.Dispatch(vst2::effString2Parameter, 0, 0, on), 1);
    EXPECT_FLOAT_EQ(host.GetParameter(0), 1.0f);
    EXPECT_EQ(plugin().paramChanges, (std::vector<int>{1, 0}));
    EXPECT_EQ(host.CountCalls(vst2::audioMasterAutomate), 0);
}

TEST_F(Vst2DispatcherTest, ParameterPropertiesMarkSwitches) {
    vst2::VstParameterProperties properties{};
    properties.stepFloat = 0.25f;
    ASSERT_EQ(host.Dispatch(vst2::effGetParameterProperties, 0, 0, &properties), 1);
    EXPECT_STREQ(properties.label, "a_switch_with_a_long_name");
    EXPECT_STREQ(properties.shortLabel, "a_switc");
    EXPECT_EQ(properties.flags, vst2::kVstParameterIsSwitch);
    EXPECT_FLOAT_EQ(properties.stepFloat, 0.25f);  // other fields untouched
    vst2::VstParameterProperties gain{};
    ASSERT_EQ(host.Dispatch(vst2::effGetParameterProperties, 1, 0, &gain), 1);
    EXPECT_EQ(gain.flags, 0);
    EXPECT_EQ(host.Dispatch(vst2::effGetParameterProperties, 2, 0, &gain), 0);
    EXPECT_EQ(host.Dispatch(vst2::effGetParameterProperties, 0), 0);
}

TEST_F(Vst2DispatcherTest, PinPropertiesNameAndPairChannels) {
    vst2::VstPinProperties pin{};
    ASSERT_EQ(host.Dispatch(vst2::effGetInputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Input 1");
    EXPECT_STREQ(pin.shortLabel, "In1");
    EXPECT_EQ(pin.flags, 7);
    EXPECT_EQ(pin.arrangementType, 1);  // stereo
    ASSERT_EQ(host.Dispatch(vst2::effGetInputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Input 2");
    EXPECT_STREQ(pin.shortLabel, "In2");
    EXPECT_EQ(pin.flags, 5);
    EXPECT_EQ(host.Dispatch(vst2::effGetInputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(host.Dispatch(vst2::effGetInputProperties, -1, 0, &pin), 0);
    ASSERT_EQ(host.Dispatch(vst2::effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Output 2");
    EXPECT_STREQ(pin.shortLabel, "Out2");
    EXPECT_EQ(host.Dispatch(vst2::effGetOutputProperties, 0), 0);
}

TEST_F(Vst2DispatcherTest, SampleRateAndBlockSizeMarkTheirBitsAndResetOnceBothKnown) {
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(plugin().sampleRateCalls, 1);
    EXPECT_EQ(plugin().HostStateFlags() & 0x18, 0x08);
    EXPECT_EQ(plugin().resets, 0);
    host.Dispatch(vst2::effSetBlockSize, 0, 256);
    EXPECT_EQ(plugin().HostStateFlags() & 0x18, 0x18);
    EXPECT_EQ(plugin().BlockSize(), 256);
    EXPECT_EQ(plugin().resets, 1);
    host.Dispatch(vst2::effSetBlockSize, 0, 256);  // unchanged: nothing happens
    EXPECT_EQ(plugin().resets, 1);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    EXPECT_EQ(plugin().resets, 2);
    EXPECT_DOUBLE_EQ(plugin().SampleRate(), 44100.0);
    // Nonsense rates are ignored.
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 0.0f);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, -48000.0f);
    EXPECT_DOUBLE_EQ(plugin().SampleRate(), 44100.0);
    EXPECT_EQ(plugin().sampleRateCalls, 2);
}

TEST_F(Vst2DispatcherTest, MainsAndBypassToggleTheirBits) {
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    EXPECT_EQ(plugin().HostStateFlags() & 0x20, 0x20);
    EXPECT_EQ(plugin().resets, 0);
    host.Dispatch(vst2::effMainsChanged, 0, 0);
    EXPECT_EQ(plugin().HostStateFlags() & 0x20, 0);
    EXPECT_EQ(plugin().resets, 1);  // switching off resets
    host.Dispatch(vst2::effMainsChanged, 0, 0);
    EXPECT_EQ(plugin().resets, 1);
    EXPECT_EQ(host.Dispatch(vst2::effSetBypass, 0, 1), 1);
    EXPECT_EQ(plugin().HostStateFlags() & 0x40, 0x40);
    EXPECT_EQ(host.Dispatch(vst2::effSetBypass, 0, 0), 1);
    EXPECT_EQ(plugin().HostStateFlags() & 0x40, 0);
}

TEST(Vst2HostIdentification, ProductStringIsAskedOnceAndVersionPacked) {
    VstHost host;
    host.SetProductString("REAPER Professional");
    host.SetVendorVersion(7012);
    ASSERT_TRUE(host.Open(&ProbeEntry));
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effOpen);
    EXPECT_EQ(ProbePlugin::last->GetHost(), 1);
    EXPECT_EQ(ProbePlugin::last->HostVersion(), (7 << 16) | (0 << 8) | 12);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterGetProductString), 1);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterGetVendorVersion), 1);
}

TEST(Vst2HostIdentification, EmptyProductStringGivesCodeAndVersionZero) {
    VstHost host;
    host.SetProductString("");
    host.SetVendorVersion(5000);
    ASSERT_TRUE(host.Open(&ProbeEntry));
    host.Dispatch(vst2::effOpen);
    EXPECT_EQ(ProbePlugin::last->GetHost(), 0);
    EXPECT_EQ(ProbePlugin::last->HostVersion(), 0);
    EXPECT_EQ(host.CountCalls(vst2::audioMasterGetVendorVersion), 0);
}

TEST(Vst2HostSetup, SomeHostsFeedOnlyTwoInputsButAllOutputs) {
    VstHost host;
    host.SetProductString("FORTE 4");
    ASSERT_TRUE(host.Open(&WideProbeEntry));
    ProbePlugin& plugin = *ProbePlugin::last;
    EXPECT_EQ(host.Effect()->numInputs, 4);
    EXPECT_EQ(plugin.InputArrangement().type, -2);  // user-defined above two channels
    vst2::VstSpeakerArrangement two{};
    two.numChannels = 2;
    host.Dispatch(vst2::effSetSpeakerArrangement, 0, 0, &two);
    EXPECT_FALSE(plugin.IsOutputConnected(3));
    host.Dispatch(vst2::effOpen);
    EXPECT_EQ(plugin.GetHost(), 15);
    EXPECT_TRUE(plugin.IsInputConnected(1));
    EXPECT_FALSE(plugin.IsInputConnected(2));
    EXPECT_FALSE(plugin.IsInputConnected(3));
    EXPECT_TRUE(plugin.IsOutputConnected(2));
    EXPECT_TRUE(plugin.IsOutputConnected(3));
    EXPECT_EQ(plugin.InputArrangement().numChannels, 4);

    // The set-up runs on the first open only.
    host.Dispatch(vst2::effSetSpeakerArrangement, 0, 0, &two);
    host.Dispatch(vst2::effOpen);
    EXPECT_FALSE(plugin.IsOutputConnected(3));
}

TEST(Vst2HostSetup, OtherHostsKeepTheChannelsAsTheyAre) {
    VstHost host;
    host.SetProductString("Bitwig Studio");
    ASSERT_TRUE(host.Open(&WideProbeEntry));
    host.Dispatch(vst2::effOpen);
    EXPECT_TRUE(ProbePlugin::last->IsInputConnected(3));
}

TEST_F(Vst2DispatcherTest, OpenRunsEveryParameterChangeEachTime) {
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effOpen);
    EXPECT_EQ(plugin().paramChanges, (std::vector<int>{0, 1, 0, 1}));
}

TEST_F(Vst2DispatcherTest, VendorSpecificRequests) {
    char text[128] = {};
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 7, 1, text, 1.0f), 0xBEEF);
    EXPECT_STREQ(text, "+24.0");
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 7, 5, text, 1.0f), 0);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 7, 1, nullptr, 1.0f), 0);

    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, 0), 0xBEEF);  // a switch is stepped
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, 1), 0);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, 9), 0);

    char typed[32] = "12";
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 27, 1, typed), 0xBEEF);
    EXPECT_STREQ(typed, "0.75000000000000000");  // (12 + 24) / 48, 17 decimals, 19 characters
    char empty[4] = "";
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 27, 1, empty), 0xBEEF);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 27, 1), 0);

    uint32_t identifier[4] = {};
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 0x73744341, 0x46554944, identifier), 1);
    EXPECT_NE(identifier[0] | identifier[1] | identifier[2] | identifier[3], 0u);
    uint32_t again[4] = {};
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 0x73744361, 0x46554944, again), 1);
    EXPECT_EQ(std::memcmp(identifier, again, sizeof again), 0);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 0x73744341, 0x46554944), 0);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f), 0);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 99, 0), 0);
}

TEST_F(Vst2DispatcherTest, WheelRequestGoesToTheEditor) {
    AttachEditor();
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 0x73744341, 0x57686565, nullptr, -2.0f), 1);
    ASSERT_EQ(fakeEditor->wheels.size(), 1u);
    EXPECT_FLOAT_EQ(fakeEditor->wheels[0], -2.0f);
}

TEST_F(Vst2DispatcherTest, KeyEventsReachTheEditorOnlyWhenAControlTakesKeys) {
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 11, nullptr, 1.0f), 0);  // no editor
    AttachEditor();
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 11, nullptr, 1.0f), 0);  // no key control
    fakeEditor->keyControl = 3;
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 11, nullptr, 1.0f), 1);
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyUp, 0, 16, nullptr, 10.0f), 1);
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);  // plain character
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 4, nullptr, 0.0f), 0);    // return
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 7, nullptr, std::nanf("")), 1);
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 7, nullptr, 1e20f), 1);
    ASSERT_EQ(fakeEditor->keys.size(), 4u);
    EXPECT_EQ(fakeEditor->keys[2].virtualKey, 32);
    EXPECT_EQ(fakeEditor->keys[2].modifiers, 0);  // a modifier word that is no number is ignored
    EXPECT_EQ(fakeEditor->keys[3].modifiers, 0);
    EXPECT_EQ(fakeEditor->keys[0].virtualKey, 37);
    EXPECT_EQ(fakeEditor->keys[0].modifiers, 4);
    EXPECT_TRUE(fakeEditor->keys[0].keyDown);
    EXPECT_EQ(fakeEditor->keys[1].virtualKey, 34);
    EXPECT_EQ(fakeEditor->keys[1].modifiers, 16 | 8);
    EXPECT_FALSE(fakeEditor->keys[1].keyDown);
}

TEST_F(Vst2DispatcherTest, EditorRequestsNeedAnEditor) {
    vst2::ERect* rect = nullptr;
    EXPECT_EQ(host.Dispatch(vst2::effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(host.Dispatch(vst2::effEditOpen), 0);
    EXPECT_EQ(host.Dispatch(vst2::effEditClose), 0);
    AttachEditor();
    EXPECT_EQ(host.Effect()->flags, 0x1039);
    ASSERT_EQ(host.Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 800);
    EXPECT_EQ(rect->bottom, 527);
    EXPECT_EQ(host.Dispatch(vst2::effEditGetRect), 0);
    EXPECT_EQ(host.Dispatch(vst2::effEditOpen), 1);
    fakeEditor->openSucceeds = false;
    EXPECT_EQ(host.Dispatch(vst2::effEditOpen), 0);
    EXPECT_EQ(host.Dispatch(vst2::effEditClose), 1);
    EXPECT_EQ(fakeEditor->openCalls, 2);
    EXPECT_EQ(fakeEditor->closeCalls, 1);
}

TEST_F(Vst2DispatcherTest, SpeakerArrangementsAreHandedOutAndConnectChannels) {
    vst2::VstSpeakerArrangement* inputs = nullptr;
    vst2::VstSpeakerArrangement* outputs = nullptr;
    EXPECT_EQ(host.Dispatch(vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&inputs),
                            &outputs),
              1);
    ASSERT_NE(inputs, nullptr);
    ASSERT_NE(outputs, nullptr);
    EXPECT_EQ(inputs->numChannels, 2);
    EXPECT_EQ(inputs->type, 1);

    vst2::VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    EXPECT_EQ(host.Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono),
                            nullptr),
              1);
    EXPECT_TRUE(plugin().IsInputConnected(0));
    EXPECT_FALSE(plugin().IsInputConnected(1));
    EXPECT_TRUE(plugin().IsOutputConnected(1));
    EXPECT_EQ(inputs->numChannels, 2);  // the arrangement records stay as they are
    EXPECT_EQ(host.Effect()->numInputs, 2);
}

TEST_F(Vst2DispatcherTest, EventsReachTheMidiHooks) {
    vst2::VstMidiEvent note{};
    note.type = vst2::kVstMidiType;
    note.deltaFrames = 17;
    note.midiData[0] = static_cast<char>(0x90);
    note.midiData[1] = 60;
    note.midiData[2] = 100;
    char dump[3] = {static_cast<char>(0xF0), 1, static_cast<char>(0xF7)};
    vst2::VstMidiSysexEvent sysex{};
    sysex.type = vst2::kVstSysExType;
    sysex.dumpBytes = 3;
    sysex.sysexDump = dump;
    vst2::VstEvent other{};
    other.type = 3;
    struct {
        int32_t numEvents;
        intptr_t reserved;
        vst2::VstEvent* events[4];
    } list = {4,
              0,
              {reinterpret_cast<vst2::VstEvent*>(&note), nullptr,
               reinterpret_cast<vst2::VstEvent*>(&sysex), &other}};
    EXPECT_EQ(host.Dispatch(vst2::effProcessEvents, 0, 0, &list), 1);
    ASSERT_EQ(plugin().midi.size(), 1u);
    EXPECT_EQ(plugin().midi[0].deltaFrames, 17);
    EXPECT_EQ(plugin().midi[0].data[0], 0x90);
    EXPECT_EQ(plugin().midi[0].data[1], 60);
    ASSERT_EQ(plugin().sysex.size(), 1u);
    EXPECT_EQ(plugin().sysex[0].size, 3);
    EXPECT_EQ(plugin().sysex[0].bytes, dump);
    EXPECT_EQ(host.Dispatch(vst2::effProcessEvents), 0);
}

TEST_F(Vst2DispatcherTest, MidiKeyNameIsEmpty) {
    vst2::MidiKeyName name{};
    name.thisKeyNumber = 60;
    std::strcpy(name.keyName, "stale");
    EXPECT_EQ(host.Dispatch(vst2::effGetMidiKeyName, 0, 0, &name), 0);
    EXPECT_STREQ(name.keyName, "");
}

TEST(Vst2Product, CorvalenOpensThroughTheEntryPoint) {
    VstHost host;
    ASSERT_TRUE(host.Open(&ProductEntry)) << host.LastError();
    const EffectRecord* effect = host.Effect();
    EXPECT_EQ(effect->numParams, 61);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->uniqueID, 0x4B76346D);
    EXPECT_EQ(effect->version, 1000);
    EXPECT_EQ(effect->flags & ~vst2::effFlagsHasEditor, 0x1038);
    EXPECT_EQ(host.DispatchText(vst2::effGetEffectName), "Corvalen");
    EXPECT_EQ(host.DispatchText(vst2::effGetParamName, 54), "FR_file");
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, 0), 0xBEEF);  // f1_btn
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, 18), 0);      // f1Freq
    EXPECT_EQ(host.Dispatch(vst2::effGetProgramNameIndexed, 16, 0, nullptr), 0);
}

TEST(Vst2Lifetime, CloseDestroysTheObjectAndANullObjectAnswersZero) {
    VstHost host;
    ASSERT_TRUE(host.Open(&ProbeEntry));
    EffectRecord copy = *host.Effect();
    host.Close();
    EXPECT_TRUE(ProbePlugin::destroyed);
    copy.object = nullptr;
    EXPECT_EQ(copy.dispatcher(&copy, vst2::effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
    copy.setParameter(&copy, 0, 1.0f);
    EXPECT_EQ(copy.dispatcher(nullptr, vst2::effClose, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace
}  // namespace corvalen::testing
