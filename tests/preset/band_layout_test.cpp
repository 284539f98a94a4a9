// Placing corrections on the twelve bands, clamping with warnings, refusing what does not fit,
// and the text written from a program reading back as the same program.
#include <gtest/gtest.h>

#include <string>

#include "tools/preset/band_layout.h"
#include "tools/preset/parametric_writer.h"

namespace corvalen::preset {
namespace {

LayoutOutcome LayOut(const std::string& text) {
    const ParseOutcome parsed = ParseParametricText(text);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    return LayOutCorrection(parsed.correction);
}

std::string Peaks(int count, int firstLine = 1) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "Filter " + std::to_string(firstLine + i) + ": ON PK Fc " +
                std::to_string(1000 + i) + " Hz Gain 1 dB Q 1\n";
    }
    return text;
}

TEST(BandLayout, ShelvesOnTheEndBandsPeaksInFrequencyOrderTheRestOffAtZero) {
    const LayoutOutcome laid = LayOut(
        "Preamp: -6.1 dB\n"
        "Filter 1: ON PK Fc 8865 Hz Gain 4.9 dB Q 1.3\n"
        "Filter 2: ON HSC Fc 10000 Hz Gain -2.1 dB Q 0.7\n"
        "Filter 3: ON PK Fc 37 Hz Gain 0.7 dB Q 3.76\n"
        "Filter 4: OFF PK Fc 584 Hz Gain 0.4 dB Q 1.15\n"
        "Filter 5: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.7\n"
        "Filter 6: ON PK Fc 37 Hz Gain -1 dB Q 2\n");
    ASSERT_TRUE(laid.ok) << laid.error;
    const auto& b = laid.program.bands;
    EXPECT_EQ(b[0], (BandSetting{true, FilterShape::LowShelf, 105, 6.4, 0.7}));
    EXPECT_EQ(b[1], (BandSetting{true, FilterShape::Peak, 37, 0.7, 3.76}));  // ties keep file order
    EXPECT_EQ(b[2], (BandSetting{true, FilterShape::Peak, 37, -1, 2}));
    EXPECT_EQ(b[3], (BandSetting{false, FilterShape::Peak, 584, 0.4, 1.15}));
    EXPECT_EQ(b[4], (BandSetting{true, FilterShape::Peak, 8865, 4.9, 1.3}));
    // Bands 6 to 11 as a new instance has them, switched off.
    EXPECT_EQ(b[5], (BandSetting{false, FilterShape::Peak, 794.981, 0, 0.71}));
    EXPECT_EQ(b[10], (BandSetting{false, FilterShape::Peak, 11065.5, 0, 0.71}));
    EXPECT_EQ(b[11], (BandSetting{true, FilterShape::HighShelf, 10000, -2.1, 0.7}));
    EXPECT_EQ(laid.program.outputDb, -6.1);
    EXPECT_TRUE(laid.warnings.empty());

    // Without shelves the peaks use band 1 and band 12 too; without a preamp the level is 0 dB.
    const LayoutOutcome twelve = LayOut(Peaks(12));
    ASSERT_TRUE(twelve.ok) << twelve.error;
    EXPECT_EQ(twelve.program.bands[0].frequencyHz, 1000);
    EXPECT_EQ(twelve.program.bands[11], (BandSetting{true, FilterShape::Peak, 1011, 1, 1}));
    EXPECT_EQ(twelve.program.outputDb, 0.0);
    // An unused band 12 is the high shelf of a new instance.
    EXPECT_EQ(LayOut(Peaks(1)).program.bands[11],
              (BandSetting{false, FilterShape::HighShelf, 18805.9, 0, 0.71}));
}

