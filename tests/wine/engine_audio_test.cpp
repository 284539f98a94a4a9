// The equaliser inside the real DLL: an impulse through known band settings, set as a host sets
// them, must come out of processDoubleReplacing exactly as the bank written straight from its
// per-sample formula gives it, and out of processReplacing as the same values rounded to float;
// on every vector path this processor can run, in the DLL as a host loads it (where a vector
// spilled to a misaligned stack slot would fault).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/eq_band.h"
#include "engine/flush_to_zero_guard.h"
#include "engine/parameter_table.h"
#include "engine/vector_path.h"
#include "loaded_plugin.h"
#include "reference_bank.h"
#include "shell/parameter.h"

namespace corvalen::wine_testing {
namespace {

constexpr int kBlock = 256;
constexpr double kRate = 44100.0;

// (parameter index, normalised value as the host sends it)
struct Setting {
    int index;
    float normalised;
};

const Setting kSettings[] = {
    {param::kTypeBand1, 1.0f},   // band 1 a low shelf
    {param::kTypeBand12, 1.0f},  // band 12 a peak
    {param::BandGain(0), 0.625f}, {param::BandFrequency(0), 0.3f},
    {param::BandGain(2), 0.75f},  {param::BandQuality(2), 0.6f},
    {param::BandGain(5), 0.2f},   {param::BandSwitch(7), 0.0f},  // band 8 off
    {param::BandGain(7), 1.0f},  // ... so its +24 dB must not be heard
    {param::BandGain(9), 0.4f},   {param::BandQuality(9), 0.9f},
    {param::BandGain(11), 0.9f},  {param::BandFrequency(11), 0.95f},
    {param::kOut, 0.375f},
};

class EngineAudioTest : public LoadedPluginTest {
protected:
    void SetUp() override {
        LoadedPluginTest::SetUp();
        OpenAndSet();
    }

    // Opens the effect as a host does and sends the settings.
    void OpenAndSet() {
        host.Dispatch(vst2::effOpen);
        host.Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
        host.Dispatch(vst2::effSetBlockSize, 0, kBlock);
        host.Dispatch(vst2::effMainsChanged, 0, 1);

        params_.clear();
        AppendParameters(params_);
        for (const Setting& s : kSettings) {
            host.SetParameter(s.index, s.normalised);
            params_[static_cast<std::size_t>(s.index)]->SetNormalised(
                static_cast<double>(s.normalised));
        }
        reference::TuneFromParameters(bands_, state_, kRate,
                                      [this](int index) { return Value(index); });
    }

    double Value(int index) const { return params_[static_cast<std::size_t>(index)]->Value(); }

    // The reference's output for the next block of the same input.
    void Reference(const std::vector<double>& left, const std::vector<double>& right,
                   std::vector<double>& outLeft, std::vector<double>& outRight) {
        outLeft.assign(left.size(), 0.0);
        outRight.assign(right.size(), 0.0);
        const double* in[2] = {left.data(), right.data()};
        double* out[2] = {outLeft.data(), outRight.data()};
        FlushToZeroGuard guard;
        reference::ProcessBank(bands_, state_, in, out, static_cast<int>(left.size()));
    }

    std::vector<std::unique_ptr<ParamSpec>> params_;
    EqBand bands_[kBandCount];
    EngineState state_;
};

TEST_F(EngineAudioTest, DoublePathMatchesTheFormulaToTheLastBit) {
    ASSERT_EQ(state_.bandEnabled[7], 0);
    for (int block = 0; block < 3; ++block) {
        std::vector<double> left(kBlock, 0.0), right(kBlock, 0.0);
        if (block == 0) {
            left[0] = 1.0;
            right[3] = -0.5;
        }
        std::vector<double> outLeft(kBlock, 9.0), outRight(kBlock, 9.0), wantLeft, wantRight;
        double* inputs[2] = {left.data(), right.data()};
        double* outputs[2] = {outLeft.data(), outRight.data()};
        host.ProcessDoubleReplacing(inputs, outputs, kBlock);
        Reference(left, right, wantLeft, wantRight);
        ASSERT_EQ(std::memcmp(outLeft.data(), wantLeft.data(), sizeof(double) * kBlock), 0)
            << "block " << block;
        ASSERT_EQ(std::memcmp(outRight.data(), wantRight.data(), sizeof(double) * kBlock), 0)
            << "block " << block;
        if (block == 0) {
            EXPECT_NE(outLeft[1], 0.0);  // the bands really filter
        }
    }
}

TEST_F(EngineAudioTest, FloatPathIsTheSameResultRoundedToFloat) {
    for (int block = 0; block < 2; ++block) {
        std::vector<float> left(kBlock, 0.0f), right(kBlock, 0.0f);
        if (block == 0) {
            left[0] = 1.0f;
            right[5] = 0.25f;
        }
        std::vector<float> outLeft(kBlock, 9.0f), outRight(kBlock, 9.0f);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        host.ProcessReplacing(inputs, outputs, kBlock);
        std::vector<double> wantLeft, wantRight;
        Reference(std::vector<double>(left.begin(), left.end()),
                  std::vector<double>(right.begin(), right.end()), wantLeft, wantRight);
        for (int n = 0; n < kBlock; ++n) {
            const std::size_t i = static_cast<std::size_t>(n);
            ASSERT_EQ(outLeft[i], static_cast<float>(wantLeft[i]))
                << "block " << block << " frame " << n;
            ASSERT_EQ(outRight[i], static_cast<float>(wantRight[i]))
                << "block " << block << " frame " << n;
        }
    }
}

// The DLL chooses its vector path when it loads: each path runs in a fresh load that asks for it.
TEST_F(EngineAudioTest, EveryVectorPathMatchesTheFormulaInTheLoadedDll) {
    const VectorSupport support = DetectVectorSupport();
    int paths = 0;
    for (VectorPath path : {VectorPath::kSse2, VectorPath::kAvx2, VectorPath::kAvx512}) {
        if (!Supports(support, path)) continue;
        ++paths;
        host.Close();
        const std::string setting = std::string(kVectorPathVariable) + "=" + VectorPathName(path);
        _putenv(setting.c_str());
        ASSERT_TRUE(host.Load(kPluginPath)) << host.LastError();
        OpenAndSet();
        std::mt19937 random(11);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        for (int frames : {1, 2, 3, 31, 32, 33, 256, 255, 17}) {
            std::vector<double> left(static_cast<std::size_t>(frames)), right(left.size());
            for (std::size_t n = 0; n < left.size(); ++n) {
                left[n] = unit(random);
                right[n] = 0.5 * unit(random);
            }
            std::vector<double> outLeft(left.size(), 9.0), outRight(left.size(), 9.0), wantLeft,
                wantRight;
            double* inputs[2] = {left.data(), right.data()};
            double* outputs[2] = {outLeft.data(), outRight.data()};
            host.ProcessDoubleReplacing(inputs, outputs, frames);
            Reference(left, right, wantLeft, wantRight);
            ASSERT_EQ(std::memcmp(outLeft.data(), wantLeft.data(), sizeof(double) * left.size()), 0)
                << VectorPathName(path) << " block of " << frames;
            ASSERT_EQ(std::memcmp(outRight.data(), wantRight.data(), sizeof(double) * left.size()),
                      0)
                << VectorPathName(path) << " block of " << frames;
        }
    }
    _putenv((std::string(kVectorPathVariable) + "=").c_str());
    EXPECT_GE(paths, 1);
}

}  // namespace
}  // namespace corvalen::wine_testing
