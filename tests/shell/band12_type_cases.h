// Band 12's type switch through the host interface: the texts a host shows and accepts name
// the filter the band really applies, and projects saved by earlier versions (which stored 0
// for the high shelf) keep their sound. Included by tests/shell (the plug-in linked in) and
// tests/wine (the DLL loaded by the test host).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "tests/shell/state_chunk_transfer_fixture.h"

namespace corvalen::testing {
namespace {

#include "tests/shell/data/chunk_reference.inc"

constexpr int kBand12Type = 17;
constexpr int kBand12Frequency = 51;
constexpr int kBand12Gain = 52;
// Offsets in a program chunk: the type byte after the 8-byte header and 17 switches, then
// band 12's frequency and gain doubles.
constexpr std::size_t kBand12TypeOffset = 8 + 17;
constexpr std::size_t kBand12FrequencyOffset = 26 + 24 * 11;
constexpr double kRate = 48000.0;

class Band12TypeTest : public CorvalenInstance {
protected:
    void SetUp() override {
        CorvalenInstance::SetUp();
        host_.Dispatch(vst2::effOpen);
    }

    void SendText(int index, std::string text) {
        host_.Dispatch(vst2::effString2Parameter, index, 0, text.data());
    }

    // Band 12 alone at +12 dB and 1 kHz: the other eleven bands are switched off.
    void IsolateBand12() {
        for (int band = 0; band < 11; ++band) host_.SetParameter(band, 0.0f);
        SendText(kBand12Frequency, "1000");
        SendText(kBand12Gain, "12");
    }

    // The level in dB at 100 Hz, 1 kHz and 10 kHz of the impulse response (long enough for a
    // band at 1 kHz to have died away) through the double path.
    std::vector<double> ImpulseLevels() {
        host_.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
        host_.Dispatch(vst2::effSetBlockSize, 0, kImpulseBlock);
        host_.Dispatch(vst2::effMainsChanged, 0, 1);
        std::vector<double> left(kImpulseLength, 0.0), right(kImpulseLength, 0.0);
        std::vector<double> outLeft(kImpulseLength), outRight(kImpulseLength);
        left[0] = 1.0;
        for (int at = 0; at < kImpulseLength; at += kImpulseBlock) {
            const auto offset = static_cast<std::size_t>(at);
            double* inputs[2] = {left.data() + offset, right.data() + offset};
            double* outputs[2] = {outLeft.data() + offset, outRight.data() + offset};
            host_.ProcessDoubleReplacing(inputs, outputs, kImpulseBlock);
        }
        host_.Dispatch(vst2::effMainsChanged, 0, 0);
        std::vector<double> levels;
        for (double hz : {100.0, 1000.0, 10000.0}) {
            std::complex<double> sum = 0.0;
            for (int n = 0; n < kImpulseLength; ++n) {
                sum += outLeft[static_cast<std::size_t>(n)] *
                       std::polar(1.0, -kTwoPi * hz * static_cast<double>(n) / kRate);
            }
            levels.push_back(20.0 * std::log10(std::abs(sum)));
        }
        return levels;
    }

    static constexpr int kImpulseBlock = 512;
    static constexpr int kImpulseLength = 16 * kImpulseBlock;
};

// A +12 dB high shelf at 1 kHz is flat below, half its gain at 1 kHz and its full gain above;
// a +12 dB peak with Q 0.71 at 1 kHz is its full gain there and within a dB of flat a decade
// away on either side.
void ExpectHighShelf(const std::vector<double>& levels) {
    EXPECT_NEAR(levels[0], 0.0, 0.1);
    EXPECT_NEAR(levels[1], 6.0, 0.05);
    EXPECT_NEAR(levels[2], 12.0, 0.1);
}

void ExpectPeak(const std::vector<double>& levels) {
    EXPECT_LT(std::fabs(levels[0]), 1.0);
    EXPECT_NEAR(levels[1], 12.0, 0.05);
    EXPECT_LT(std::fabs(levels[2]), 1.0);
}

TEST_F(Band12TypeTest, TextsNameTheFilterTheBandApplies) {
    EXPECT_EQ(host_.GetParameter(kBand12Type), 0.0f);
    EXPECT_EQ(Display(kBand12Type), "HighShe");  // hosts get at most 7 characters
    IsolateBand12();
    ExpectHighShelf(ImpulseLevels());

    SendText(kBand12Type, "Peak");
    EXPECT_EQ(host_.GetParameter(kBand12Type), 1.0f);
    EXPECT_EQ(Display(kBand12Type), "Peak");
    ExpectPeak(ImpulseLevels());

    SendText(kBand12Type, "HighShelf");
    EXPECT_EQ(host_.GetParameter(kBand12Type), 0.0f);
    ExpectHighShelf(ImpulseLevels());
    SendText(kBand12Type, "peak");  // typed words match regardless of case
    EXPECT_EQ(host_.GetParameter(kBand12Type), 1.0f);
}

TEST_F(Band12TypeTest, ProjectsSavedEarlierKeepTheirSoundAndShowIt) {
    // Program chunks as earlier versions saved them for band 12 at 1 kHz, +12 dB: the type byte
    // was 0 for the high shelf and 1 for the peak, as it still is.
    const std::vector<unsigned char> reference(std::begin(kReferenceProgramChunk),
                                               std::end(kReferenceProgramChunk));
    for (int stored : {0, 1}) {
        std::vector<unsigned char> chunk = reference;
        chunk[kBand12TypeOffset] = static_cast<unsigned char>(stored);
        PutDouble(chunk, kBand12FrequencyOffset, 1000.0);
        PutDouble(chunk, kBand12FrequencyOffset + 8, 12.0);
        ASSERT_EQ(SetChunk(false, chunk), 1);
        for (int band = 0; band < 11; ++band) host_.SetParameter(band, 0.0f);
        EXPECT_EQ(Display(kBand12Type), stored == 0 ? "HighShe" : "Peak");
        if (stored == 0) ExpectHighShelf(ImpulseLevels());
        if (stored == 1) ExpectPeak(ImpulseLevels());
        for (int band = 0; band < 11; ++band) host_.SetParameter(band, 1.0f);
        EXPECT_EQ(GetChunk(false), chunk) << stored;  // saved again byte for byte
    }
}

}  // namespace
}  // namespace corvalen::testing
