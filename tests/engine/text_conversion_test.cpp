// Read-out texts (printf's fixed notation, whatever the locale) and the UTF-8 to UTF-16
// conversion that Windows file paths go through.
#include <gtest/gtest.h>

#include <clocale>

#include "engine/readout_text.h"
#include "engine/utf8_to_utf16.h"

namespace corvalen {
namespace {

TEST(ReadoutText, FormatsLikePrintfInTheCLocale) {
  const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(SampleRateReadoutText(48000.0), "Fs: 48.0 kHz");
  EXPECT_EQ(SampleRateReadoutText(44100.0), "Fs: 44.1 kHz");
  EXPECT_EQ(SampleRateReadoutText(88200.0), "Fs: 88.2 kHz");
  EXPECT_EQ(FrequencyReadoutText(999.4), "999");
  EXPECT_EQ(FrequencyReadoutText(72.6497), "73");
  EXPECT_EQ(FrequencyReadoutText(999.6), "1000");  // rounds up, but the kilohertz form starts at 1000
  EXPECT_EQ(FrequencyReadoutText(1000.0), "1.00 k");
  EXPECT_EQ(FrequencyReadoutText(20000.0), "20.00 k");
  EXPECT_EQ(FrequencyReadoutText(18805.9), "18.81 k");
  EXPECT_EQ(GainReadoutText(-3.25), "-3.2 dB");  // -3.25 is exact: ties go to even, as printf
  EXPECT_EQ(GainReadoutText(6.0), "6.0 dB");
  EXPECT_EQ(GainReadoutText(-0.04), "-0.0 dB");  // keeps printf's minus, unlike the host's texts
  EXPECT_EQ(QualityReadoutText(0.71), "0.71");
  EXPECT_EQ(OutputReadoutText(-12.0), "-12.0");
  EXPECT_EQ(OutputReadoutText(0.0), "0.0");
  if (german != nullptr) std::setlocale(LC_NUMERIC, "C");
}

TEST(Utf8ToUtf16, ConvertsAllPlanesAndRefusesMalformedInput) {
  std::u16string out;
  ASSERT_TRUE(Utf8ToUtf16("C:\\M\xC3\xBCsik\\\xE2\x82\xAC\xF0\x9F\x8E\xA7.csv", out));
  EXPECT_EQ(out, u"C:\\M\u00FCsik\\\u20AC\U0001F3A7.csv");
  EXPECT_TRUE(Utf8ToUtf16("", out));
  EXPECT_TRUE(out.empty());
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "a\xE2\x82"}) {
    EXPECT_FALSE(Utf8ToUtf16(bad, out)) << bad;
  }
}

}  // namespace
}  // namespace corvalen
