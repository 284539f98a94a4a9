// Measurement paths as the plug-in receives them: UTF-8 from the editor, anything at all from a
// restored project. Runs natively and, in the Windows build, under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/extended_length_path.h"
#include "engine/file_access.h"
#include "temp_folder.h"

namespace corvalen {
namespace {

// A path in the test's temporary folder as UTF-8, and as the platform's narrow bytes.
std::string Utf8TempPath(const char* utf8Name) {
    return (testing::TestTempFolder() / std::filesystem::u8path(utf8Name)).u8string();
}
std::string NarrowTempPath(const char* name) {
    return (testing::TestTempFolder() / "corvalen_").string() + name;
}

// Writes a small file through the C library's narrow call (the bytes are the platform's own
// idea of the name); false when the platform refuses the name.
bool WriteNarrow(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fputs("1000,80\n", file);
    std::fclose(file);
    return true;
}

std::string ReadAll(std::FILE* file) {
    std::string text;
    char buffer[64];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    return text;
}

TEST(FileAccess, NonAsciiUtf8PathsOpen) {
    // "Kopfhörer на": no single-byte code page holds both the umlaut and the Cyrillic letters.
    const std::string utf8 = Utf8TempPath("corvalen_Kopfh\xC3\xB6rer_\xD0\xBD\xD0\xB0.csv");
    const std::filesystem::path name = std::filesystem::u8path(utf8);
    {
        std::ofstream out(name, std::ios::binary);
        ASSERT_TRUE(out.good());
        out << "20,80\r\n";
    }
    EXPECT_TRUE(PathExists(utf8));
    std::FILE* file = OpenFileForReading(utf8);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(file), "20,80\r\n");  // binary: the reader sees the CR itself
    std::fclose(file);
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
    EXPECT_FALSE(PathExists(utf8));
    EXPECT_EQ(OpenFileForReading(utf8), nullptr);
}

TEST(FileAccess, FoldersExistButAreNotRead) {
    const std::string folder = Utf8TempPath("corvalen_folder_probe");
    std::error_code ignored;
    std::filesystem::create_directory(std::filesystem::u8path(folder), ignored);
    EXPECT_TRUE(PathExists(folder));
    EXPECT_EQ(OpenFileForReading(folder), nullptr);
    std::filesystem::remove(std::filesystem::u8path(folder), ignored);
    EXPECT_FALSE(PathExists(""));
    EXPECT_EQ(OpenFileForReading(""), nullptr);
}

// A project saved with a path in the system code page ("Müsik" with a single 0xFC byte) is
// not UTF-8; it still names the same file.
TEST(FileAccess, BytesThatAreNotUtf8AreANarrowPath) {
    const std::string path = NarrowTempPath("M\xFCsik.csv");
    if (!WriteNarrow(path)) GTEST_SKIP() << "the platform refuses this name";
    EXPECT_TRUE(PathExists(path));
    std::FILE* file = OpenFileForReading(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(file), "1000,80\n");
    std::fclose(file);
    std::remove(path.c_str());
}

// Long paths as Windows must receive them: (path, its extended form). N is a 250-character name,
// so every path holding it is past the 260-character limit.
TEST(FileAccess, LongPathsTakeTheExtendedFormResolved) {
    const std::u16string n(250, u'n');
    struct Case {
        std::u16string path;
        std::u16string extended;
    };
    const Case cases[] = {
        {u"C:\\eq\\short.csv", u"C:\\eq\\short.csv"},  // short: as it is
        {u"C:\\" + n + u"\\hp.csv", u"\\\\?\\C:\\" + n + u"\\hp.csv"},
        {u"d:/" + n + u"/./x/../hp.csv", u"\\\\?\\d:\\" + n + u"\\hp.csv"},
        {u"C:\\..\\..\\" + n + u"\\\\hp.csv\\", u"\\\\?\\C:\\" + n + u"\\hp.csv"},
        {u"\\\\server\\share\\" + n + u"\\..\\hp.csv", u"\\\\?\\UNC\\server\\share\\hp.csv"},
        {u"//server/share/" + n, u"\\\\?\\UNC\\server\\share\\" + n},
        {u"\\\\?\\C:\\" + n + u"\\..\\hp.csv", u"\\\\?\\C:\\" + n + u"\\..\\hp.csv"},  // literal
        {u"\\\\.\\pipe\\" + n, u"\\\\.\\pipe\\" + n},  // a device: never rewritten
        {n + u"\\hp.csv", n + u"\\hp.csv"},            // relative
        {u"C:" + n + u"\\hp.csv", u"C:" + n + u"\\hp.csv"},
        {u"\\\\server\\" + n, u"\\\\server\\" + n},  // no share
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ExtendedLengthPath(c.path) == c.extended)
            << std::string(c.path.begin(), c.path.begin() + 20);
    }
}

}  // namespace
}  // namespace corvalen
