// The audio path against the bank written straight from its definition, bit for bit, and the
// behaviours a user hears: bypass, switching bands, empty blocks, bad input, the denormal guard.
#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine/eq_bank_processor.h"
#include "engine/flush_to_zero_guard.h"
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
  explicit Signal(int frames, unsigned seed = 1) : left(static_cast<size_t>(frames)), right(left) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int n = 0; n < frames; ++n) {
      left[static_cast<size_t>(n)] = unit(random);
      right[static_cast<size_t>(n)] = unit(random) * 0.25;
    }
  }
};

// Runs the optimised path and the reference over the same blocks and compares every output
// sample and every memory bit.
void ExpectSameAsReference(Bank fast, Bank plain, const std::vector<int>& blocks) {
  int total = 0;
  for (int b : blocks) total += b > 0 ? b : 0;
  Signal input(total);
  std::vector<double> fastOut[2], plainOut[2];
  for (auto* outs : {fastOut, plainOut}) {
    outs[0].assign(static_cast<size_t>(total), 0.0);
    outs[1].assign(static_cast<size_t>(total), 0.0);
  }
  FlushToZeroGuard guard;
  int at = 0;
  for (int frames : blocks) {
    const double* in[2] = {input.left.data() + at, input.right.data() + at};
    double* outFast[2] = {fastOut[0].data() + at, fastOut[1].data() + at};
    double* outPlain[2] = {plainOut[0].data() + at, plainOut[1].data() + at};
    ProcessEqBank(fast.bands, fast.state, in, outFast, frames);
    reference::ProcessBank(plain.bands, plain.state, in, outPlain, frames);
    if (frames > 0) at += frames;
  }
  for (int c = 0; c < 2; ++c) {
    ASSERT_EQ(std::memcmp(fastOut[c].data(), plainOut[c].data(), sizeof(double) * fastOut[c].size()), 0)
        << "channel " << c;
  }
  for (int k = 0; k < kBandCount; ++k) {
    ASSERT_EQ(std::memcmp(fast.bands[k].channel, plain.bands[k].channel, sizeof(ChannelState) * 2), 0)
        << "band " << k + 1;
  }
}

TEST(EqBankProcessor, BitIdenticalToTheFormulaInAnyBlocking) {
  Bank bank;
  bank.state.outputGainDb = -3.7;
  ExpectSameAsReference(bank, bank, {512, 512, 1, 7, 11, 12, 13, 0, -5, 1024, 3});
}

TEST(EqBankProcessor, BitIdenticalForEverySwitchPattern) {
  for (unsigned pattern : {0x000u, 0x001u, 0x800u, 0x555u, 0xAAAu, 0x0F0u, 0x7FEu, 0xFFFu}) {
    Bank bank;
    for (int k = 0; k < kBandCount; ++k) bank.state.bandEnabled[k] = (pattern >> k) & 1u;
    bank.state.outputGainDb = 2.5;
    ExpectSameAsReference(bank, bank, {1, 2, 300, 5, 64});
  }
}

TEST(EqBankProcessor, InPlaceBuffersGiveTheSameResult) {
  Bank inPlace, separate;
  Signal signal(777);
  std::vector<double> left = signal.left, right = signal.right;
  std::vector<double> outLeft(left.size()), outRight(left.size());
  const double* in[2] = {signal.left.data(), signal.right.data()};
  double* out[2] = {outLeft.data(), outRight.data()};
  double* same[2] = {left.data(), right.data()};
  ProcessEqBank(separate.bands, separate.state, in, out, 777);
  ProcessEqBank(inPlace.bands, inPlace.state, same, same, 777);
  EXPECT_EQ(std::memcmp(left.data(), outLeft.data(), sizeof(double) * left.size()), 0);
  EXPECT_EQ(std::memcmp(right.data(), outRight.data(), sizeof(double) * right.size()), 0);
}

TEST(EqBankProcessor, BypassAndAllBandsOffGiveInputTimesGain) {
  for (bool bypass : {true, false}) {
    Bank bank;
    bank.state.outputGainDb = 6.0;
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

TEST(EqBankProcessor, SwitchedOffBandKeepsItsMemoryAndContinues) {
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
    expect[n] = FilterSample(uninterrupted.bands[4].taps, uninterrupted.bands[4].channel[0], impulse[n]);
  }
  for (size_t n = 0; n < 16; ++n) EXPECT_EQ(outL[n], expect[n + 8]);
}

TEST(EqBankProcessor, ZeroOrNegativeFramesTouchNothing) {
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

TEST(EqBankProcessor, NonFiniteInputNeverReachesTheMemories) {
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
