// The editor-size setting file as a user leaves it: missing, fresh, edited by hand.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/layout/scale_setting.h"
#include "temp_folder.h"

namespace corvalen::editor {
namespace {

class ScaleSettingTest : public ::testing::Test {
protected:
    std::string folder() const { return appData_ + "/Corvalen"; }
    void writeSetting(const std::string& text) {
        ::mkdir(folder().c_str(), 0777);
        std::ofstream(folder() + "/guiSizePercentage.txt", std::ios::binary) << text;
    }
    std::string settingFile() const {
        std::ifstream file(folder() + "/guiSizePercentage.txt", std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    corvalen::testing::TempFolder folder_;  // removed with the setting in it
    const std::string appData_ = folder_.path().string();
};

TEST_F(ScaleSettingTest, AMissingFolderIsCreatedHoldingOneHundredAndTheSystemDpiIsUsed) {
    EXPECT_EQ(ReadOrCreateScaleSetting(appData_), 0);
    struct stat status;
    ASSERT_EQ(::stat(folder().c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_EQ(settingFile(), "100");  // no line end
    // The next instance reads what the first one wrote.
    EXPECT_EQ(ReadOrCreateScaleSetting(appData_), 96);
}

TEST_F(ScaleSettingTest, TheFirstLineIsAPercentageOf96Dpi) {
    struct Case {
        const char* text;
        int dpi;
    };
    const Case cases[] = {
        {"100", 96},   {"150", 144}, {"75", 72},   {"200", 192},
        {"abc", 96},   {"0", 96},    {"", 96},     {"  +125\n50", 120},
        {"133%", 127}, {"-50", -48}, {"66.6", 63}, {"\t90 percent", 86},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        writeSetting(c.text);
        EXPECT_EQ(ReadOrCreateScaleSetting(appData_), c.dpi);
        EXPECT_EQ(settingFile(), c.text);  // read, never rewritten
    }
}

TEST_F(ScaleSettingTest, AFolderWithoutTheFileCountsAsOneHundredAndStaysAsItIs) {
    ASSERT_EQ(::mkdir(folder().c_str(), 0777), 0);
    EXPECT_EQ(ReadOrCreateScaleSetting(appData_), 96);
    struct stat status;
    EXPECT_NE(::stat((folder() + "/guiSizePercentage.txt").c_str(), &status), 0);
}

TEST_F(ScaleSettingTest, NoApplicationDataFolderTouchesNothing) {
    EXPECT_EQ(ReadOrCreateScaleSetting(""), 0);
    EXPECT_EQ(ReadOrCreateScaleSetting(appData_ + "/not-there"), 0);  // the folder cannot be made
}

TEST(ScaleText, HugePercentagesAreHeldToWhatAnIntHolds) {
    EXPECT_EQ(DpiValueForScaleText("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(DpiValueForScaleText("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(DpiValueForScaleText("2236962134"), INT_MAX);     // 2236962134 * 96 / 100 > INT_MAX
    EXPECT_EQ(DpiValueForScaleText("2236962100"), 2147483616);  // still fits
}

}  // namespace
}  // namespace corvalen::editor
