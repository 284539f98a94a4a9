// Host misuse, one row per thing a careless host does, each on a fresh instance: what the
// plug-in answers, and that afterwards it still works (parameters in range, a saved program
// that reloads to the same bytes, finite audio). The editor window's misuse (opening twice, a
// null parent, closing the effect with the window open) is in tests/gui. Included by
// tests/shell (the plug-in linked in) and tests/wine (the DLL loaded by the test host).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/shell/state_chunk_transfer_fixture.h"

namespace corvalen::testing {
namespace {

constexpr int kMisuseFrequency = 18;  // f1Freq
constexpr int kMisuseGain = 19;       // f1Gain
constexpr int kMisuseOtherGain = 22;  // f2Gain
constexpr int kMisuseOut = 58;        // out
constexpr int kMisuseFrames = 4096;

// A two-tone stereo signal and what came out of one callback.
struct Block {
    explicit Block(int frames) : left(frames), right(frames), outLeft(frames), outRight(frames) {
        for (int i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / 48000.0;
            left[static_cast<std::size_t>(i)] =
                static_cast<float>(0.5 * std::sin(kTwoPi * 90.0 * t));
            right[static_cast<std::size_t>(i)] =
                static_cast<float>(0.5 * std::sin(kTwoPi * 4100.0 * t));
        }
    }
    void ProcessReplacing(host::VstHost& host) {
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        host.ProcessReplacing(inputs, outputs, static_cast<int32_t>(left.size()));
    }
    bool Finite() const {
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i])) return false;
        }
        return true;
    }
    std::vector<float> left, right, outLeft, outRight;
};

// Band 1 at 100 Hz, +9.6 dB, so the equaliser audibly acts on the low tone.
void LiftBand1(host::VstHost& host) {
    host.Dispatch(vst2::effString2Parameter, kMisuseFrequency, 0, std::string("100").data());
    host.SetParameter(kMisuseGain, 0.7f);
}

// An instance treated as a careful host treats it: opened, told the rate and the block it
// really sends, band 1 lifted.
void OpenCarefully(host::VstHost& host, int block) {
    ASSERT_TRUE(OpenCorvalen(host)) << host.LastError();
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(vst2::effSetBlockSize, 0, block);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    LiftBand1(host);
}

// Announces `announced` frames and sends kMisuseFrames: the output is exactly what an instance
// told the truth gives.
void ExpectAudioAsACarefulHostGets(host::VstHost& host, intptr_t announced) {
    host.Dispatch(vst2::effOpen);
    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(vst2::effSetBlockSize, 0, announced);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    LiftBand1(host);
    host::VstHost careful;
    OpenCarefully(careful, kMisuseFrames);
    Block misused(kMisuseFrames), expected(kMisuseFrames);
    misused.ProcessReplacing(host);
    expected.ProcessReplacing(careful);
    EXPECT_EQ(misused.outLeft, expected.outLeft);
    EXPECT_EQ(misused.outRight, expected.outRight);
    EXPECT_NE(misused.outLeft, misused.left);  // the equaliser acted
}

class HostMisuseTest : public CorvalenInstance {
protected:
    // Afterwards the instance still works.
    void ExpectStillWorking() {
        for (int i = 0; i < host_.Effect()->numParams; ++i) {
            const float value = host_.GetParameter(i);
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "parameter " << i;
        }
        const std::vector<unsigned char> saved = GetChunk(false);
        ASSERT_FALSE(saved.empty());
        EXPECT_EQ(SetChunk(false, saved), 1);
        EXPECT_EQ(GetChunk(false), saved);
        host_.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 44100.0f);
        host_.Dispatch(vst2::effSetBlockSize, 0, 512);
        Block block(512);
        block.ProcessReplacing(host_);
        EXPECT_TRUE(block.Finite());
    }
};

struct Misuse {
    const char* what;
    std::function<void(host::VstHost&)> run;
};

TEST_F(HostMisuseTest, EveryMisuseIsAnsweredAndTheInstanceStillWorks) {
    const Misuse cases[] = {
        {"audio before effOpen, with and without a rate and block size",
         [](host::VstHost& host) {
             Block untold(300);
             untold.ProcessReplacing(host);
             EXPECT_EQ(untold.outLeft, untold.left);  // passed through unchanged
             EXPECT_EQ(untold.outRight, untold.right);
             host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
             host.Dispatch(vst2::effSetBlockSize, 0, 300);
             Block told(300);
             told.ProcessReplacing(host);
             EXPECT_EQ(told.outLeft, told.left);  // the bands are tuned when the host opens
             EXPECT_EQ(told.outRight, told.right);
             host.Dispatch(vst2::effOpen);
         }},
        {"effEditClose without effEditOpen",
         [](host::VstHost& host) {
             host.Dispatch(vst2::effOpen);
             host.Dispatch(vst2::effEditClose);
             host.Dispatch(vst2::effEditClose);
         }},
        {"effEditOpen with a null parent window",
         [](host::VstHost& host) {
             host.Dispatch(vst2::effOpen);
             EXPECT_EQ(host.Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
             host.Dispatch(vst2::effEditClose);
         }},
        {"setParameter from two threads at once",
         [](host::VstHost& host) {
             host.Dispatch(vst2::effOpen);
             constexpr int kSetsPerThread = 5000;
             const auto automate = [&host](float base, int own) {
                 for (int i = 0; i < kSetsPerThread; ++i) {
                     const float value = base + 0.25f * static_cast<float>(i % 2);
                     host.SetParameter(kMisuseGain, value);
                     host.SetParameter(own, value);
                 }
             };
             std::thread first(automate, 0.125f, kMisuseOut);
             std::thread second(automate, 0.5f, kMisuseOtherGain);
             first.join();
             second.join();
             // Each thread's last value won on its own parameter; the shared one holds one of
             // the two last values, with its display text.
             EXPECT_EQ(host.GetParameter(kMisuseOut), 0.375f);
             EXPECT_EQ(host.GetParameter(kMisuseOtherGain), 0.75f);
             const float shared = host.GetParameter(kMisuseGain);
             EXPECT_TRUE(shared == 0.375f || shared == 0.75f) << shared;
             EXPECT_EQ(host.DispatchText(vst2::effGetParamDisplay, kMisuseGain),
                       shared == 0.75f ? "+12.0" : "-6.0");
         }},
        {"a block size of 10^9 announced",
         [](host::VstHost& host) { ExpectAudioAsACarefulHostGets(host, 1000000000); }},
        {"a block longer than announced",
         [](host::VstHost& host) { ExpectAudioAsACarefulHostGets(host, 64); }},
        {"effClose with the editor asked for but never opened",
         [](host::VstHost& host) {
             host.Dispatch(vst2::effOpen);
             vst2::ERect* rect = nullptr;
             host.Dispatch(vst2::effEditGetRect, 0, 0, &rect);
             ASSERT_NE(rect, nullptr);
             host.Close();  // the record is gone; the test's instance is a new one
             EXPECT_EQ(host.Effect(), nullptr);
         }},
    };
    for (const Misuse& c : cases) {
        SCOPED_TRACE(c.what);
        host_.Close();
        ASSERT_TRUE(OpenCorvalen(host_)) << host_.LastError();
        c.run(host_);
        if (host_.Effect() == nullptr) {
            ASSERT_TRUE(OpenCorvalen(host_)) << host_.LastError();
            host_.Dispatch(vst2::effOpen);
        }
        ExpectStillWorking();
    }
}

}  // namespace
}  // namespace corvalen::testing
