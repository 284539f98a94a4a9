// State chunks nobody should hand over, one row each, on an instance holding a user's work (a
// measurement path, band 1 at +9.6 dB, preset 6 renamed): a chunk the plug-in cannot take is
// refused before anything changes, a damaged one is read as far as it is whole and answered 0,
// and either way nothing beyond the damage is lost and what the plug-in saves afterwards
// reloads to the same bytes. Included by tests/shell (the plug-in linked in) and tests/wine
// (the DLL loaded by the test host).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/shell/state_chunk_transfer_fixture.h"

namespace corvalen::testing {
namespace {

#include "tests/shell/data/chunk_reference.inc"

constexpr int kHostileF1Gain = 19;
constexpr int kHostileOut = 58;
constexpr const char* kUsersPath = "C:\\eq\\HD 650.csv";
constexpr std::size_t kBankFirstRecord = 12;  // after the header and the four graph switches
constexpr std::size_t kSnapshotBytes = sizeof kReferenceSnapshot;

// What is left of the user's work after a row.
enum class Afterwards {
    Unchanged,     // refused before anything was read: the program, the bank, the path
    PathKept,      // the parameters were read, the damaged custom data left the path alone
    ChunksValues,  // read as far as it is whole; the row's own check says what that means
};

struct HostileChunk {
    const char* what;
    bool bank;
    std::vector<unsigned char> bytes;
    intptr_t length;  // what the host claims; kTrueLength for the bytes' own
    bool nullPointer;
    intptr_t answer;
    Afterwards afterwards;
    std::function<void()> check;  // may be empty
};

constexpr intptr_t kTrueLength = -12345;

// Bank chunk bytes: where preset `index`'s record starts (every name of the reference bank is
// written before it).
std::size_t BankRecordAt(int index) {
    const std::vector<unsigned char> bank = Bytes(kReferenceBankChunk);
    std::size_t at = kBankFirstRecord;
    for (int i = 0; i < index; ++i)
        at += 4 + static_cast<std::size_t>(GetInt32(bank, at)) + 1 + kSnapshotBytes;
    return at;
}

std::vector<unsigned char> Garbage(std::size_t size) {
    std::mt19937 random(61);
    std::vector<unsigned char> bytes(size);
    for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random() & 0xFF);
    return bytes;
}

class HostileChunkTest : public CorvalenInstance {
protected:
    void SetUp() override {
        CorvalenInstance::SetUp();
        host_.Dispatch(vst2::effOpen);
    }

    // The user's work: a program with a measurement path, band 1 lifted, preset 6 renamed.
    void MakeUsersWork() {
        ASSERT_EQ(SetChunk(false, WithPath(Bytes(kReferenceProgramChunk), kUsersPath,
                                           static_cast<int32_t>(std::string(kUsersPath).size()))),
                  1);
        host_.Dispatch(vst2::effSetProgram, 0, 5);
        std::string name = "Mine";
        host_.Dispatch(vst2::effSetProgramName, 0, 0, name.data());
        host_.Dispatch(vst2::effSetProgram, 0, 0);
        host_.SetParameter(kHostileF1Gain, 0.7f);
    }

    std::string SavedPath() {
        const std::vector<unsigned char> program = GetChunk(false);
        return program.size() > kPathOffset
                   ? std::string(program.begin() + kPathOffset, program.end())
                   : std::string();
    }

