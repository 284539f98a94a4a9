// The demo command against the real DLL: it must pass audio through unchanged before the host
// sets a rate and block size, and then show the band and the output level at work.
#include <cstdio>
#include <string>

#include "loaded_plugin.h"
#include "tools/host/demo.h"

namespace corvalen::wine_testing {
namespace {

std::string ReadAll(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    return text;
}

TEST(Demo, ShowsPassThroughThenTheBandAndOutputLevelAtWork) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(host::RunDemo(kPluginPath, out), 0);
    const std::string text = ReadAll(out);
    std::fclose(out);
    EXPECT_NE(text.find("1 kHz sine   processReplacing          -6.02 /  -9.03    -6.02 /  -9.03"),
              std::string::npos)
        << text;
    // A peak band's gain at its own frequency is exactly its gain: -9.03 + 6.00 = -3.03 dBFS.
    EXPECT_NE(text.find("f6 1000.00 Hz +6.0 dB     -3.03 dBFS (+6.00 dB)"), std::string::npos)
        << text;
    EXPECT_NE(text.find("and out -6.0 dB"), std::string::npos) << text;
    EXPECT_EQ(text.find("FAILED"), std::string::npos) << text;
}

}  // namespace
}  // namespace corvalen::wine_testing
