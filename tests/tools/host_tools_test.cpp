// The test host's portable helpers: Wine path mapping, signal levels, the editor command's
// options.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/host/editor_command.h"
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

TEST(EditorCommand, OptionsAreParsedAndNonsenseRefused) {
    struct Case {
        std::vector<std::string> words;
        bool accepted;
    };
    const Case cases[] = {
        {{"Corvalen.dll"}, true},
        {{"Corvalen.dll", "--set", "56=0.625", "--set", "22=0", "--measurement", "/m/a b.csv",
          "--rate", "44100", "--screenshot", "/tmp/e.png", "--seconds", "1.5", "--measure",
          "--fit"},
         true},
        {{}, false},
        {{"Corvalen.dll", "--set", "56"}, false},
        {{"Corvalen.dll", "--set", "56=1.5"}, false},
        {{"Corvalen.dll", "--set", "-1=0.5"}, false},
        {{"Corvalen.dll", "--set", "x=0.5"}, false},
        {{"Corvalen.dll", "--set", "3=nan"}, false},
        {{"Corvalen.dll", "--rate", "0"}, false},
        {{"Corvalen.dll", "--seconds", "-1"}, false},
        {{"Corvalen.dll", "--measurement"}, false},
        {{"Corvalen.dll", "--colour", "red"}, false},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        std::vector<std::string> words = c.words;
        for (std::string& word : words) argv.push_back(word.data());
        EditorCommandOptions options;
        EXPECT_EQ(ParseEditorCommand(static_cast<int>(argv.size()), argv.data(), options),
                  c.accepted)
            << (c.words.empty() ? std::string("(nothing)") : c.words.back());
        if (c.accepted && c.words.size() > 1) {
            ASSERT_EQ(options.settings.size(), 2u);
            EXPECT_EQ(options.settings[0].first, 56);
            EXPECT_FLOAT_EQ(options.settings[0].second, 0.625f);
            EXPECT_EQ(options.measurementPath, "Z:\\m\\a b.csv");
            EXPECT_EQ(options.screenshotPath, "Z:\\tmp\\e.png");
            EXPECT_FLOAT_EQ(options.sampleRate, 44100.0f);
            EXPECT_DOUBLE_EQ(options.seconds, 1.5);
            EXPECT_TRUE(options.measure);
            EXPECT_TRUE(options.pressFit);
        }
    }
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