    intptr_t Hand(const HostileChunk& row) {
        std::vector<unsigned char> copy = row.bytes;
        void* pointer = nullptr;
        if (!row.nullPointer) pointer = copy.empty() ? static_cast<void*>(&copy) : copy.data();
        const intptr_t length =
            row.length == kTrueLength ? static_cast<intptr_t>(copy.size()) : row.length;
        return host_.Dispatch(vst2::effSetChunk, row.bank ? 0 : 1, length, pointer);
    }
};

TEST_F(HostileChunkTest, EachChunkIsRefusedOrReadAsFarAsItIsWhole) {
    const std::vector<unsigned char> program = Bytes(kReferenceProgramChunk);
    const std::vector<unsigned char> bank = Bytes(kReferenceBankChunk);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();

    std::vector<unsigned char> nonFinite = program;
    PutDouble(nonFinite, kBandOffset + 8, nan);        // f1Gain
    PutDouble(nonFinite, kBandOffset + 24, infinity);  // f2Freq
    PutDouble(nonFinite, kOutOffset, -infinity);
    std::vector<unsigned char> huge = program;
    huge.resize(64u << 20, 0);  // a whole program, then 64 MiB of nothing
    std::vector<unsigned char> nameNegative = bank, nameHuge = bank;
    PutInt32(nameNegative, BankRecordAt(3), -1);
    PutInt32(nameHuge, BankRecordAt(3), std::numeric_limits<int32_t>::max());
    const std::vector<unsigned char> bankCut(
        bank.begin(), bank.begin() + static_cast<std::ptrdiff_t>(BankRecordAt(3) + 100));

    // Presets 0 to 2 come from the bank (the current one, 0, is then restored from it); from
    // the damage on, each preset keeps what it held.
    const auto presetsUpToTheDamage = [this] {
        EXPECT_EQ(GetChunk(false), Bytes(kReferenceProgramChunk));
        EXPECT_EQ(ProgramName(5), "Mine");
        EXPECT_EQ(host_.Dispatch(vst2::effGetProgram), 0);
    };

    const HostileChunk rows[] = {
        {"length 0", false, program, 0, false, 0, Afterwards::Unchanged, {}},
        {"length 0, bank", true, bank, 0, false, 0, Afterwards::Unchanged, {}},
        {"negative length", false, program, -353, false, 0, Afterwards::Unchanged, {}},
        {"length past 2^31",
         false,
         program,
         intptr_t{1} << 31,
         false,
         0,
         Afterwards::Unchanged,
         {}},
        {"a length and no bytes", true, bank, kTrueLength, true, 0, Afterwards::Unchanged, {}},
        {"64 MiB: a whole program, then zeros", false, huge, kTrueLength, false, 1,
         Afterwards::ChunksValues,
         [this] { EXPECT_EQ(GetChunk(false), Bytes(kReferenceProgramChunk)); }},
        {"NaN and infinities", false, nonFinite, kTrueLength, false, 1, Afterwards::ChunksValues,
         [this] {
             // A value that is not finite is not applied: each keeps what it was.
             EXPECT_EQ(Display(kHostileF1Gain), "+9.6");
             EXPECT_EQ(Display(kHostileF1Gain + 2), "72.65");
             EXPECT_EQ(Display(kHostileOut), "0.0");
         }},
        {"custom data of length -1", false, WithPath(program, "x", -1), kTrueLength, false, 0,
         Afterwards::PathKept, [this] { EXPECT_EQ(Display(kHostileF1Gain), "0.0"); }},
        {"custom data of length 2^31 - 1",
         false,
         WithPath(program, "x", std::numeric_limits<int32_t>::max()),
         kTrueLength,
         false,
         0,
         Afterwards::PathKept,
         {}},
        // Read as raw values from its first byte; among them a set unloadFR empties the path.
        {"garbage", false, Garbage(400), kTrueLength, false, 0, Afterwards::ChunksValues, {}},
        {"bank: a preset's name of length -1", true, nameNegative, kTrueLength, false, 0,
         Afterwards::ChunksValues, presetsUpToTheDamage},
        {"bank: a preset's name past the chunk", true, nameHuge, kTrueLength, false, 0,
         Afterwards::ChunksValues, presetsUpToTheDamage},
        {"bank: cut inside a preset", true, bankCut, kTrueLength, false, 0,
         Afterwards::ChunksValues, presetsUpToTheDamage},
    };

    for (const HostileChunk& row : rows) {
        SCOPED_TRACE(row.what);
        MakeUsersWork();
        const std::vector<unsigned char> before = GetChunk(false);
        const std::vector<unsigned char> bankBefore = GetChunk(true);

        EXPECT_EQ(Hand(row), row.answer);

        for (float value : AllParameters()) EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << value;
        if (row.afterwards == Afterwards::Unchanged) {
            EXPECT_EQ(GetChunk(false), before);
            EXPECT_EQ(GetChunk(true), bankBefore);
        }
        if (row.afterwards != Afterwards::ChunksValues) {
            EXPECT_EQ(SavedPath(), kUsersPath);
        }
        if (row.check) row.check();

        // What is saved now reloads to the same bytes.
        for (bool asBank : {false, true}) {
            const std::vector<unsigned char> saved = GetChunk(asBank);
            ASSERT_FALSE(saved.empty());
            EXPECT_EQ(SetChunk(asBank, saved), 1);
            EXPECT_EQ(GetChunk(asBank), saved);
        }
    }
}

}  // namespace
}  // namespace corvalen::testing
