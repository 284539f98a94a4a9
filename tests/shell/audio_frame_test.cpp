// The processing frame: conversion between the host's buffers and ProcessBlock, channels the
// host does not feed, and host blocks longer than the announced block size.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <numeric>
#include <thread>
#include <utility>
#include <vector>

#include "probe_plugin.h"
#include "shell/block_pieces.h"

namespace corvalen::testing {
namespace {

class AudioFrameTest : public ProbeHostTest {
protected:
    // A distinct ramp per channel, exactly representable in float.
    static std::vector<float> Ramp(int frames, float start) {
        std::vector<float> samples(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            samples[static_cast<std::size_t>(i)] = start + 0.25f * static_cast<float>(i % 64);
        }
        return samples;
    }
};

TEST_F(AudioFrameTest, FloatBlocksPassThroughBeforeTheHostSetsTheRate) {
    std::vector<float> left = Ramp(512, 1.0f), right = Ramp(512, -3.0f);
    std::vector<float> outLeft(512, 99.0f), outRight(512, 99.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.ProcessReplacing(inputs, outputs, 512);  // 512 frames after the initial 1024
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);
    EXPECT_EQ(plugin().pieces, std::vector<int32_t>{512});
}

TEST_F(AudioFrameTest, AccumulatingProcessAddsToTheHostOutput) {
    std::vector<float> left = Ramp(100, 1.0f), right = Ramp(100, 2.0f);
    std::vector<float> outLeft(100, 0.5f), outRight(100, -1.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.Process(inputs, outputs, 100);
    for (std::size_t i = 0; i < 100; ++i) {
        EXPECT_EQ(outLeft[i], left[i] + 0.5f);
        EXPECT_EQ(outRight[i], right[i] - 1.0f);
    }
}

TEST_F(AudioFrameTest, DoubleBlocksPassThroughBeforeABlockSizeIsSet) {
    std::vector<double> left(300), right(300);
    std::iota(left.begin(), left.end(), 0.125);
    std::iota(right.begin(), right.end(), -7.5);
    std::vector<double> outLeft(300), outRight(300);
    double* inputs[2] = {left.data(), right.data()};
    double* outputs[2] = {outLeft.data(), outRight.data()};
    host.ProcessDoubleReplacing(inputs, outputs, 300);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);
    // In place, as many hosts do it.
    double* inPlace[2] = {left.data(), right.data()};
    host.ProcessDoubleReplacing(inPlace, inPlace, 300);
    EXPECT_EQ(left, outLeft);
}

TEST_F(AudioFrameTest, DisconnectedInputReadsZerosAndConsumesNoHostPointer) {
    host.Dispatch(vst2::effSetBlockSize, 0, 128);
    vst2::VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    host.Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), nullptr);
    std::vector<float> only = Ramp(128, 5.0f);
    std::vector<float> outLeft(128, 9.0f), outRight(128, 9.0f);
    float* inputs[1] = {only.data()};  // one pointer: the second input is not fed
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.ProcessReplacing(inputs, outputs, 128);
    EXPECT_EQ(outLeft, only);
    EXPECT_EQ(outRight, std::vector<float>(128, 0.0f));
}

TEST_F(AudioFrameTest, AnInputDisconnectedAfterPlayingReadsSilenceNotItsLastBlock) {
    // The host narrows to one input without announcing a new block size: the second input's
    // scratch buffer still holds the last block converted into it, which must not play on.
    host.Dispatch(vst2::effSetBlockSize, 0, 128);
    std::vector<float> left = Ramp(128, 1.0f), right = Ramp(128, -2.0f);
    std::vector<float> outLeft(128), outRight(128);
    float* stereoIn[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.ProcessReplacing(stereoIn, outputs, 128);
    ASSERT_EQ(outRight, right);

    vst2::VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    host.Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono), nullptr);
    float* monoIn[1] = {left.data()};
    for (int block = 0; block < 2; ++block) {
        host.ProcessReplacing(monoIn, outputs, 128);
        EXPECT_EQ(outLeft, left);
        EXPECT_EQ(outRight, std::vector<float>(128, 0.0f)) << "block " << block;
    }
}

