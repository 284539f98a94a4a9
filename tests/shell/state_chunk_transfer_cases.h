// Presets and state chunks through the host interface of the real product: byte-exact chunks
// after construction, reading them back, damaged chunks, preset switching and renaming.
// Included by tests/shell (the plug-in linked in) and tests/wine (the DLL loaded by the test
// host), so the same cases run in both.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/shell/state_chunk_transfer_fixture.h"

namespace corvalen::testing {
namespace {

#include "tests/shell/data/chunk_reference.inc"

constexpr int kF1Gain = 19;
constexpr int kF2Freq = 21;
constexpr int kOut = 58;

using StateChunkTransferTest = CorvalenInstance;

TEST_F(StateChunkTransferTest, ParameterTextsAndValuesAfterConstruction) {
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgram), 0);
    EXPECT_EQ(Display(0), "ON");
    EXPECT_EQ(Display(16), "Peak");
    EXPECT_EQ(Display(55), "comma");
    EXPECT_EQ(Display(kF2Freq), "72.65");
    EXPECT_NEAR(host_.GetParameter(kF2Freq), 0.19552371281946837, 1e-7);
    const std::vector<float> values = AllParameters();
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_NEAR(values[i], kReferenceNormalisedDefaults[i], 1e-7) << i;
    }
}

TEST_F(StateChunkTransferTest, ChunksAfterConstructionAreByteExact) {
    EXPECT_EQ(GetChunk(false), Bytes(kReferenceProgramChunk));
    EXPECT_EQ(GetChunk(true), Bytes(kReferenceBankChunk));
    EXPECT_EQ(host_.Dispatch(vst2::effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(StateChunkTransferTest, PresetNamesAfterConstruction) {
    EXPECT_EQ(ProgramName(0), "Default");
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgramNameIndexed, 0, 0, std::string(32, 'x').data()), 1);
    for (int i = 1; i < 16; ++i) {
        EXPECT_EQ(ProgramName(i), "- " + std::to_string(i + 1) + " -");
    }
    EXPECT_EQ(ProgramName(16), "");
    char name[32] = "stale";
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgramNameIndexed, 16, 0, name), 0);
    EXPECT_EQ(host_.DispatchText(vst2::effGetProgramName), "Default");
}

TEST_F(StateChunkTransferTest, ProgramChunkRoundTrips) {
    ASSERT_EQ(SetChunk(false, Bytes(kReferenceProgramChunk)), 1);
    EXPECT_EQ(GetChunk(false), Bytes(kReferenceProgramChunk));

    host_.SetParameter(kF1Gain, 0.75f);
    host_.SetParameter(kOut, 0.25f);
    host_.SetParameter(12, 0.0f);  // a graph layer: in the program chunk, not in snapshots
    const std::vector<unsigned char> edited = GetChunk(false);
    const std::vector<float> editedValues = AllParameters();
    ASSERT_EQ(edited.size(), 353u);
    ASSERT_EQ(SetChunk(false, Bytes(kReferenceProgramChunk)), 1);
    EXPECT_NE(AllParameters(), editedValues);
    ASSERT_EQ(SetChunk(false, edited), 1);
    EXPECT_EQ(AllParameters(), editedValues);
    EXPECT_EQ(Display(kF1Gain), "+12.0");
    EXPECT_EQ(Display(kOut), "-6.0");
}

TEST_F(StateChunkTransferTest, CustomDataLengthLimits) {
    const std::vector<unsigned char> reference = Bytes(kReferenceProgramChunk);
    const std::string longest(1024, 'p');
    ASSERT_EQ(SetChunk(false, WithPath(reference, longest, 1024)), 1);
    std::vector<unsigned char> saved = GetChunk(false);
    ASSERT_EQ(saved.size(), 353u + 1024u);
    EXPECT_EQ(GetInt32(saved, kLengthOffset), 1024);
    EXPECT_EQ(std::string(saved.begin() + kPathOffset, saved.end()), longest);

    EXPECT_EQ(SetChunk(false, WithPath(reference, std::string(1025, 'q'), 1025)), 0);
    saved = GetChunk(false);
    EXPECT_EQ(std::string(saved.begin() + kPathOffset, saved.end()), longest);  // path kept

    // A length field of 2000: all parameters are applied, the path stays, the answer is 0.
    std::vector<unsigned char> damaged = WithPath(reference, "short", 2000);
    PutDouble(damaged, kBandOffset + 8, -6.0);  // f1Gain
    PutDouble(damaged, kOutOffset, 3.0);
    damaged[8] = 0;  // f1_btn
    EXPECT_EQ(SetChunk(false, damaged), 0);
    EXPECT_EQ(Display(kF1Gain), "-6.0");
    EXPECT_EQ(Display(kOut), "+3.0");
    EXPECT_EQ(Display(0), "OFF");
    saved = GetChunk(false);
    EXPECT_EQ(std::string(saved.begin() + kPathOffset, saved.end()), longest);

    ASSERT_EQ(SetChunk(false, WithPath(reference, "", 0)), 1);
    EXPECT_EQ(GetChunk(false).size(), 353u);
}

