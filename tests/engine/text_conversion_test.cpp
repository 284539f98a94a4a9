// Read-out texts (printf's fixed notation, whatever the locale) and the UTF-8 to UTF-16
// conversion that Windows file paths go through.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

#include "engine/readout_text.h"
#include "engine/utf8_to_utf16.h"

namespace corvalen {
namespace {

TEST(ReadoutText, FormatsLikePrintfInTheCLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_STREQ(SampleRateReadoutText(48000.0).text, "Fs: 48.0 kHz");
    EXPECT_STREQ(SampleRateReadoutText(44100.0).text, "Fs: 44.1 kHz");
    EXPECT_STREQ(SampleRateReadoutText(88200.0).text, "Fs: 88.2 kHz");
    EXPECT_STREQ(FrequencyReadoutText(999.4).text, "999");
    EXPECT_STREQ(FrequencyReadoutText(72.6497).text, "73");
    EXPECT_STREQ(FrequencyReadoutText(999.6).text,
                 "1000");  // rounds up, but the kilohertz form starts at 1000
    EXPECT_STREQ(FrequencyReadoutText(1000.0).text, "1.00 k");
    EXPECT_STREQ(FrequencyReadoutText(20000.0).text, "20.00 k");
    EXPECT_STREQ(FrequencyReadoutText(18805.9).text, "18.81 k");
    EXPECT_STREQ(GainReadoutText(-3.25).text,
                 "-3.2 dB");  // -3.25 is exact: ties go to even, as printf
    EXPECT_STREQ(GainReadoutText(6.0).text, "6.0 dB");
    EXPECT_STREQ(GainReadoutText(-0.04).text,
                 "-0.0 dB");  // keeps printf's minus, unlike the host's texts
    EXPECT_STREQ(QualityReadoutText(0.71).text, "0.71");
    EXPECT_STREQ(OutputReadoutText(-12.0).text, "-12.0");
    EXPECT_STREQ(OutputReadoutText(0.0).text, "0.0");
    // A rate no host sends still forms a text, cut to the buffer.
    EXPECT_EQ(std::strlen(SampleRateReadoutText(1e300).text), kReadoutTextCapacity - 1);
    if (german != nullptr) std::setlocale(LC_NUMERIC, "C");
}

TEST(Utf8ToUtf16, ConvertsAllPlanesAndRefusesMalformedInput) {
    std::u16string out;
    ASSERT_TRUE(Utf8ToUtf16("C:\\M\xC3\xBCsik\\\xE2\x82\xAC\xF0\x9F\x8E\xA7.csv", out));
    EXPECT_EQ(out, u"C:\\M\u00FCsik\\\u20AC\U0001F3A7.csv");
    EXPECT_TRUE(Utf8ToUtf16("", out));
    EXPECT_TRUE(out.empty());
    for (const char* bad :
         {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "a\xE2\x82"}) {
        EXPECT_FALSE(Utf8ToUtf16(bad, out)) << bad;
    }
}

}  // namespace
}  // namespace corvalen
