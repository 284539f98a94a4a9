// The pure tables of the host boundary: host identification, version packing, capabilities,
// key translation, the channel-I/O string and text cutting.
#include <gtest/gtest.h>

#include <string>

#include "shell/capabilities.h"
#include "shell/channels.h"
#include "shell/host_identification.h"
#include "shell/host_text.h"
#include "shell/key_mapping.h"

namespace corvalen {
namespace {

int Identify(const std::string& text) { return IdentifyHost(text.c_str(), text.size() + 1); }

TEST(HostIdentification, MatchesFragmentsAnywhereIgnoringAsciiCase) {
    EXPECT_EQ(Identify("REAPER v7.1 x64"), 1);
    EXPECT_EQ(Identify("Steinberg Cubase"), 3);
    EXPECT_EQ(Identify("Avid Pro Tools"), 2);
    EXPECT_EQ(Identify("Bitwig Studio"), 28);
    EXPECT_EQ(Identify("Acoustica Mixcraft"), 25);
    EXPECT_EQ(Identify("SAVIHost"), 30);
}

TEST(HostIdentification, FirstRowWinsWhenSeveralFragmentsOccur) {
    EXPECT_EQ(Identify("nuendo and cubase bundle"), 3);  // cubase is row 1, nuendo row 3
    EXPECT_EQ(Identify("Savihost VSTHost"), 30);         // savihost is searched before vsthost
    EXPECT_EQ(Identify("Ableton Live with Logic"), 9);   // live before logic
}

TEST(HostIdentification, UnknownEmptyAndUnterminatedTextsGiveZero) {
    EXPECT_EQ(Identify(""), 0);
    EXPECT_EQ(Identify("Some Other Host"), 0);
    EXPECT_EQ(Identify("R\xC9"
                       "APER"),
              0);  // only ASCII letters are lowered
    const std::string full(256, 'x');
    std::string reaper = full;
    reaper.replace(0, 6, "reaper");
    EXPECT_EQ(IdentifyHost(reaper.data(), 256), 0);  // no terminating zero in 256 bytes
    EXPECT_EQ(IdentifyHost(nullptr, 256), 0);
}

TEST(VersionPacking, HostVersionSplitsThousandsHundredsAndRest) {
    // 2400: 2 << 16 | 4 << 8 | 0; 12345: 12 << 16 | 3 << 8 | 45; 7: 0 | 0 | 7.
    EXPECT_EQ(PackHostVersion(2400), 0x020400);
    EXPECT_EQ(PackHostVersion(12345), 0x0C032D);
    EXPECT_EQ(PackHostVersion(7), 7);
    EXPECT_EQ(PackHostVersion(0), 0);
}

TEST(VersionPacking, ReportedVersionBelowTenIsDecimalAboveIsPacked) {
    EXPECT_EQ(ReportedVersion(0x00010000), 1000);
    EXPECT_EQ(ReportedVersion(0x00010203), 1000 + 200 + 30);
    EXPECT_EQ(ReportedVersion(0x0009FFFF), 9 * 1000 + 255 * 100 + 255 * 10);
    EXPECT_EQ(ReportedVersion(0x000A0000), 0x000A0000);
}

TEST(Capabilities, ExactCaseSensitiveRows) {
    EXPECT_EQ(FindCapability("receiveVstTimeInfo"), Capability::kReceiveVstTimeInfo);
    EXPECT_EQ(FindCapability("bypass"), Capability::kBypass);
    EXPECT_EQ(FindCapability("Bypass"), Capability::kUnknown);
    EXPECT_EQ(FindCapability("bypass "), Capability::kUnknown);
    EXPECT_EQ(FindCapability("hasCockosExtensions"), Capability::kHasCockosExtensions);
    EXPECT_EQ(FindCapability("hasCockosViewAsConfig"), Capability::kHasCockosViewAsConfig);
    EXPECT_EQ(FindCapability("receiveVstMidiEvent"), Capability::kReceiveVstMidiEvent);
    EXPECT_EQ(FindCapability(""), Capability::kUnknown);
    EXPECT_EQ(FindCapability(nullptr), Capability::kUnknown);
}

TEST(KeyMapping, VirtualKeysOfTheProtocolBecomeWindowsKeys) {
    // VST2 code -> Windows virtual key: space, end, home, arrows, page up / down.
    const int expected[18] = {0, 0, 0, 0, 0, 0, 0, 32, 0, 35, 36, 37, 38, 39, 40, 33, 34, 0};
    for (int code = 0; code < 18; ++code) {
        EXPECT_EQ(MapHostVirtualKey(code), expected[code]) << "code " << code;
    }
    EXPECT_EQ(MapHostVirtualKey(-1), 0);
    EXPECT_EQ(MapHostVirtualKey(200), 0);
}

TEST(KeyMapping, ModifiersAreRemappedAndCommandDropped) {
    EXPECT_EQ(MapHostModifiers(0), 0);
    EXPECT_EQ(MapHostModifiers(1), 4);    // shift
    EXPECT_EQ(MapHostModifiers(2), 16);   // alternate
    EXPECT_EQ(MapHostModifiers(4), 0);    // command
    EXPECT_EQ(MapHostModifiers(8), 8);    // control
    EXPECT_EQ(MapHostModifiers(15), 28);  // all of them
}

TEST(ChannelIo, PairsAndMaxima) {
    const ChannelIoLayout layout = ParseChannelIo("1-1 2-2");
    ASSERT_EQ(layout.configs.size(), 2u);
    EXPECT_EQ(layout.configs[0].inputs, 1);
    EXPECT_EQ(layout.configs[0].outputs, 1);
    EXPECT_EQ(layout.configs[1].inputs, 2);
    EXPECT_EQ(layout.configs[1].outputs, 2);
    EXPECT_EQ(layout.maxInputs, 2);
    EXPECT_EQ(layout.maxOutputs, 2);

    const ChannelIoLayout uneven = ParseChannelIo("0-2 6-1");
    EXPECT_EQ(uneven.maxInputs, 6);
    EXPECT_EQ(uneven.maxOutputs, 2);

    const ChannelIoLayout unreadable = ParseChannelIo("x");
    ASSERT_EQ(unreadable.configs.size(), 1u);
    EXPECT_EQ(unreadable.configs[0].inputs, 0);
    EXPECT_EQ(unreadable.configs[0].outputs, 0);
}

TEST(HostText, CopiesAtMostTheLimitAndTerminates) {
    char buffer[16];
    std::fill(buffer, buffer + 16, '#');
    CopyHostText(buffer, "TARGET_grafico", 7);
    EXPECT_STREQ(buffer, "TARGET_");
    EXPECT_EQ(buffer[8], '#');  // exactly limit + 1 bytes written
    CopyHostText(buffer, nullptr, 7);
    EXPECT_STREQ(buffer, "");
}

}  // namespace
}  // namespace corvalen