TEST_F(StateChunkTransferTest, ChunkWithoutMagicIsReadAsRawValues) {
    std::vector<unsigned char> raw = Bytes(kReferenceProgramChunk);
    PutDouble(raw, kBandOffset + 8, 9.0);  // f1Gain
    raw.erase(raw.begin(), raw.begin() + 8);
    ASSERT_EQ(SetChunk(false, raw), 1);
    EXPECT_EQ(Display(kF1Gain), "+9.0");

    // A bank request holding a program chunk without the header is read the same way.
    PutDouble(raw, kBandOffset - 8, 1000.0);  // band 1 frequency
    ASSERT_EQ(SetChunk(true, raw), 1);
    EXPECT_EQ(Display(18), "1000.00");
}

TEST_F(StateChunkTransferTest, SwitchingPresetsKeepsEdits) {
    host_.SetParameter(kF1Gain, 0.75f);
    host_.Dispatch(vst2::effSetProgram, 0, 1);
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgram), 1);
    EXPECT_EQ(Display(kF1Gain), "0.0");
    host_.SetParameter(kOut, 0.0f);
    host_.Dispatch(vst2::effSetProgram, 0, 0);
    EXPECT_EQ(Display(kF1Gain), "+12.0");
    EXPECT_EQ(Display(kOut), "0.0");
    host_.Dispatch(vst2::effSetProgram, 0, 1);
    EXPECT_EQ(Display(kOut), "-12.0");
    host_.Dispatch(vst2::effSetProgram, 0, 99);  // no such preset: stays
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgram), 1);
    host_.SetParameter(kOut, 1.0f);
    host_.Dispatch(vst2::effSetProgram, 0, -1);  // the current one, stored and restored
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgram), 1);
    EXPECT_EQ(Display(kOut), "+12.0");
}

TEST_F(StateChunkTransferTest, RenamingStoresAndCutsTheName) {
    host_.SetParameter(kF1Gain, 0.25f);
    std::string name = "Flat HD600";
    host_.Dispatch(vst2::effSetProgramName, 0, 0, name.data());
    EXPECT_EQ(host_.DispatchText(vst2::effGetProgramName), "Flat HD600");
    std::string empty;
    host_.Dispatch(vst2::effSetProgramName, 0, 0, empty.data());
    EXPECT_EQ(ProgramName(0), "Flat HD600");
    // The rename stored the edit: leaving and coming back finds it.
    host_.Dispatch(vst2::effSetProgram, 0, 2);
    host_.SetParameter(kF1Gain, 0.5f);
    host_.Dispatch(vst2::effSetProgram, 0, 0);
    EXPECT_EQ(Display(kF1Gain), "-12.0");

    std::string longName(300, 'n');
    host_.Dispatch(vst2::effSetProgramName, 0, 0, longName.data());
    const std::vector<unsigned char> bank = GetChunk(true);
    ASSERT_GE(bank.size(), 16u);
    EXPECT_EQ(GetInt32(bank, 12), 256);
    EXPECT_EQ(ProgramName(0), std::string(23, 'n'));  // hosts get at most 23 characters
}

TEST_F(StateChunkTransferTest, BankChunkRestoresEveryPreset) {
    host_.Dispatch(vst2::effSetProgram, 0, 3);
    host_.SetParameter(kF1Gain, 1.0f);
    std::string name = "Bright";
    host_.Dispatch(vst2::effSetProgramName, 0, 0, name.data());
    host_.Dispatch(vst2::effSetProgram, 0, 0);
    host_.SetParameter(13, 0.0f);  // FR_grafico, kept in the bank head
    const std::vector<unsigned char> bank = GetChunk(true);
    ASSERT_EQ(bank.size(), sizeof kReferenceBankChunk + 1);  // "Bright" is one longer than "- 4 -"
    EXPECT_EQ(bank[9], 0);

    ASSERT_EQ(SetChunk(true, Bytes(kReferenceBankChunk)), 1);
    EXPECT_EQ(ProgramName(3), "- 4 -");
    EXPECT_EQ(Display(13), "ON");
    ASSERT_EQ(SetChunk(true, bank), 1);
    EXPECT_EQ(host_.Dispatch(vst2::effGetProgram), 0);  // the current preset is restored
    EXPECT_EQ(ProgramName(3), "Bright");
    EXPECT_EQ(Display(13), "OFF");
    EXPECT_EQ(Display(kF1Gain), "0.0");
    host_.Dispatch(vst2::effSetProgram, 0, 3);
    EXPECT_EQ(Display(kF1Gain), "+24.0");
    EXPECT_EQ(GetChunk(true), bank);
}