TEST_F(AudioFrameTest, DisconnectedOutputIsNotWrittenToTheHost) {
    vst2::VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    host.Dispatch(vst2::effSetSpeakerArrangement, 0, 0, &mono);
    std::vector<float> left = Ramp(64, 1.0f), right = Ramp(64, 2.0f);
    std::vector<float> out(64, 7.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[1] = {out.data()};
    host.ProcessReplacing(inputs, outputs, 64);
    EXPECT_EQ(out, left);
}

TEST_F(AudioFrameTest, LongHostBlocksAreProcessedInPiecesInAllThreeCallbacks) {
    host.Dispatch(vst2::effSetBlockSize, 0, 64);
    const int frames = 1000;  // 15 pieces of 64 and one of 40
    std::vector<int32_t> expectedPieces(15, 64);
    expectedPieces.push_back(40);

    std::vector<float> left = Ramp(frames, 1.0f), right = Ramp(frames, -1.0f);
    std::vector<float> outLeft(frames, 0.0f), outRight(frames, 0.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.ProcessReplacing(inputs, outputs, frames);
    EXPECT_EQ(outLeft, left);
    EXPECT_EQ(outRight, right);
    EXPECT_EQ(plugin().pieces, expectedPieces);

    plugin().pieces.clear();
    host.Process(inputs, outputs, frames);
    for (std::size_t i = 0; i < left.size(); ++i) EXPECT_EQ(outLeft[i], 2.0f * left[i]);
    EXPECT_EQ(plugin().pieces, expectedPieces);

    plugin().pieces.clear();
    std::vector<double> dLeft(left.begin(), left.end()), dRight(right.begin(), right.end());
    std::vector<double> dOutLeft(frames), dOutRight(frames);
    double* dInputs[2] = {dLeft.data(), dRight.data()};
    double* dOutputs[2] = {dOutLeft.data(), dOutRight.data()};
    host.ProcessDoubleReplacing(dInputs, dOutputs, frames);
    EXPECT_EQ(dOutLeft, dLeft);
    EXPECT_EQ(dOutRight, dRight);
    EXPECT_EQ(plugin().pieces, expectedPieces);
}

TEST(BlockPieces, CoverTheBlockInOrderWithoutOverflowingAtTheLargestFrameCount) {
    using Piece = std::pair<int32_t, int32_t>;
    std::vector<Piece> pieces;
    const auto record = [&](int32_t offset, int32_t count) { pieces.emplace_back(offset, count); };
    ForEachPiece(10, 4, record);
    EXPECT_EQ(pieces, (std::vector<Piece>{{0, 4}, {4, 4}, {8, 2}}));
    pieces.clear();
    ForEachPiece(8, 4, record);
    EXPECT_EQ(pieces, (std::vector<Piece>{{0, 4}, {4, 4}}));
    pieces.clear();
    // INT32_MAX = 2^30 + (2^30 - 1): a running offset stepped by whole pieces would pass it.
    ForEachPiece(INT32_MAX, 1 << 30, record);
    EXPECT_EQ(pieces, (std::vector<Piece>{{0, 1 << 30}, {1 << 30, (1 << 30) - 1}}));
    pieces.clear();
    ForEachPiece(0, 4, record);
    ForEachPiece(-3, 4, record);
    ForEachPiece(5, 0, record);
    EXPECT_TRUE(pieces.empty());
}

TEST_F(AudioFrameTest, EmptyAndNegativeBlocksDoNothing) {
    std::vector<float> samples(8, 1.0f), out(8, 3.0f);
    float* inputs[2] = {samples.data(), samples.data()};
    float* outputs[2] = {out.data(), out.data()};
    host.ProcessReplacing(inputs, outputs, 0);
    host.ProcessReplacing(inputs, outputs, -5);
    EXPECT_EQ(out, std::vector<float>(8, 3.0f));
    EXPECT_TRUE(plugin().pieces.empty());
}

TEST_F(AudioFrameTest, WithoutScratchBuffersReplacingCallbacksWriteSilence) {
    host.Dispatch(vst2::effSetBlockSize, 0, 0);  // no scratch: nothing can be processed
    std::vector<float> left = Ramp(32, 1.0f), right = Ramp(32, 2.0f);
    std::vector<float> outLeft(32, 7.0f), outRight(32, 7.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.Process(inputs, outputs, 32);
    EXPECT_EQ(outLeft, std::vector<float>(32, 7.0f));  // nothing added
    host.ProcessReplacing(inputs, outputs, 32);
    EXPECT_EQ(outLeft, std::vector<float>(32, 0.0f));
    EXPECT_EQ(outRight, std::vector<float>(32, 0.0f));
    std::vector<double> dIn(32, 1.0), dOut(32, 7.0);
    double* dInputs[2] = {dIn.data(), dIn.data()};
    double* dOutputs[2] = {dOut.data(), dOut.data()};
    host.ProcessDoubleReplacing(dInputs, dOutputs, 32);
    EXPECT_EQ(dOut, std::vector<double>(32, 0.0));
    EXPECT_TRUE(plugin().pieces.empty());
}

TEST_F(AudioFrameTest, BlockSizeChangesWaitForTheBlockInProgress) {
    // The scratch buffers are resized by the dispatcher while the audio thread converts into
    // them; the instance lock must keep the two apart (a sanitizer build sees any overlap).
    // Both threads do a fixed amount of work, whatever share of the lock each gets.
    std::thread audio([&] {
        std::vector<float> left = Ramp(1000, 1.0f), right = Ramp(1000, 2.0f);
        std::vector<float> outLeft(1000), outRight(1000);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (int block = 0; block < 400; ++block) {
            host.ProcessReplacing(inputs, outputs, 1000);
            ASSERT_EQ(outLeft, left);
        }
    });
    for (int i = 0; i < 400; ++i) host.Dispatch(vst2::effSetBlockSize, 0, i % 2 == 0 ? 64 : 1024);
    audio.join();
}

}  // namespace
}  // namespace corvalen::testing
