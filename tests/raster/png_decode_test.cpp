// PNG decoding of images written by an independent encoder (data/make_png_cases.py):
// every colour type, bit depth, palette transparency and Adam7 interlacing.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "raster/image_file_loader.h"
#include "raster/memory_bitmap.h"
#include "raster/png_decode.h"
#include "raster/system_bitmap.h"
#include "raster/wrapper_bitmap.h"
#include "test_bitmaps.h"

namespace corvalen::raster {
namespace {

using testing::at;

struct PngCase {
    const char* name;
    int width;
    int height;
    const unsigned char* bytes;
    std::size_t length;
    const std::uint32_t* words;
};
#include "data/png_cases.inc"

const PngCase& caseNamed(const char* name) {
    for (const PngCase& c : kPngCases)
        if (std::strcmp(c.name, name) == 0) return c;
    ADD_FAILURE() << "no case " << name;
    return kPngCases[0];
}

TEST(PngDecode, EveryColourTypeDepthAndInterlacing) {
    for (const PngCase& c : kPngCases) {
        std::unique_ptr<RasterBitmap> bitmap = decodePngToNew(c.bytes, c.length);
        ASSERT_NE(bitmap, nullptr) << c.name;
        ASSERT_EQ(bitmap->width(), c.width) << c.name;
        ASSERT_EQ(bitmap->height(), c.height) << c.name;
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                wrong += at(*bitmap, x, y) != c.words[y * c.width + x];
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

TEST(PngDecode, RowSpansOfTheEditorImages) {
    std::unique_ptr<RasterBitmap> small =
        decodePngToNew(caseNamed("rgba_20x18").bytes, caseNamed("rgba_20x18").length);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->rowSpan(), 20);
    std::unique_ptr<RasterBitmap> odd =
        decodePngToNew(caseNamed("rgba_21x36").bytes, caseNamed("rgba_21x36").length);
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->rowSpan(), 24);
}

TEST(PngDecode, PaletteTransparencyGivesPerPixelAlpha) {
    const PngCase& c = caseNamed("type3_depth8_trns");
    std::unique_ptr<RasterBitmap> bitmap = decodePngToNew(c.bytes, c.length);
    ASSERT_NE(bitmap, nullptr);
    bool partial = false, opaque = false;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const std::uint32_t alpha = at(*bitmap, x, y) >> 24;
            partial = partial || (alpha != 255);
            opaque = opaque || (alpha == 255);
        }
    EXPECT_TRUE(partial);
    EXPECT_TRUE(opaque);
}

TEST(PngDecode, SixteenBitGreyIsOpaqueGrey) {
    const PngCase& c = caseNamed("grey16_33x3");
    std::unique_ptr<RasterBitmap> bitmap = decodePngToNew(c.bytes, c.length);
    ASSERT_NE(bitmap, nullptr);
    for (int x = 0; x < c.width; ++x) {
        const std::uint32_t word = at(*bitmap, x, 1);
        EXPECT_EQ(word >> 24, 0xFFu);
        EXPECT_EQ((word >> 16) & 0xFF, word & 0xFF);
        EXPECT_EQ((word >> 8) & 0xFF, word & 0xFF);
    }
}

TEST(PngDecode, DecodesIntoAGivenBitmap) {
    const PngCase& c = caseNamed("type6_depth8");
    SystemBitmap target(100, 100);
    ASSERT_EQ(decodePng(c.bytes, c.length, &target), &target);
    EXPECT_EQ(target.width(), c.width);
    EXPECT_EQ(target.rowSpan(), 100);  // the larger section is kept
    EXPECT_EQ(at(target, 3, 2), c.words[2 * c.width + 3]);
    WrapperBitmap fixed;  // cannot take the size
    EXPECT_EQ(decodePng(c.bytes, c.length, &fixed), nullptr);
}

TEST(PngDecode, BrokenInputFailsCleanly) {
    const PngCase& c = caseNamed("type2_depth8_adam7");
    std::vector<unsigned char> bytes(c.bytes, c.bytes + c.length);
    EXPECT_EQ(decodePng(nullptr, 10), nullptr);
    EXPECT_EQ(decodePng(bytes.data(), 7), nullptr);
    for (std::size_t cut :
         {std::size_t{8}, std::size_t{20}, std::size_t{40}, bytes.size() - 20, bytes.size() - 13})
        EXPECT_EQ(decodePng(bytes.data(), cut), nullptr) << "cut at " << cut;
    std::vector<unsigned char> badSignature = bytes;
    badSignature[1] = 'Q';
    EXPECT_EQ(decodePng(badSignature.data(), badSignature.size()), nullptr);
    std::vector<unsigned char> badCrc = bytes;
    badCrc[29] ^= 0xFF;  // inside the header's CRC
    EXPECT_EQ(decodePng(badCrc.data(), badCrc.size()), nullptr);
    std::vector<unsigned char> hugeHeader = bytes;  // claims 1,000,000 x 1,000,000 pixels
    const unsigned char million[4] = {0x00, 0x0F, 0x42, 0x40};
    std::memcpy(&hugeHeader[16], million, 4);
    std::memcpy(&hugeHeader[20], million, 4);
    // A valid CRC, so that only the size can be the reason to refuse it.
    const uLong crc = crc32(0L, &hugeHeader[12], 17);
    for (int i = 0; i < 4; ++i)
        hugeHeader[29 + static_cast<std::size_t>(i)] =
            static_cast<unsigned char>(crc >> (24 - 8 * i));
    EXPECT_EQ(decodePng(hugeHeader.data(), hugeHeader.size()), nullptr);
}

TEST(PngFileLoader, DescribesAndAcceptsPngNamesOnly) {
    const auto& loaders = imageFileLoaders();
    ASSERT_EQ(loaders.size(), 1u);
    const ImageFileLoader& png = *loaders[0];
    EXPECT_STREQ(png.description(), "PNG files (*.PNG)");
    EXPECT_TRUE(png.acceptsName("C:\\images\\knob.PNG"));
    EXPECT_TRUE(png.acceptsName("/tmp/x.png"));
    EXPECT_FALSE(png.acceptsName("dir.png/readme.txt"));
    EXPECT_FALSE(png.acceptsName("png"));
    EXPECT_EQ(png.loadFile("/nonexistent/file.png"), nullptr);
}

}  // namespace
}  // namespace corvalen::raster
