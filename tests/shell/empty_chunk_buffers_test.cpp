// Chunks of a plug-in whose constructor reserved no chunk buffers: the buffers are sized on
// first use. The probe has a switch and a -24..24 gain, sixteen presets and no custom data.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "probe_plugin.h"

namespace corvalen::testing {
namespace {

using EmptyChunkBuffersTest = ProbeHostTest;

std::vector<unsigned char> TakeChunk(host::VstHost& host, bool bank) {
    void* data = nullptr;
    const intptr_t length = host.Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
    if (length <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + length);
}

TEST_F(EmptyChunkBuffersTest, ProgramAndBankAreSizedOnFirstUse) {
    host.SetParameter(1, 0.75f);  // gain +12 dB
    // Header, one switch byte and one double.
    const std::vector<unsigned char> program = TakeChunk(host, false);
    ASSERT_EQ(program.size(), 8u + 1u + 8u);
    const unsigned char twelve[8] = {0, 0, 0, 0, 0, 0, 0x28, 0x40};  // 12.0
    EXPECT_EQ(std::memcmp(program.data() + 9, twelve, 8), 0);

    // Storing the live state initialises preset 0; the others stay uninitialised records:
    // header, 4 + 5 + 1 + 9 for "- 1 -" with its snapshot, 8 x (4 + 5 + 1) for "- 2 -" to
    // "- 9 -", 7 x (4 + 6 + 1) for "- 10 -" to "- 16 -".
    const std::vector<unsigned char> bank = TakeChunk(host, true);
    EXPECT_EQ(bank.size(), 8u + 19u + 80u + 77u);

    host.SetParameter(1, 0.25f);
    ASSERT_EQ(host.Dispatch(vst2::effSetChunk, 0, static_cast<intptr_t>(bank.size()),
                            const_cast<unsigned char*>(bank.data())),
              1);
    EXPECT_EQ(host.GetParameter(1), 0.75f);
}

TEST(EmptyChunkBuffers, AFreshInstanceTakesAChunkBeforeGivingOne) {
    host::VstHost host;
    ASSERT_TRUE(host.Open(&ProbeEntry)) << host.LastError();
    std::vector<unsigned char> program = {0x74, 0x66, 0x66, 0x70, 0, 0, 1,    0,   1,
                                          0,    0,    0,    0,    0, 0, 0x18, 0xc0};  // on, -6 dB
    ASSERT_EQ(
        host.Dispatch(vst2::effSetChunk, 1, static_cast<intptr_t>(program.size()), program.data()),
        1);
    EXPECT_EQ(host.GetParameter(0), 1.0f);
    EXPECT_EQ(host.GetParameter(1), 0.375f);
    EXPECT_EQ(TakeChunk(host, false), program);
}

}  // namespace
}  // namespace corvalen::testing
