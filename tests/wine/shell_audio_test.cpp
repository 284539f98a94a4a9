// Audio through the DLL's three callbacks: unchanged until the host has set both a sample
// rate and a block size, channels the host does not feed, and blocks longer than announced.
#include <cmath>
#include <vector>

#include "loaded_plugin.h"

namespace corvalen::wine_testing {
namespace {

constexpr int kFrames = 1000;

std::vector<float> Ramp(int frames, float start) {
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = start + 0.001f * static_cast<float>(i % 500);
    }
    return samples;
}

class ShellAudioTest : public LoadedPluginTest {
protected:
    // Output gain at +12 dB: once the equaliser runs the level changes visibly.
    void SetUp() override {
        LoadedPluginTest::SetUp();
        host.Dispatch(vst2::effOpen);
        host.SetParameter(kOutputGain, 1.0f);
    }

    // processReplacing of two ramps; answers the left output.
    std::vector<float> RunReplacing(int frames) {
        left = Ramp(frames, 0.1f);
        right = Ramp(frames, -0.4f);
        outLeft.assign(left.size(), 9.0f);
        outRight.assign(left.size(), 9.0f);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        host.ProcessReplacing(inputs, outputs, frames);
        return outLeft;
    }

    std::vector<float> left, right, outLeft, outRight;
};

TEST_F(ShellAudioTest, FloatAndDoubleAudioPassUnchangedUntilRateAndBlockSizeAreSet) {
    EXPECT_EQ(RunReplacing(512), left);
    EXPECT_EQ(outRight, right);

    std::vector<double> dLeft(left.begin(), left.end()), dRight(right.begin(), right.end());
    std::vector<double> dOutLeft(dLeft.size()), dOutRight(dLeft.size());
    double* inputs[2] = {dLeft.data(), dRight.data()};
    double* outputs[2] = {dOutLeft.data(), dOutRight.data()};
    host.ProcessDoubleReplacing(inputs, outputs, 512);
    EXPECT_EQ(dOutLeft, dLeft);
    EXPECT_EQ(dOutRight, dRight);

    host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(RunReplacing(512), left);  // a rate alone is not enough

    host.Dispatch(vst2::effSetBlockSize, 0, 512);
    host.Dispatch(vst2::effMainsChanged, 0, 1);
    const std::vector<float> processed = RunReplacing(512);
    const double gain = std::pow(10.0, 12.0 / 20.0);  // 3.981071705534972
    for (std::size_t i = 0; i < processed.size(); ++i) {
        ASSERT_NEAR(processed[i], gain * left[i], 1e-4) << "frame " << i;
    }
}

TEST_F(ShellAudioTest, ADisconnectedInputReadsZeros) {
    host.Dispatch(vst2::effSetBlockSize, 0, 256);
    RunReplacing(256);  // both inputs fed once: the second one's scratch holds this block
    vst2::VstSpeakerArrangement mono{};
    mono.numChannels = 1;
    EXPECT_EQ(host.Dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&mono),
                            nullptr),
              1);
    std::vector<float> only = Ramp(256, 0.2f);
    std::vector<float> first(256, 9.0f), second(256, 9.0f);
    float* inputs[1] = {only.data()};
    float* outputs[2] = {first.data(), second.data()};
    host.ProcessReplacing(inputs, outputs, 256);
    EXPECT_EQ(first, only);
    EXPECT_EQ(second, std::vector<float>(256, 0.0f));
}

TEST_F(ShellAudioTest, BlocksLongerThanAnnouncedPassWholeInAllThreeCallbacks) {
    host.Dispatch(vst2::effSetBlockSize, 0, 64);  // no rate yet: the frame alone is tested
    EXPECT_EQ(RunReplacing(kFrames), left);
    EXPECT_EQ(outRight, right);

    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    host.Process(inputs, outputs, kFrames);  // adds the same signal again
    for (std::size_t i = 0; i < left.size(); ++i) ASSERT_EQ(outLeft[i], 2.0f * left[i]);

    std::vector<double> dLeft(left.begin(), left.end()), dRight(right.begin(), right.end());
    std::vector<double> dOutLeft(dLeft.size()), dOutRight(dLeft.size());
    double* dInputs[2] = {dLeft.data(), dRight.data()};
    double* dOutputs[2] = {dOutLeft.data(), dOutRight.data()};
    host.ProcessDoubleReplacing(dInputs, dOutputs, kFrames);
    EXPECT_EQ(dOutLeft, dLeft);
    EXPECT_EQ(dOutRight, dRight);
}

}  // namespace
}  // namespace corvalen::wine_testing
