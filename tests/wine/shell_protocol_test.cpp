// The DLL's VST2 protocol as a host sees it: record, capabilities, host identification,
// pins, program names, vendor-specific requests, keys and invalid indices.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "loaded_plugin.h"

namespace corvalen::wine_testing {
namespace {

using ShellProtocolTest = LoadedPluginTest;

TEST_F(ShellProtocolTest, RecordDescribesCorvalen) {
    const EffectRecord* effect = host.Effect();
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numParams, kParamCount);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    // 0x1038, plus 0x1 once an editor is attached.
    EXPECT_EQ(effect->flags & ~vst2::effFlagsHasEditor, 0x1038);
    EXPECT_EQ(effect->uniqueID, 0x4B76346D);
    EXPECT_EQ(effect->version, 1000);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(host.DispatchText(vst2::effGetEffectName), "Corvalen");
    EXPECT_EQ(host.DispatchText(vst2::effGetVendorString), "Nadrix");
    EXPECT_EQ(host.DispatchText(vst2::effGetProductString), "");
    EXPECT_EQ(host.Dispatch(vst2::effGetVendorVersion), 1000);
    EXPECT_EQ(host.Dispatch(vst2::effGetVstVersion), 2400);
    EXPECT_EQ(host.Dispatch(vst2::effIdentify), 0x4E764566);
}

TEST_F(ShellProtocolTest, CapabilitiesAreCaseSensitiveAndUnlockLongTexts) {
    EXPECT_EQ(CanDo("receiveVstMidiEvent"), 0);
    EXPECT_EQ(CanDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(CanDo("bypass"), 1);
    EXPECT_EQ(CanDo("Bypass"), 0);
    EXPECT_EQ(CanDo("unknownCapability"), 0);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamName, kTargetGraph), "TARGET_");
    EXPECT_EQ(CanDo("hasCockosExtensions"), 0xBEEF0000);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamName, kTargetGraph), "TARGET_grafico");
    EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, kBand1Frequency), "20.00");
    EXPECT_EQ(CanDo("hasCockosViewAsConfig"), 0xBEEF0000);
}

TEST(ShellHostIdentification, ProductStringIsAskedOnceWithTheVersionOnlyForANonEmptyText) {
    struct Case {
        std::string product;
        int versionRequests;
    };
    const std::string unterminated(300, 'A');  // fills all 256 bytes without a zero
    for (const Case& c : {Case{"REAPER Professional x64", 1}, Case{"cubase nuendo", 1}, Case{"", 0},
                          Case{unterminated, 1}}) {
        host::VstHost host;
        host.SetProductString(c.product);
        host.SetVendorVersion(7012);
        ASSERT_TRUE(host.Load(kPluginPath)) << host.LastError();
        host.Dispatch(vst2::effOpen);
        host.Dispatch(vst2::effOpen);
        EXPECT_EQ(host.CountCalls(vst2::audioMasterGetProductString), 1) << c.product;
        EXPECT_EQ(host.CountCalls(vst2::audioMasterGetVendorVersion), c.versionRequests)
            << c.product;
    }
}