TEST(BandLayout, ClampsToTheParameterRangesNamingTheLine) {
    const LayoutOutcome laid = LayOut(
        "Preamp: -14.5 dB\n"
        "Filter 1: ON PK Fc 10 Hz Gain 30 dB Q 0.1\n"
        "Filter 2: ON HSC Fc 24000 Hz Gain -25 dB Q 15\n"
        "Filter 3: OFF PK Fc 100 Hz Gain 0 dB Q 1\n");
    ASSERT_TRUE(laid.ok) << laid.error;
    EXPECT_EQ(laid.program.bands[0], (BandSetting{true, FilterShape::Peak, 20, 24, 0.3}));
    EXPECT_EQ(laid.program.bands[11], (BandSetting{true, FilterShape::HighShelf, 20000, -24, 12}));
    EXPECT_EQ(laid.program.outputDb, -12.0);
    const std::vector<std::string> expected = {
        "line 2: Fc 10 Hz is outside the equaliser's 20 to 20000 Hz; set to 20 Hz",
        "line 2: Gain 30 dB is outside the equaliser's -24 to 24 dB; set to 24 dB",
        "line 2: Q 0.1 is outside the equaliser's 0.3 to 12; set to 0.3",
        "line 3: Fc 24000 Hz is outside the equaliser's 20 to 20000 Hz; set to 20000 Hz",
        "line 3: Gain -25 dB is outside the equaliser's -24 to 24 dB; set to -24 dB",
        "line 3: Q 15 is outside the equaliser's 0.3 to 12; set to 12",
        "line 4: switched off at 0 dB, the filter does nothing and is left out",
        "line 1: Preamp -14.5 dB is outside the equaliser's -12 to 12 dB; set to -12 dB",
    };
    EXPECT_EQ(laid.warnings, expected);
}

TEST(BandLayout, RefusesWhatDoesNotFitWithTheLine) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {Peaks(13), "line 13: filter number 13 does not fit: the equaliser has 12 bands"},
        {"Filter 1: ON LSC Fc 90 Hz Gain 1 dB Q 1\n" + Peaks(10, 2) +
             "Filter 12: ON HSC Fc 9000 Hz Gain 1 dB Q 1\nFilter 13: OFF PK Fc 90 Hz Gain 1 dB Q "
             "1\n",
         "line 13: filter number 13 does not fit"},
        {"Filter 1: ON LSC Fc 90 Hz Gain 1 dB Q 1\nFilter 2: OFF LS Fc 60 Hz Gain 2 dB Q 1\n",
         "line 2: a second low shelf: only band 1 can be one, and it holds the low shelf of line "
         "1"},
        {"Filter 1: ON HSC Fc 9000 Hz Gain 1 dB Q 1\n\nFilter 2: ON HSC Fc 8000 Hz Gain 2 dB Q 1\n",
         "line 3: a second high shelf: only band 12 can be one, and it holds the high shelf of "
         "line 1"},
    };
    for (const auto& c : cases) {
        const LayoutOutcome laid = LayOut(c.text);
        EXPECT_FALSE(laid.ok);
        EXPECT_EQ(laid.error.rfind(c.error, 0), 0u) << "got: " << laid.error;
    }
    // Switched off at 0 dB a filter takes no band, so twelve more still fit.
    EXPECT_TRUE(LayOut("Filter: OFF PK Fc 90 Hz Gain 0 dB Q 1\n" + Peaks(12, 2)).ok);
}

TEST(BandLayout, WrittenTextReadsBackAsTheSameProgram) {
    const char* corrections[] = {
        "Preamp: -6.1 dB\nFilter 1: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.70\n"
        "Filter 2: ON PK Fc 8865 Hz Gain 4.9 dB BW Oct 1\nFilter 3: OFF PK Fc 121 Hz Gain -3.1 dB "
        "Q 0.5\n"
        "Filter 4: ON HSC Fc 10000 Hz Gain -2.1 dB Q 0.7\n",
        "Filter 1: ON PK Fc 19.5 Hz Gain 0 dB Q 12.5\nFilter 2: ON PK Fc 20000 Hz Gain 0.123456789 "
        "dB Q 0.3\n",
        "Preamp: 0 dB\n",
    };
    for (const char* text : corrections) {
        const LayoutOutcome first = LayOut(text);
        ASSERT_TRUE(first.ok) << first.error;
        const std::string written =
            WriteParametricText(DescribeProgram(first.program), {"a comment\nwith a line break"});
        EXPECT_EQ(written.rfind("# a comment with a line break\nPreamp: ", 0), 0u) << written;
        const LayoutOutcome again = LayOut(written);
        ASSERT_TRUE(again.ok) << again.error;
        EXPECT_TRUE(again.warnings.empty());
        EXPECT_EQ(again.program, first.program) << written;
    }
    EXPECT_EQ(WriteParametricText(DescribeProgram(LayOut(corrections[0]).program), {}),
              "Preamp: -6.1 dB\n"
              "Filter 1: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.7\n"
              "Filter 2: OFF PK Fc 121 Hz Gain -3.1 dB Q 0.5\n"
              "Filter 3: ON PK Fc 8865 Hz Gain 4.9 dB Q 1.4142135623730951\n"
              "Filter 4: ON HSC Fc 10000 Hz Gain -2.1 dB Q 0.7\n");
}

}  // namespace
}  // namespace corvalen::preset
