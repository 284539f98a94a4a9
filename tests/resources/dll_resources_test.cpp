// Corvalen.dll carries every image at its listed size and the three fonts, as "PNG" and
// "TTF" resources by number.
#include <gtest/gtest.h>

#include <string>

#include "editor/image_ids.h"
#include "editor/platform_fonts.h"
#include "editor/win/module_resources_win.h"
#include "raster/png_decode.h"

namespace corvalen::editor {
namespace {

class DllResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string path = CORVALEN_DLL_PATH;
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        module_ = loadResourceModule(path.c_str());
    }
    static void TearDownTestSuite() { releaseResourceModule(module_); }

    static void* module_;
};
void* DllResources::module_ = nullptr;

TEST_F(DllResources, EveryImageDecodesAtItsListedSize) {
    ASSERT_NE(module_, nullptr) << CORVALEN_DLL_PATH;
    int decoded = 0;
    for (const ImageSize& image : kImages) {
        for (int half = 0; half <= 1; ++half) {
            const int id = image.id + half;
            const ResourceBytes bytes = findResourceInModule(module_, ResourceType::Png, id);
            ASSERT_FALSE(bytes.empty()) << id;
            auto bitmap = raster::decodePngToNew(bytes.data, bytes.size);
            ASSERT_NE(bitmap, nullptr) << id;
            EXPECT_EQ(bitmap->width(), image.width >> half) << id;
            EXPECT_EQ(bitmap->height(), image.height >> half) << id;
            ++decoded;
        }
    }
    EXPECT_EQ(decoded, 2 * kImageCount);
    // The pair after the table's last (the table lists its ids in order) is no image.
    const int unlisted = kImages[kImageCount - 1].id + 2;
    EXPECT_TRUE(findResourceInModule(module_, ResourceType::Png, unlisted).empty());
    EXPECT_TRUE(findResourceInModule(module_, ResourceType::Png, unlisted + 1).empty());
}

TEST_F(DllResources, TheThreeFontsRegisterWithThePlatform) {
    ASSERT_NE(module_, nullptr) << CORVALEN_DLL_PATH;
    for (int id : {240, 250, 260}) {
        const ResourceBytes bytes = findResourceInModule(module_, ResourceType::TrueType, id);
        ASSERT_FALSE(bytes.empty()) << id;
        EXPECT_TRUE(installPrivateFont(id, bytes)) << id;
    }
    EXPECT_TRUE(findResourceInModule(module_, ResourceType::TrueType, 270).empty());
    EXPECT_FALSE(installPrivateFont(270, {}));
}

}  // namespace
}  // namespace corvalen::editor
