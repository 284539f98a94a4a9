// The band record: initial values, the coefficient formulas against independently computed
// values, the guards that keep a band finite and stable, and the magnitude formula.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/eq_band.h"

namespace corvalen {
namespace {

#include "data/engine_reference.inc"

EqBand MakeBand(int type, double rate, double hz, double gainDb, double q) {
    EqBand band;
    band.type = type;
    band.sampleRate = rate;
    band.frequency = hz;
    band.gainDb = gainDb;
    band.q = q;
    band.recompute();
    return band;
}

TEST(EqBand, StartsUncomputedAt48kHz) {
    const EqBand band;
    EXPECT_EQ(band.sampleRate, 48000.0);
    for (double slot : {band.amplitude, band.w0, band.alpha, band.b0, band.b1, band.b2, band.a0,
                        band.a1, band.a2}) {
        EXPECT_EQ(slot, -666.0);
    }
    for (const ChannelState& s : band.channel) {
        EXPECT_EQ(s.x1 + s.x2 + s.y1 + s.y2, 0.0);
    }
}

TEST(EqBand, CoefficientsMatchIndependentValues) {
    for (const BandReference& r : kBandReference) {
        const EqBand band = MakeBand(r.type, r.rate, r.hz, r.gainDb, r.q);
        const double got[6] = {band.b0, band.b1, band.b2, band.a0, band.a1, band.a2};
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(got[i], r.coef[i], 1e-13 * std::fabs(r.coef[i]) + 1e-15)
                << "type " << r.type << " at " << r.hz << " Hz, coefficient " << i;
        }
        EXPECT_NE(band.a0, 1.0);  // stored without normalising
    }
}

TEST(EqBand, ZeroGainPassesUnchangedForEveryType) {
    for (int type : {kPeak, kLowShelf, kHighShelf}) {
        EqBand band = MakeBand(type, 48000.0, 1000.0, 0.0, 0.71);
        EXPECT_EQ(band.b0, band.a0);
        EXPECT_EQ(band.b1, band.a1);
        EXPECT_EQ(band.b2, band.a2);
        double maxError = 0.0;
        for (int n = 0; n < 256; ++n) {
            const double x = std::sin(0.37 * n) + (n == 0 ? 1.0 : 0.0);
            maxError =
                std::fmax(maxError, std::fabs(FilterSample(band.taps, band.channel[0], x) - x));
        }
        EXPECT_LT(maxError, 1e-12) << "type " << type;
    }
}

TEST(EqBand, UnknownTypeKeepsCoefficientsButUpdatesW0) {
    EqBand band = MakeBand(kPeak, 48000.0, 1000.0, 6.0, 0.71);
    const EqBand before = band;
    band.type = 7;
    band.frequency = 2000.0;
    band.recompute();
    EXPECT_DOUBLE_EQ(band.w0, 2.0 * before.w0);
    EXPECT_EQ(band.b0, before.b0);
    EXPECT_EQ(band.a2, before.a2);
    EXPECT_EQ(band.taps.b0, before.taps.b0);
}

TEST(EqBand, IncompleteInputsKeepPreviousCoefficients) {
    EqBand band;
    band.frequency = 1000.0;  // q still 0: alpha would be infinite
    band.recompute();
    EXPECT_EQ(band.b0, -666.0);
    EXPECT_EQ(band.taps.b0, 1.0);  // an untuned band passes audio through
    EXPECT_EQ(band.taps.a1, 0.0);
    band.q = 1.0;
    band.recompute();
    EXPECT_TRUE(std::isfinite(band.b0));
    const double tuned = band.b0;
    band.sampleRate = 0.0;
    band.recompute();
    EXPECT_EQ(band.b0, tuned);
    band.sampleRate = -44100.0;
    band.recompute();
    EXPECT_EQ(band.b0, tuned);
}

// A 20 kHz band at 32 kHz and at 22.05 kHz sits at or above half the sample rate; it is tuned
// to just below it and stays finite and stable.
TEST(EqBand, FrequencyAtOrAboveHalfTheRateStaysStable) {
    for (double rate : {32000.0, 40000.0, 22050.0, 8000.0}) {
        for (int type : {kPeak, kLowShelf, kHighShelf}) {
            EqBand band = MakeBand(type, rate, 20000.0, 24.0, 12.0);
            EXPECT_LE(band.w0, kMaxW0);
            EXPECT_GT(band.alpha, 0.0);
            double last = 0.0;
            for (int n = 0; n < 200000; ++n)
                last = FilterSample(band.taps, band.channel[0], n == 0);
            EXPECT_TRUE(std::isfinite(last));
            EXPECT_LT(std::fabs(last), 1e-6) << "rate " << rate << " type " << type;
            // Poles inside the unit circle: |a2/a0| < 1.
            EXPECT_LT(std::fabs(band.a2 / band.a0), 1.0);
        }
    }
}

TEST(EqBand, BelowHalfTheRateTheGuardChangesNothing) {
    const EqBand band = MakeBand(kHighShelf, 44100.0, 20000.0, 6.0, 0.71);
    EXPECT_EQ(band.w0, 20000.0 * 6.283185307179586 / 44100.0);
}

}  // namespace
}  // namespace corvalen
