// The three parameter kinds: mappings, display texts, text parsing and chunk encoding.
// Expected values come from the published mappings, worked out by hand or in
// data/make_chunk_reference.py, never from the code under test.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "shell/byte_chunk.h"
#include "shell/linear_param.h"
#include "shell/shaped_param.h"
#include "shell/switch_param.h"

namespace corvalen {
namespace {

#include "data/chunk_reference.inc"

constexpr double kFrequencyShape = 7.020000483021908;
constexpr double kQualityShape = 5.151756855987454;

ShapedParam Frequency(double value = 1000.0) {
    return ShapedParam(kFrequencyShape, "f1Freq", value, 20.0, 20000.0, "Hz");
}
ShapedParam Quality(double value = 0.71) {
    return ShapedParam(kQualityShape, "f1Q", value, 0.3, 12.0, "");
}
LinearParam Gain(double value = 0.0) { return LinearParam("f1Gain", value, -24.0, 24.0, 1, "dB"); }

std::string Display(const ParamSpec& param) {
    char text[64];
    param.DisplayText(text, sizeof text);
    return text;
}

TEST(ShapedParamTest, FrequencyMappingMatchesTheExponentialCurve) {
    ShapedParam frequency = Frequency();
    frequency.SetNormalised(0.5);
    EXPECT_NEAR(frequency.Value(), kFrequencyAtHalf, 1e-9);
    EXPECT_NEAR(frequency.GetNormalised(), 0.5, 1e-12);
    frequency.SetNormalised(0.0);
    EXPECT_DOUBLE_EQ(frequency.Value(), 20.0);
    frequency.SetNormalised(1.0);
    EXPECT_NEAR(frequency.Value(), 20000.0, 1e-9);
    EXPECT_EQ(frequency.Normalise(10.0), 0.0);
    EXPECT_EQ(frequency.Normalise(25000.0), 1.0);
    // ln(1 + 52.6497 / 19980 * (e^s - 1)) / s
    EXPECT_NEAR(frequency.Normalise(72.6497), 0.19552371281946837, 1e-15);
}

TEST(ShapedParamTest, QualityMappingPutsItsMiddleAtSevenNinetyNinths) {
    ShapedParam quality = Quality();
    EXPECT_NEAR(quality.ValueForNormalised(0.5), kQualityAtHalf, 1e-12);
    EXPECT_NEAR(quality.Normalise(kQualityAtHalf), 0.5, 1e-12);
    EXPECT_EQ(quality.Normalise(0.1), 0.0);
    // Round trip through the host's float precision stays close to the value.
    quality.SetNormalised(static_cast<float>(quality.Normalise(3.3)));
    EXPECT_NEAR(quality.Value(), 3.3, 1e-5);
}

TEST(LinearParamTest, MapsLinearlyAndNormalisesWithClamping) {
    LinearParam reference("targetResponses", 0.0, 0.0, 120.0, 1, "");
    EXPECT_DOUBLE_EQ(reference.ParseToNormalised("60"), 0.5);
    reference.SetNormalised(0.25);
    EXPECT_DOUBLE_EQ(reference.Value(), 30.0);
    EXPECT_EQ(reference.Normalise(-5.0), 0.0);
    EXPECT_EQ(reference.Normalise(500.0), 1.0);
    EXPECT_EQ(reference.Normalise(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(LinearParamTest, HostValuesOutsideTheRangeAreClampedAndNonFiniteOnesIgnored) {
    LinearParam gain = Gain(6.0);
    gain.SetNormalised(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(gain.Value(), 6.0);
    gain.SetNormalised(std::numeric_limits<double>::infinity());
    EXPECT_EQ(gain.Value(), 6.0);
    gain.SetNormalised(1.5);
    EXPECT_EQ(gain.Value(), 24.0);
    gain.SetNormalised(-3.0);
    EXPECT_EQ(gain.Value(), -24.0);
}

TEST(DisplayTextTest, SignedRangesForceASignExceptOnAZeroReading) {
    EXPECT_EQ(Display(Gain(3.0)), "+3.0");
    EXPECT_EQ(Display(Gain(-2.5)), "-2.5");
    EXPECT_EQ(Display(Gain(0.0)), "0.0");
    EXPECT_EQ(Display(Gain(-0.04)), "0.0");
    EXPECT_EQ(Display(Gain(0.04)), "0.0");
    EXPECT_EQ(Display(Gain(-0.0)), "0.0");
    // 0.05 is slightly above a half-tenth in binary, 0.25 an exact tie (rounded to even).
    EXPECT_EQ(Display(Gain(0.05)), "+0.1");
    EXPECT_EQ(Display(Gain(0.25)), "+0.2");
    EXPECT_EQ(Display(Gain(-24.0)), "-24.0");
    EXPECT_STREQ(Gain().UnitLabel(), "dB");
}

TEST(DisplayTextTest, UnsignedRangesAndPrecision) {
    EXPECT_EQ(Display(Frequency(1000.0)), "1000.00");
    EXPECT_EQ(Display(Frequency(72.6497)), "72.65");
    EXPECT_EQ(Display(Quality(0.71)), "0.71");
    EXPECT_STREQ(Quality().UnitLabel(), "");
    EXPECT_STREQ(Frequency().UnitLabel(), "Hz");
    LinearParam reference("targetResponses", 60.0, 0.0, 120.0, 1, "");
    EXPECT_EQ(Display(reference), "60.0");
    char text[16];
    Frequency().DisplayTextForNormalised(0.0, text, sizeof text);
    EXPECT_STREQ(text, "20.00");
}

TEST(DisplayTextTest, BufferLengthIsRespected) {
    char text[8] = "xxxxxxx";
    Frequency(1000.0).DisplayText(text, 5);
    EXPECT_STREQ(text, "1000");
    Frequency(1000.0).DisplayText(text, 0);
    EXPECT_STREQ(text, "1000");  // nothing written
    SwitchParam on("f1_btn", 1, "OFF", "ON");
    on.DisplayText(text, 2);
    EXPECT_STREQ(text, "O");
}

TEST(DisplayTextTest, NegatedDisplayShowsAndReadsTheOppositeSign) {
    LinearParam gain = Gain(3.0);
    gain.SetFlags(ParamSpec::kDisplayNegated);
    EXPECT_EQ(Display(gain), "-3.0");
    EXPECT_DOUBLE_EQ(gain.ParseToNormalised("12"), 0.25);  // -12 dB
}

TEST(SwitchParamTest, ValuesTextsAndLookUp) {
    SwitchParam type("TipoF1", 0, "Peak", "LowShelf");
    EXPECT_EQ(Display(type), "Peak");
    EXPECT_EQ(type.Value(), 0.0);
    type.SetNormalised(0.5);
    EXPECT_EQ(Display(type), "LowShelf");
    EXPECT_EQ(type.GetNormalised(), 1.0);
    type.SetNormalised(0.49);
    EXPECT_EQ(type.Value(), 0.0);
    EXPECT_EQ(type.DisplayTextCount(), 2);

    SwitchParam band("f1_btn", 1, "OFF", "ON");
    EXPECT_EQ(band.ParseToNormalised("on"), 1.0);
    EXPECT_EQ(band.ParseToNormalised("ON"), 1.0);
    EXPECT_EQ(band.ParseToNormalised("On"), 1.0);
    EXPECT_EQ(band.ParseToNormalised("oFf"), 0.0);
    EXPECT_EQ(band.ParseToNormalised("0.7"), 1.0);
    EXPECT_EQ(band.ParseToNormalised("0.2"), 0.0);
    EXPECT_EQ(band.ParseToNormalised(""), 0.0);
    EXPECT_EQ(band.ParseToNormalised("onward"), 0.0);

    SwitchParam unnamed("x", 1);
    EXPECT_EQ(Display(unnamed), "On");
}

TEST(ParseTest, FollowsStrtodRules) {
    ShapedParam frequency = Frequency();
    EXPECT_EQ(frequency.ParseToNormalised("no number"), 0.0);  // reads 0, that is 20 Hz
    EXPECT_NEAR(frequency.ParseToNormalised("  600Hz"), 0.5, 1e-12);
    EXPECT_NEAR(frequency.ParseToNormalised("+6e2"), 0.5, 1e-12);
    EXPECT_NEAR(frequency.ParseToNormalised("0x258"), 0.5, 1e-12);  // 600 in hexadecimal
    // Two signs after the binary exponent mark leave no exponent: the number ends before "p".
    EXPECT_NEAR(frequency.ParseToNormalised("0x258p+-3"), 0.5, 1e-12);
    EXPECT_NEAR(frequency.ParseToNormalised("0x4Bp3"), 0.5, 1e-12);  // 75 * 2^3
    EXPECT_EQ(frequency.ParseToNormalised("1e999"), 1.0);            // overflow: infinity
    EXPECT_EQ(frequency.ParseToNormalised("-1e999"), 0.0);
    EXPECT_EQ(frequency.ParseToNormalised("1e-999"), 0.0);
    EXPECT_EQ(frequency.ParseToNormalised("nan"), 0.0);
    EXPECT_EQ(frequency.ParseToNormalised("inf"), 1.0);
    EXPECT_EQ(frequency.ParseToNormalised("--600"), 0.0);
    LinearParam gain = Gain();
    EXPECT_DOUBLE_EQ(gain.ParseToNormalised("-12"), 0.25);
    EXPECT_DOUBLE_EQ(gain.ParseToNormalised(".5e1"), (5.0 + 24.0) / 48.0);
    EXPECT_DOUBLE_EQ(gain.ParseToNormalised("1,5"), 25.0 / 48.0);  // a comma ends the number
}

// Hosts may switch the process to a comma-decimal locale; parameter texts must not follow.
TEST(ParseTest, IgnoresTheProcessLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German", "fr_FR.UTF-8"};
    std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* chosen = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            chosen = name;
            break;
        }
    }
    if (chosen == nullptr) {
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    LinearParam gain = Gain(1.5);
    const std::string shown = Display(gain);
    const double parsed = gain.ParseToNormalised("1.5");
    const double parsedComma = gain.ParseToNormalised("1,5");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(shown, "+1.5") << chosen;
    EXPECT_DOUBLE_EQ(parsed, 25.5 / 48.0);
    EXPECT_DOUBLE_EQ(parsedComma, 25.0 / 48.0);
}

TEST(ParamChunkTest, ContinuousValuesAreLittleEndianDoubles) {
    ByteChunk chunk;
    ASSERT_TRUE(chunk.Resize(16));
    ASSERT_TRUE(Quality(0.71).AppendToChunk(chunk));
    // 0.71 = 0x3FE6B851EB851EB8
    const unsigned char expected[8] = {0xb8, 0x1e, 0x85, 0xeb, 0x51, 0xb8, 0xe6, 0x3f};
    ASSERT_EQ(chunk.Length(), 8);
    EXPECT_EQ(0, std::memcmp(chunk.Data(), expected, 8));
    EXPECT_EQ(Quality().ChunkSize(), 8);

    ShapedParam read = Quality(5.0);
    EXPECT_EQ(read.ReadFromChunk(chunk, 0), 8);
    EXPECT_EQ(read.Value(), 0.71);
    EXPECT_EQ(read.ReadFromChunk(chunk, 1), -1);  // seven bytes before the end
    EXPECT_EQ(read.ReadFromChunk(chunk, -1), -1);
    EXPECT_EQ(read.Value(), 0.71);

    ASSERT_TRUE(Quality().AppendToChunk(chunk));
    EXPECT_FALSE(Quality().AppendToChunk(chunk));  // full
    EXPECT_EQ(chunk.Length(), 16);
}

TEST(ParamChunkTest, DamagedValuesAreSkippedOrClamped) {
    ByteChunk chunk;
    ASSERT_TRUE(chunk.Resize(32));
    chunk.AppendDouble(std::numeric_limits<double>::quiet_NaN());
    chunk.AppendDouble(-std::numeric_limits<double>::infinity());
    chunk.AppendDouble(1e300);
    chunk.AppendDouble(-5.0);
    ShapedParam frequency = Frequency(440.0);
    EXPECT_EQ(frequency.ReadFromChunk(chunk, 0), 8);
    EXPECT_EQ(frequency.Value(), 440.0);
    EXPECT_EQ(frequency.ReadFromChunk(chunk, 8), 16);
    EXPECT_EQ(frequency.Value(), 440.0);
    EXPECT_EQ(frequency.ReadFromChunk(chunk, 16), 24);
    EXPECT_EQ(frequency.Value(), 20000.0);
    EXPECT_EQ(frequency.ReadFromChunk(chunk, 24), 32);
    EXPECT_EQ(frequency.Value(), 20.0);
}

TEST(ParamChunkTest, SwitchesTakeOneByteAndReadAnyNonZeroAsOn) {
    ByteChunk chunk;
    ASSERT_TRUE(chunk.Resize(2));
    ASSERT_TRUE(SwitchParam("a", 1).AppendToChunk(chunk));
    ASSERT_TRUE(chunk.AppendByte(0x7f));
    EXPECT_EQ(chunk.Data()[0], 1);
    SwitchParam read("b", 0);
    EXPECT_EQ(read.ReadFromChunk(chunk, 1), 2);
    EXPECT_EQ(read.Value(), 1.0);
    EXPECT_EQ(read.ReadFromChunk(chunk, 2), -1);
    EXPECT_FALSE(read.AppendToChunk(chunk));
}

}  // namespace
}  // namespace corvalen
