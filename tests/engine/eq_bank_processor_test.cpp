// The audio path against the bank written straight from its definition, bit for bit, on every
// vector path this processor can run, and the behaviours a user hears: bypass, switching bands,
// empty blocks, bad input, the denormal guard.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine/eq_bank_processor.h"
#include "engine/flush_to_zero_guard.h"
#include "engine/vector_path.h"
#include "reference_bank.h"

namespace corvalen {
namespace {

#include "data/engine_reference.inc"

struct Bank {
    EqBand bands[kBandCount];
    EngineState state;

    Bank() {
        for (int k = 0; k < kBandCount; ++k) {
            EqBand& b = bands[k];
            b.sampleRate = kBankRate;
            b.type = kBank[k].type;
            b.frequency = kBank[k].hz;
            b.gainDb = kBank[k].gainDb;
            b.q = kBank[k].q;
            b.recompute();
            state.bandEnabled[k] = 1;
        }
    }
};

struct Signal {
    std::vector<double> left, right;
    explicit Signal(int frames, unsigned seed = 1)
        : left(static_cast<size_t>(frames)), right(left) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> unit(-1.0, 1.0);
        for (int n = 0; n < frames; ++n) {
            left[static_cast<size_t>(n)] = unit(random);
            right[static_cast<size_t>(n)] = unit(random) * 0.25;
        }
    }
};

// One block of a run: its length and the band switches (bit k: band k + 1) it is filtered with.
struct RunBlock {
    int frames;
    unsigned switches;
};

// A sample the audio path takes as silence: the reference is fed the same input with these
// already replaced, so both see the same signal.
double AsTheBankTakesIt(double x) { return std::isfinite(x) ? x : 0.0; }

// Runs the optimised path and the reference over the same blocks and compares every output
// sample and every memory bit.
void ExpectSameAsReference(Bank fast, Bank plain, const std::vector<RunBlock>& blocks,
                           const Signal& input) {
    std::vector<double> plainLeft(input.left.size()), plainRight(input.right.size());
    for (size_t n = 0; n < plainLeft.size(); ++n) {
        plainLeft[n] = AsTheBankTakesIt(input.left[n]);
        plainRight[n] = AsTheBankTakesIt(input.right[n]);
    }
    const size_t total = input.left.size();
    std::vector<double> fastOut[2], plainOut[2];
    for (auto* outs : {fastOut, plainOut}) {
        outs[0].assign(total, 0.0);
        outs[1].assign(total, 0.0);
    }
    FlushToZeroGuard guard;
    size_t at = 0;
    for (const RunBlock& block : blocks) {
        for (int k = 0; k < kBandCount; ++k) {
            fast.state.bandEnabled[k] = plain.state.bandEnabled[k] = (block.switches >> k) & 1u;
        }
        ASSERT_LE(at + static_cast<size_t>(block.frames > 0 ? block.frames : 0), total);
        const double* inFast[2] = {input.left.data() + at, input.right.data() + at};
        const double* inPlain[2] = {plainLeft.data() + at, plainRight.data() + at};
        double* outFast[2] = {fastOut[0].data() + at, fastOut[1].data() + at};
        double* outPlain[2] = {plainOut[0].data() + at, plainOut[1].data() + at};
        ProcessEqBank(fast.bands, fast.state, inFast, outFast, block.frames);
        reference::ProcessBank(plain.bands, plain.state, inPlain, outPlain, block.frames);
        if (block.frames > 0) at += static_cast<size_t>(block.frames);
    }
    for (int c = 0; c < 2; ++c) {
        ASSERT_EQ(std::memcmp(fastOut[c].data(), plainOut[c].data(), sizeof(double) * total), 0)
            << "channel " << c;
    }
    for (int k = 0; k < kBandCount; ++k) {
        ASSERT_EQ(
            std::memcmp(fast.bands[k].channel, plain.bands[k].channel, sizeof(ChannelState) * 2), 0)
            << "band " << k + 1;
    }
}

int TotalFrames(const std::vector<RunBlock>& blocks) {
    int total = 0;
    for (const RunBlock& b : blocks) total += b.frames > 0 ? b.frames : 0;
    return total;
}

// Every test below runs once per vector path; a path this processor cannot run is skipped.
class EqBankProcessor : public ::testing::TestWithParam<VectorPath> {
protected:
    void SetUp() override {
        before_ = ActiveVectorPath();
        if (!ForceVectorPath(GetParam())) GTEST_SKIP() << "this processor cannot run the path";
    }
    void TearDown() override { ForceVectorPath(before_); }

private:
    VectorPath before_ = VectorPath::kSse2;
};

INSTANTIATE_TEST_SUITE_P(EveryPath, EqBankProcessor,
                         ::testing::Values(VectorPath::kSse2, VectorPath::kAvx2,
                                           VectorPath::kAvx512),
                         [](const ::testing::TestParamInfo<VectorPath>& path) {
                             return std::string(VectorPathName(path.param));
                         });

constexpr unsigned kAllBands = (1u << kBandCount) - 1u;

TEST_P(EqBankProcessor, BitIdenticalToTheFormulaInAnyBlocking) {
    Bank bank;
    SetOutputGain(bank.state, -3.7);
    std::vector<RunBlock> blocks;
    for (int frames : {512, 1, 2, 3, 31, 32, 33, 0, -5, 4099, 7, 11, 12, 13, 20, 21}) {
        blocks.push_back({frames, kAllBands});
    }
    ExpectSameAsReference(bank, bank, blocks, Signal(TotalFrames(blocks)));
}

// Every one of the 4096 switch patterns, in blocks shorter and longer than the pipeline (the
// wide paths schedule blocks of about a hundred frames and more differently).
TEST_P(EqBankProcessor, BitIdenticalForEverySwitchPattern) {
    const std::vector<int> lengths = {1, 2, 3, 31, 33, 130};
    int perPattern = 0;
    for (int frames : lengths) perPattern += frames;
    const Signal input(perPattern, 7);
    Bank bank;
    SetOutputGain(bank.state, 2.5);
    for (unsigned pattern = 0; pattern <= kAllBands; ++pattern) {
        std::vector<RunBlock> blocks;
        for (int frames : lengths) blocks.push_back({frames, pattern});
        ExpectSameAsReference(bank, bank, blocks, input);
        if (HasFatalFailure()) FAIL() << "switch pattern 0x" << std::hex << pattern;
    }
}

// Bands going off and on between blocks: a band back on continues from its memory.
TEST_P(EqBankProcessor, BandsSwitchedOffAndOnMidStream) {
    const std::vector<RunBlock> blocks = {{40, kAllBands}, {33, kAllBands & ~0x010u},
                                          {1, 0x001u},     {64, 0x555u},
                                          {3, kAllBands},  {512, 0xAAAu},
                                          {29, 0x800u},    {100, kAllBands}};
    Bank bank;
    ExpectSameAsReference(bank, bank, blocks, Signal(TotalFrames(blocks), 3));
}

// Denormal samples enter unchanged (flush-to-zero acts on results only); Inf and NaN enter as
// silence, the same as the reference fed zeros there.
TEST_P(EqBankProcessor, DenormalAndNonFiniteInputsAsTheFormulaGivesThem) {
    Signal input(300, 5);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double denormal = std::numeric_limits<double>::denorm_min() * 12345.0;
    for (size_t n = 0; n < 300; n += 7) input.left[n] = denormal;
    for (size_t n = 3; n < 300; n += 11) input.right[n] = -denormal;
    for (size_t n : {10u, 11u, 150u}) input.left[n] = nan;
    for (size_t n : {12u, 200u}) input.right[n] = -inf;
    input.right[13] = inf;
    ExpectSameAsReference(Bank(), Bank(), {{31, kAllBands}, {269, kAllBands}}, input);
}

TEST_P(EqBankProcessor, InPlaceBuffersGiveTheSameResult) {
    for (int frames : {1, 3, 31, 777}) {
        Bank inPlace, separate;
        Signal signal(frames);
        std::vector<double> left = signal.left, right = signal.right;
        std::vector<double> outLeft(left.size()), outRight(left.size());
        const double* in[2] = {signal.left.data(), signal.right.data()};
        double* out[2] = {outLeft.data(), outRight.data()};
        double* same[2] = {left.data(), right.data()};
        ProcessEqBank(separate.bands, separate.state, in, out, frames);
        ProcessEqBank(inPlace.bands, inPlace.state, same, same, frames);
        EXPECT_EQ(std::memcmp(left.data(), outLeft.data(), sizeof(double) * left.size()), 0)
            << frames;
        EXPECT_EQ(std::memcmp(right.data(), outRight.data(), sizeof(double) * right.size()), 0)
            << frames;
    }
}

TEST_P(EqBankProcessor, BypassAndAllBandsOffGiveInputTimesGain) {
    for (bool bypass : {true, false}) {
        Bank bank;
        SetOutputGain(bank.state, 6.0);
        if (bypass) {
            bank.state.bypass = 1;
        } else {
            std::memset(bank.state.bandEnabled, 0, sizeof bank.state.bandEnabled);
        }
        const Bank before = bank;
        Signal signal(100);
        std::vector<double> l(100), r(100);
        const double* in[2] = {signal.left.data(), signal.right.data()};
        double* out[2] = {l.data(), r.data()};
        ProcessEqBank(bank.bands, bank.state, in, out, 100);
        const double gain = std::pow(10.0, 6.0 * 0.05);  // the gain as the audio path forms it
        for (size_t n = 0; n < 100; ++n) {
            EXPECT_EQ(l[n], gain * signal.left[n]);
            EXPECT_EQ(r[n], gain * signal.right[n]);
        }
        EXPECT_EQ(std::memcmp(bank.bands, before.bands, sizeof bank.bands), 0);
    }
}

TEST_P(EqBankProcessor, SwitchedOffBandKeepsItsMemoryAndContinues) {
    Bank bank;
    std::memset(bank.state.bandEnabled, 0, sizeof bank.state.bandEnabled);
    bank.state.bandEnabled[4] = 1;
    std::vector<double> l(64, 0.0), r(64, 0.0);
    l[0] = 1.0;
    double* io[2] = {l.data(), r.data()};
    ProcessEqBank(bank.bands, bank.state, io, io, 8);  // the impulse enters band 5
    const ChannelState held = bank.bands[4].channel[0];
    ASSERT_NE(held.y1, 0.0);

    bank.state.bandEnabled[4] = 0;
    std::vector<double> silence(16, 0.0), outL(16), outR(16);
    const double* quiet[2] = {silence.data(), silence.data()};
    double* out[2] = {outL.data(), outR.data()};
    ProcessEqBank(bank.bands, bank.state, quiet, out, 16);
    EXPECT_EQ(std::memcmp(&bank.bands[4].channel[0], &held, sizeof held), 0);

    // Back on, the tail continues exactly where the uninterrupted filter would have gone.
    bank.state.bandEnabled[4] = 1;
    ProcessEqBank(bank.bands, bank.state, quiet, out, 16);
    Bank uninterrupted;
    std::vector<double> impulse(24, 0.0), expect(24);
    impulse[0] = 1.0;
    for (size_t n = 0; n < 24; ++n) {
        expect[n] = FilterSample(uninterrupted.bands[4].taps, uninterrupted.bands[4].channel[0],
                                 impulse[n]);
    }
    for (size_t n = 0; n < 16; ++n) EXPECT_EQ(outL[n], expect[n + 8]);
}

TEST_P(EqBankProcessor, ZeroOrNegativeFramesTouchNothing) {
    Bank bank;
    const Bank before = bank;
    double sentinel[2] = {123.0, 456.0};
    const double* in[2] = {sentinel, sentinel};
    double* out[2] = {sentinel, sentinel + 1};
    ProcessEqBank(bank.bands, bank.state, in, out, 0);
    ProcessEqBank(bank.bands, bank.state, in, out, -1);
    EXPECT_EQ(sentinel[0], 123.0);
    EXPECT_EQ(sentinel[1], 456.0);
    EXPECT_EQ(std::memcmp(bank.bands, before.bands, sizeof bank.bands), 0);
}

TEST_P(EqBankProcessor, NonFiniteInputNeverReachesTheMemories) {
    Bank bank;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> l = {0.5, nan, inf, -inf, 0.25}, r = {nan, 1.0, 1e308, -1e308, 0.0};
    double* io[2] = {l.data(), r.data()};
    ProcessEqBank(bank.bands, bank.state, io, io, 5);
    for (const EqBand& band : bank.bands) {
        for (const ChannelState& s : band.channel) {
            EXPECT_TRUE(std::isfinite(s.x1) && std::isfinite(s.x2) && std::isfinite(s.y1) &&
                        std::isfinite(s.y2));
        }
    }
    std::vector<double> after(64, 0.0), outL(64), outR(64);
    after[0] = 1.0;
    const double* in[2] = {after.data(), after.data()};
    double* out[2] = {outL.data(), outR.data()};
    ProcessEqBank(bank.bands, bank.state, in, out, 64);
    for (size_t n = 0; n < 64; ++n) EXPECT_TRUE(std::isfinite(outL[n]) && std::isfinite(outR[n]));
}

TEST(FlushToZeroGuard, SetsBothBitsAndRestoresTheCallersWord) {
    const unsigned original = _mm_getcsr();
    _mm_setcsr(original & ~0x8800u);
    {
        FlushToZeroGuard guard;
        EXPECT_EQ(_mm_getcsr() & 0x8800u, 0x8800u);
        volatile double tiny = 1e-310;  // a denormal result flushes to zero
        volatile double product = tiny * 0.5;
        EXPECT_EQ(product, 0.0);
    }
    EXPECT_EQ(_mm_getcsr() & 0x8800u, 0u);
    _mm_setcsr(original | 0x8800u);
    {
        FlushToZeroGuard guard;
        EXPECT_EQ(_mm_getcsr(), original | 0x8800u);
    }
    EXPECT_EQ(_mm_getcsr(), original | 0x8800u);
    _mm_setcsr(original);
}

}  // namespace
}  // namespace corvalen

