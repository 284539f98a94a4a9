// The test host's portable helpers: Wine path mapping and signal levels.
#include <gtest/gtest.h>

#include <cmath>

#include "tools/host/plugin_library.h"
#include "tools/host/signal_levels.h"

namespace corvalen::host {
namespace {

TEST(WindowsPath, UnixPathsMapToTheZDrive) {
  EXPECT_EQ(ToWindowsPath("/work/build/Corvalen.dll"), "Z:\\work\\build\\Corvalen.dll");
  EXPECT_EQ(ToWindowsPath("C:/Plugins/Corvalen.dll"), "C:\\Plugins\\Corvalen.dll");
  EXPECT_EQ(ToWindowsPath("build\\Corvalen.dll"), "build\\Corvalen.dll");
  EXPECT_EQ(ToWindowsPath(""), "");
}

TEST(SignalLevels, SineAndImpulseLevels) {
  // A sine of amplitude 0.5 over whole periods: peak 20 log10(0.5) = -6.0206 dB,
  // rms 20 log10(0.5 / sqrt 2) = -9.0309 dB. 4800 frames at 48 kHz hold 100 periods of 1 kHz.
  const Levels sine = MeasureLevels(MakeSine(1000.0, 48000.0, 0.5, 4800));
  EXPECT_NEAR(sine.peakDb, -6.0206, 1e-3);
  EXPECT_NEAR(sine.rmsDb, -9.0309, 1e-3);
  // One full-scale sample in 4800: rms 20 log10(sqrt(1 / 4800)) = -36.8124 dB.
  const Levels impulse = MeasureLevels(MakeImpulse(4800));
  EXPECT_DOUBLE_EQ(impulse.peakDb, 0.0);
  EXPECT_NEAR(impulse.rmsDb, -36.8124, 1e-3);
  const Levels silence = MeasureLevels(std::vector<float>(16, 0.0f));
  EXPECT_EQ(silence.peakDb, -999.0);
  EXPECT_EQ(MeasureLevels(std::vector<double>()).rmsDb, -999.0);
}

}  // namespace
}  // namespace corvalen::host
