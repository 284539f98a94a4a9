// The parametric text reader: every accepted form, every refusal with its line, and numbers
// read and written back exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "tools/preset/number_text.h"
#include "tools/preset/parametric_text.h"

namespace corvalen::preset {
namespace {

using Shape = FilterShape;

struct Expected {
    int line;
    bool on;
    Shape shape;
    double frequency;
    double gain;
    double q;
};

struct FormCase {
    const char* what;
    std::string text;
    double preamp;  // NAN: no preamp line
    std::vector<Expected> filters;
};

TEST(ParametricText, ReadsEveryForm) {
    const std::vector<FormCase> cases = {
        {"the published form",
         "Preamp: -6.1 dB\nFilter 1: ON LSC Fc 105 Hz Gain 6.4 dB Q 0.70\n"
         "Filter 2: ON PK Fc 1830 Hz Gain -2.9 dB Q 1.41\nFilter 10: ON HSC Fc 10000 Hz Gain -3.2 "
         "dB Q 0.70\n",
         -6.1,
         {{2, true, Shape::LowShelf, 105, 6.4, 0.70},
          {3, true, Shape::Peak, 1830, -2.9, 1.41},
          {4, true, Shape::HighShelf, 10000, -3.2, 0.70}}},
        {"any case, unnumbered filters, keys in any order, no unit after the preamp",
         "preamp: +2\nFILTER: off pk gain 3 DB q 2 fc 50 hz\nfilter:On Ls Fc 90 Hz Gain 1 dB Q "
         "0.5\n"
         "Filter 7: ON hs Fc 8000 Hz Gain -1 dB Q 0.8\n",
         2.0,
         {{2, false, Shape::Peak, 50, 3, 2},
          {3, true, Shape::LowShelf, 90, 1, 0.5},
          {4, true, Shape::HighShelf, 8000, -1, 0.8}}},
        {"byte-order mark, CR LF, lone CR, comments, blank and blank-only lines, tabs",
         "\xEF\xBB\xBF# made by hand\r\n\r\n \t \r\nFilter 1:\tON PK Fc 1e3 Hz Gain .5 dB Q 2. # "
         "bump\r"
         "#Filter 2: ON PK Fc 20 Hz Gain 1 dB Q 1\r\nFilter 3: ON PK Fc 20 Hz Gain -0 dB Q 1",
         NAN,
         {{4, true, Shape::Peak, 1000, 0.5, 2}, {6, true, Shape::Peak, 20, 0, 1}}},
        {"no filters at all", "# nothing\n", NAN, {}},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ParseOutcome outcome = ParseParametricText(c.text);
        ASSERT_TRUE(outcome.ok) << outcome.error;
        EXPECT_TRUE(outcome.warnings.empty());
        if (std::isnan(c.preamp)) {
            EXPECT_FALSE(outcome.correction.preampDb.has_value());
        } else {
            ASSERT_TRUE(outcome.correction.preampDb.has_value());
            EXPECT_EQ(*outcome.correction.preampDb, c.preamp);
            EXPECT_EQ(outcome.correction.preampLine, 1);
        }
        ASSERT_EQ(outcome.correction.filters.size(), c.filters.size());
        for (std::size_t i = 0; i < c.filters.size(); ++i) {
            const ParametricFilter& got = outcome.correction.filters[i];
            const Expected& want = c.filters[i];
            EXPECT_EQ(got.line, want.line);
            EXPECT_EQ(got.on, want.on);
            EXPECT_EQ(got.shape, want.shape);
            // Exactly the doubles the decimal texts stand for.
            EXPECT_EQ(got.frequencyHz, want.frequency);
            EXPECT_EQ(got.gainDb, want.gain);
            EXPECT_EQ(got.q, want.q);
        }
    }
}

TEST(ParametricText, BandwidthInOctavesBecomesTheQOfThePeak) {
    // Textbook Q values of constant-bandwidth peaks: 1/3 octave 4.3185, 2/3 octave 2.1449,
    // one octave sqrt 2, two octaves 2/3.
    const struct {
        const char* octaves;
        double q;
    } cases[] = {{"0.333333333333333333", 4.318473046},
                 {"0.666666666666666667", 2.144907718},
                 {"1", 1.414213562},
                 {"2", 0.666666667}};
    for (const auto& c : cases) {
        const ParseOutcome outcome = ParseParametricText(
            std::string("Filter 1: ON PK Fc 1000 Hz Gain 3 dB BW Oct ") + c.octaves);
        ASSERT_TRUE(outcome.ok) << outcome.error;
        EXPECT_NEAR(outcome.correction.filters[0].q, c.q, 1e-9) << c.octaves;
    }
    EXPECT_EQ(QForBandwidth(1.0), std::sqrt(2.0));
}

TEST(ParametricText, RefusesWhatTheEqualiserCannotReproduceWithTheLine) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"Preamp: -3 dB\nFilter 1: ON LP Fc 100 Hz Q 0.7", "line 2: filter type 'LP' has no band"},
        {"Filter 1: ON LS Fc 100 Hz Gain 3 dB", "line 1: 'LS' has no Q"},
        {"Filter 1: ON HSC 12dB Fc 100 Hz Gain 3 dB", "line 1: unexpected '12dB'"},
        {"Filter 1: ON HSC Fc 100 Hz Gain 3 dB 12 dB", "line 1: a shelf slope given in dB"},
        {"Filter 1: ON LSC Fc 100 Hz Gain 3 dB BW Oct 1",
         "line 1: a shelf's slope must be given as Q"},
        {"\n\nFilter 1: ON PK Gain 3 dB Q 1", "line 3: the filter has no frequency"},
        {"Filter 1: ON PK Fc 100 Hz Q 1", "line 1: the filter has no gain"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB", "line 1: the filter has no Q or BW Oct"},
        {"Filter 1: ON PK Fc 100 Gain 1 dB Q 1",
         "line 1: the frequency must be followed by Hz, not 'Gain'"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 Q 1", "line 1: the gain must be followed by dB"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 0,70", "line 1: Q '0,70' is not a number"},
        {"Filter 1: ON PK Fc inf Hz Gain 1 dB Q 1", "line 1: Fc 'inf' is not a number"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q", "line 1: Q has no value"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1 Q 2", "line 1: unexpected 'Q'"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB BW Oct 0",
         "line 1: the bandwidth must be more than 0"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB BW Oct 2000", "line 1: the bandwidth is too wide"},
        {"Filter 1: PK Fc 100 Hz Gain 1 dB Q 1",
         "line 1: a filter starts with ON or OFF, not 'PK'"},
        {"Filter 1: ON", "line 1: the filter has no type"},
        {"Preamp: -1 dB\r\nPreamp: -2 dB", "line 2: a second Preamp line (the first is line 1)"},
        {"Preamp: loud", "line 1: Preamp 'loud' is not a number"},
        {"Preamp: -1 dB dB", "line 1: unexpected 'dB' after the preamp"},
        {"Channel: L\nFilter 1: ON PK Fc 100 Hz Gain 1 dB Q 1",
         "line 1: 'Channel:' cannot be reproduced"},
        {"Filter one: ON PK Fc 100 Hz Gain 1 dB Q 1", "line 1: 'Filter one:' cannot be reproduced"},
        {"GraphicEQ: 20 -1; 40 2", "line 1: 'GraphicEQ:' cannot be reproduced"},
        {"Fc 100 Hz Gain 1 dB",
         "line 1: expected 'Preamp:' or 'Filter N:', found 'Fc 100 Hz Gain 1 dB'"},
        {std::string("Filter 1: ON PK Fc 1\0"
                     "0 Hz",
                     25),
         "line 1: Fc '1?0' is not a number"},
    };
    for (const auto& c : cases) {
        const ParseOutcome outcome = ParseParametricText(c.text);
        EXPECT_FALSE(outcome.ok) << c.text;
        EXPECT_EQ(outcome.error.rfind(c.error, 0), 0u) << "got: " << outcome.error;
    }
}

TEST(ParametricText, ASwitchedOffFilterOfAnotherTypeIsLeftOutWithAWarning) {
    const ParseOutcome outcome =
        ParseParametricText("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\nFilter 2: OFF None\n");
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(outcome.correction.filters.size(), 1u);
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_EQ(outcome.warnings[0], "line 2: the switched-off filter of type 'None' is left out");
}

TEST(NumberText, WritesTheShortestTextThatReadsBackExactly) {
    EXPECT_EQ(ShortestDecimal(105.0), "105");
    EXPECT_EQ(ShortestDecimal(0.7), "0.7");
    EXPECT_EQ(ShortestDecimal(-2.9), "-2.9");
    EXPECT_EQ(ShortestDecimal(20000.0), "20000");
    EXPECT_EQ(ShortestDecimal(-0.0), "0");
    EXPECT_EQ(ShortestDecimal(std::sqrt(2.0)), "1.4142135623730951");
    // Every value the equaliser's ranges hold survives the trip, whatever its last bits.
    std::mt19937_64 random(12);
    std::uniform_real_distribution<double> value(-24.0, 20000.0);
    for (int i = 0; i < 20000; ++i) {
        const double x = value(random);
        const std::optional<double> back = ReadDecimal(ShortestDecimal(x));
        ASSERT_TRUE(back.has_value());
        ASSERT_EQ(*back, x) << ShortestDecimal(x);
    }
    for (const char* text :
         {"", "+", "-", ".", "1e", "1.2.3", "0x10", "nan", "1e999", " 1", "1 "}) {
        EXPECT_FALSE(ReadDecimal(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace corvalen::preset
