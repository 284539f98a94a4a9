// The response model's grid and start state, and the four curves the graph draws from it,
// including the bank response against the measured impulse response of the audio path.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <vector>

#include "engine/eq_bank_processor.h"
#include "engine/flush_to_zero_guard.h"
#include "engine/response_curves.h"

namespace corvalen {
namespace {

#include "data/engine_reference.inc"

class Curves : public ::testing::Test {
protected:
    Curves() : model_(state_, path_) {}

    void TuneBank() {
        for (int k = 1; k <= kBandCount; ++k) {
            EqBand& b = model_.band(k);
            b.sampleRate = kBankRate;
            b.type = kBank[k - 1].type;
            b.frequency = kBank[k - 1].hz;
            b.gainDb = kBank[k - 1].gainDb;
            b.q = kBank[k - 1].q;
            b.recompute();
            state_.bandEnabled[k - 1] = static_cast<std::uint8_t>(kBank[k - 1].enabled);
        }
    }

    EngineState state_;
    std::string path_;
    ResponseModel model_;
};

TEST_F(Curves, GridMatchesIndependentValues) {
    for (const auto& row : kGridReference) {
        EXPECT_NEAR(model_.gridFrequency(static_cast<int>(row[0])), row[1], row[1] * 1e-14);
    }
    EXPECT_NEAR(model_.gridFrequency(0), 19.9526, 5e-5);
    EXPECT_NEAR(model_.gridFrequency(799), 19805.5, 0.05);
    EXPECT_EQ(model_.pointCount(), 800);
}

TEST_F(Curves, BankResponseMatchesComplexEvaluation) {
    TuneBank();
    for (const auto& row : kBankResponse) {
        EXPECT_NEAR(EqResponseDb(model_, row[0]), row[1], 1e-6) << row[0] << " Hz";
    }
}

// The magnitude of the DFT of the bank's impulse response is what the audio path really does;
// the EQ curve must agree with it.
TEST_F(Curves, BankResponseMatchesTheMeasuredImpulseResponse) {
    TuneBank();
    const int frames = 1 << 17;  // long enough for the narrowest band's tail to die out
    std::vector<double> left(static_cast<size_t>(frames), 0.0), right(left);
    left[0] = 1.0;
    double* io[2] = {left.data(), right.data()};
    {
        FlushToZeroGuard guard;
        ProcessEqBank(model_.bands(), state_, io, io, frames);
    }
    for (int i : {0, 120, 250, 391, 500, 640, 760, 799}) {
        const double f = model_.gridFrequency(i);
        std::complex<double> sum = 0.0;
        const double w = 2.0 * 3.141592653589793 * f / kBankRate;
        for (int n = 0; n < frames; ++n)
            sum += left[static_cast<size_t>(n)] * std::polar(1.0, -w * n);
        EXPECT_NEAR(20.0 * std::log10(std::abs(sum)), EqCurveDb(model_, i), 1e-3) << f << " Hz";
    }
}

TEST_F(Curves, DisabledBandsAreExactlyFlat) {
    TuneBank();
    std::memset(state_.bandEnabled, 0, sizeof state_.bandEnabled);
    for (int i = 0; i < model_.pointCount(); ++i) ASSERT_EQ(EqCurveDb(model_, i), 0.0);
    // Even a band that was never tuned contributes nothing while off.
    ResponseModel fresh(state_, path_);
    EXPECT_EQ(EqCurveDb(fresh, 100), 0.0);
}

TEST_F(Curves, ReferenceLevelShiftsOnlyTheMeasuredCurves) {
    TuneBank();
    for (int i = 0; i < model_.pointCount(); ++i) model_.frCurve()[i] = 85.0;
    state_.referenceLevelDb = 85.0;
    for (int i : {0, 391, 799}) {
        EXPECT_EQ(MeasuredCurveDb(model_, i), TargetCurveDb(model_, i));
        EXPECT_NEAR(CorrectedCurveDb(model_, i), EqCurveDb(model_, i), 1e-12);
    }
    const double eqBefore = EqCurveDb(model_, 391);
    const double correctedBefore = CorrectedCurveDb(model_, 391);
    state_.referenceLevelDb = 88.0;
    EXPECT_EQ(MeasuredCurveDb(model_, 391), -3.0);
    EXPECT_NEAR(CorrectedCurveDb(model_, 391), correctedBefore - 3.0, 1e-12);
    EXPECT_EQ(EqCurveDb(model_, 391), eqBefore);
    EXPECT_EQ(TargetCurveDb(model_, 391), 0.0);
    state_.bypass = 1;  // the bypass shows as a sign only
    EXPECT_EQ(EqCurveDb(model_, 391), eqBefore);
}

TEST_F(Curves, WithoutMeasurementAtReferenceZero) {
    TuneBank();
    std::vector<double> eq(800), measured(800), corrected(800);
    FillCurve(model_, kEqLayer, eq.data());
    FillCurve(model_, kMeasuredLayer, measured.data());
    FillCurve(model_, kCorrectedLayer, corrected.data());
    for (size_t i = 0; i < 800; ++i) {
        ASSERT_EQ(measured[i], 0.0);
        ASSERT_EQ(corrected[i], eq[i]);
    }
    EXPECT_FALSE(LayerShown(model_, kMeasuredLayer));
    state_.layerShown[kMeasuredLayer] = 1;
    EXPECT_TRUE(LayerShown(model_, kMeasuredLayer));
}

}  // namespace
}  // namespace corvalen