TEST_F(ShellProtocolTest, PinPropertiesPairTheStereoChannels) {
    vst2::VstPinProperties pin{};
    ASSERT_EQ(host.Dispatch(vst2::effGetInputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Input 1");
    EXPECT_STREQ(pin.shortLabel, "In1");
    EXPECT_EQ(pin.flags, 7);
    ASSERT_EQ(host.Dispatch(vst2::effGetInputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Input 2");
    EXPECT_STREQ(pin.shortLabel, "In2");
    EXPECT_EQ(pin.flags, 5);
    EXPECT_EQ(host.Dispatch(vst2::effGetInputProperties, 2, 0, &pin), 0);
    ASSERT_EQ(host.Dispatch(vst2::effGetOutputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Output 1");
    EXPECT_STREQ(pin.shortLabel, "Out1");
    EXPECT_EQ(pin.arrangementType, 1);
}

TEST_F(ShellProtocolTest, ProgramNamesByIndex) {
    char name[64] = "stale";
    EXPECT_EQ(host.Dispatch(vst2::effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "Default");
    EXPECT_EQ(host.Dispatch(vst2::effGetProgramNameIndexed, 1, 0, name), 1);
    EXPECT_STREQ(name, "- 2 -");
    EXPECT_EQ(host.Dispatch(vst2::effGetProgramNameIndexed, 15, 0, name), 1);
    EXPECT_STREQ(name, "- 16 -");
    EXPECT_EQ(host.Dispatch(vst2::effGetProgramNameIndexed, 16, 0, name), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(host.Dispatch(vst2::effGetProgramNameIndexed, -1, 0, name), 1);
    EXPECT_STREQ(name, "Default");
    EXPECT_EQ(host.Dispatch(vst2::effGetProgram), 0);
}

TEST_F(ShellProtocolTest, VendorSpecificRequests) {
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, kBand1Frequency), 0);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, kBand1Switch), 0xBEEF);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 8, kParamCount), 0);
    char text[128] = {};
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 7, kBand1Gain, text, 1.0f), 0xBEEF);
    EXPECT_STREQ(text, "+24.0");
    char typed[32] = "-12";
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 27, kBand1Gain, typed), 0xBEEF);
    EXPECT_STREQ(typed, "0.25000000000000000");
    uint32_t identifier[4] = {};
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 0x73744341, 0x46554944, identifier), 1);
    EXPECT_NE(identifier[0], 0u);
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 1234, 0), 0);
}

// Hosts may switch the C runtime the plug-in shares with them to a comma-decimal locale; the
// number texts the plug-in hands out and reads must keep the point.
TEST_F(ShellProtocolTest, NumberTextsIgnoreACommaDecimalLocale) {
    struct LocaleGuard {
        std::string previous = std::setlocale(LC_ALL, nullptr);
        ~LocaleGuard() { std::setlocale(LC_ALL, previous.c_str()); }
    } guard;
    if (std::setlocale(LC_ALL, "German_Germany.1252") == nullptr &&
        std::setlocale(LC_ALL, "German") == nullptr) {
        GTEST_SKIP() << "no comma-decimal locale in this runtime";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5") << "the runtime's locale did not take effect";

    char typed[32] = "1.5";  // (1.5 + 24) / 48 = 0.53125
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 27, kBand1Gain, typed), 0xBEEF);
    EXPECT_STREQ(typed, "0.53125000000000000");
    char shown[128] = {};
    EXPECT_EQ(host.Dispatch(vst2::effVendorSpecific, 7, kBand1Gain, shown, 0.53125f), 0xBEEF);
    EXPECT_STREQ(shown, "+1.5");
    char text[16] = "-2.5";
    EXPECT_EQ(host.Dispatch(vst2::effString2Parameter, kBand1Gain, 0, text), 1);
    EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, kBand1Gain), "-2.5");
}

TEST_F(ShellProtocolTest, KeysWithoutAMappingAreNotHandled) {
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);  // a character
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyDown, 0, 4, nullptr, 0.0f), 0);    // return
    EXPECT_EQ(host.Dispatch(vst2::effEditKeyUp, 0, 17, nullptr, 0.0f), 0);     // beyond the table
}

TEST_F(ShellProtocolTest, InvalidParameterIndicesAnswerZero) {
    for (int index : {-1, kParamCount}) {
        EXPECT_EQ(host.GetParameter(index), 0.0f);
        host.SetParameter(index, 1.0f);
        char buffer[16] = "untouched";
        EXPECT_EQ(host.Dispatch(vst2::effGetParamName, index, 0, buffer), 0);
        EXPECT_EQ(host.Dispatch(vst2::effGetParamDisplay, index, 0, buffer), 0);
        EXPECT_STREQ(buffer, "untouched");
        vst2::VstParameterProperties properties{};
        EXPECT_EQ(host.Dispatch(vst2::effGetParameterProperties, index, 0, &properties), 0);
    }
    EXPECT_EQ(host.CountCalls(vst2::audioMasterAutomate), 0);
}

}  // namespace
}  // namespace corvalen::wine_testing