namespace corvalen {
namespace {

TEST(VectorPathChoice, WidestSupportedUnlessANarrowerSupportedOneIsNamed) {
    struct Case {
        bool avx2, avx512;
        const char* requested;
        VectorPath chosen;
    };
    const Case cases[] = {
        {false, false, nullptr, VectorPath::kSse2},
        {true, false, nullptr, VectorPath::kAvx2},
        {true, true, nullptr, VectorPath::kAvx512},
        {true, true, "sse2", VectorPath::kSse2},
        {true, true, "avx2", VectorPath::kAvx2},
        {true, false, "avx512", VectorPath::kAvx2},  // not on this processor: the widest it has
        {false, false, "avx2", VectorPath::kSse2},
        {true, true, "AVX2", VectorPath::kAvx512},  // names are exact
        {true, true, "", VectorPath::kAvx512},
    };
    for (const Case& c : cases) {
        VectorSupport support;
        support.avx2 = c.avx2;
        support.avx512 = c.avx512;
        EXPECT_EQ(ChooseVectorPath(support, c.requested), c.chosen)
            << c.avx2 << c.avx512 << " " << (c.requested != nullptr ? c.requested : "(none)");
    }
    // A path the processor cannot run is never forced.
    const VectorSupport here = DetectVectorSupport();
    const VectorPath before = ActiveVectorPath();
    EXPECT_EQ(ForceVectorPath(VectorPath::kAvx512), here.avx512);
    EXPECT_EQ(ForceVectorPath(VectorPath::kAvx2), here.avx2);
    EXPECT_TRUE(ForceVectorPath(VectorPath::kSse2));
    ForceVectorPath(before);
}

}  // namespace
}  // namespace corvalen