TEST_F(StateChunkTransferTest, BankNamesAreKeptToTheRenameLimit) {
    // Preset 0 stored under a 300-byte name: it is read as its first 256 bytes, so a bank
    // saved again always fits its buffer, even with every preset at its longest.
    std::vector<unsigned char> bank = Bytes(kReferenceBankChunk);
    const std::size_t nameAt = 12 + 4;
    bank.erase(bank.begin() + nameAt, bank.begin() + nameAt + 7);  // "Default"
    bank.insert(bank.begin() + nameAt, 300, 'n');
    PutInt32(bank, 12, 300);
    ASSERT_EQ(SetChunk(true, bank), 1);
    const std::vector<unsigned char> saved = GetChunk(true);
    ASSERT_EQ(saved.size(), sizeof kReferenceBankChunk - 7 + 256);
    EXPECT_EQ(GetInt32(saved, 12), 256);
    EXPECT_EQ(std::string(saved.begin() + nameAt, saved.begin() + nameAt + 256),
              std::string(256, 'n'));
    EXPECT_EQ(saved[nameAt + 256], 1);  // the flag follows the name
}

// A damaged chunk: NaN, infinite and huge values in every band and the output level.
std::vector<unsigned char> DamagedProgramChunk() {
    std::vector<unsigned char> chunk = Bytes(kReferenceProgramChunk);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    for (std::size_t band = 0; band < 12; ++band) {
        const std::size_t at = kBandOffset + 24 * band;
        PutDouble(chunk, at, band % 2 == 0 ? nan : 1e300);
        PutDouble(chunk, at + 8, band % 3 == 0 ? infinity : 1e308);
        PutDouble(chunk, at + 16, band % 2 == 0 ? -1e300 : nan);
    }
    PutDouble(chunk, kOutOffset, 1e12);
    return chunk;
}

TEST_F(StateChunkTransferTest, TruncatedChunksFailAtEveryLength) {
    StartAudio();
    const std::vector<unsigned char> program = DamagedProgramChunk();
    // Leave a complete chunk in the buffer first: its bytes must not complete a shorter one.
    ASSERT_EQ(SetChunk(false, program), 1);
    for (std::size_t length = 0; length < program.size(); ++length) {
        EXPECT_EQ(SetChunk(false, {program.begin(), program.begin() + long(length)}), 0) << length;
        ASSERT_TRUE(NextBlockIsFinite()) << length;
    }
    const std::vector<unsigned char> bank = Bytes(kReferenceBankChunk);
    ASSERT_EQ(SetChunk(true, bank), 1);
    // Every length through the head and the first preset record, then a stride through the
    // other fifteen (each applies every preset it reaches), and every length at the end.
    const std::size_t firstRecordEnd = 12 + 4 + 7 + 1 + 341;
    for (std::size_t length = 0; length < bank.size(); ++length) {
        if (length > firstRecordEnd && length + 16 < bank.size() && length % 29 != 0) continue;
        EXPECT_EQ(SetChunk(true, {bank.begin(), bank.begin() + long(length)}), 0) << length;
    }
    ASSERT_TRUE(NextBlockIsFinite());
}

TEST_F(StateChunkTransferTest, HostsMayHandBackTheBufferTheyWereGiven) {
    host_.SetParameter(kOut, 0.75f);
    for (int32_t index : {1, 0}) {
        void* data = nullptr;
        const intptr_t length = host_.Dispatch(vst2::effGetChunk, index, 0, &data);
        ASSERT_GT(length, 0);
        EXPECT_EQ(host_.Dispatch(vst2::effSetChunk, index, length, data), 1);
        // A length running past the buffer we handed out is refused rather than read.
        EXPECT_EQ(host_.Dispatch(vst2::effSetChunk, index, 30000, data), 0);
    }
    EXPECT_EQ(Display(kOut), "+6.0");
}

TEST_F(StateChunkTransferTest, DamagedValuesNeverReachTheAudio) {
    const std::vector<unsigned char> chunk = DamagedProgramChunk();
    ASSERT_EQ(SetChunk(false, chunk), 1);
    for (float value : AllParameters()) {
        EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << value;
    }
    EXPECT_EQ(Display(kF1Gain), "0.0");        // +infinity is not applied
    EXPECT_EQ(Display(kF1Gain + 3), "+24.0");  // 1e308 is clamped
    EXPECT_EQ(Display(kF2Freq), "20000.0");    // hosts get 7 characters
    EXPECT_EQ(Display(kF2Freq - 3), "20.00");  // NaN is not applied: band 1 keeps 20 Hz
    EXPECT_EQ(Display(kOut), "+12.0");
    StartAudio();
    for (int block = 0; block < 8; ++block) ASSERT_TRUE(NextBlockIsFinite()) << block;
}

TEST_F(StateChunkTransferTest, HostValuesOutsideZeroToOneAreClampedOrIgnored) {
    host_.SetParameter(kOut, 0.75f);
    host_.SetParameter(kOut, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(Display(kOut), "+6.0");
    host_.SetParameter(kOut, 7.0f);
    EXPECT_EQ(host_.GetParameter(kOut), 1.0f);
    host_.SetParameter(kF2Freq, -3.0f);
    EXPECT_EQ(Display(kF2Freq), "20.00");
    StartAudio();
    for (int block = 0; block < 8; ++block) ASSERT_TRUE(NextBlockIsFinite()) << block;
}

}  // namespace
}  // namespace corvalen::testing
