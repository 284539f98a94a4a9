// The VST2 preset file wrapper: the header laid out byte for byte, and every damaged file
// refused before its sizes are trusted.
#include <gtest/gtest.h>

#include <string>

#include "tools/preset/preset_file.h"

namespace corvalen::preset {
namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(PresetFile, ProgramAndBankHeadersAreBigEndianAroundTheChunk) {
    PresetFile program;
    program.pluginId = 0x4B76346D;  // Kv4m
    program.pluginVersion = 1000;
    program.parameterCount = 61;
    program.programCount = 16;
    program.name = "HD 650";
    program.chunk = {1, 2, 3};
    Bytes expected = Text("CcnK");
    expected.insert(expected.end(), {0, 0, 0, 55});  // 4 * 5 + 28 + 4 + 3 bytes follow
    for (const char* field : {"FPCh", "\0\0\0\1", "Kv4m", "\0\0\3\xE8", "\0\0\0\x3D"}) {
        expected.insert(expected.end(), field, field + 4);
    }
    const Bytes name = Text("HD 650");
    expected.insert(expected.end(), name.begin(), name.end());
    expected.resize(expected.size() + 28 - name.size(), 0);
    expected.insert(expected.end(), {0, 0, 0, 3, 1, 2, 3});
    EXPECT_EQ(WritePresetFile(program), expected);

    PresetFile bank = program;
    bank.kind = PresetFileKind::Bank;
    const Bytes bankBytes = WritePresetFile(bank);
    ASSERT_EQ(bankBytes.size(), 8u + 20 + 128 + 4 + 3);
    EXPECT_EQ(Bytes(bankBytes.begin() + 8, bankBytes.begin() + 12), Text("FBCh"));
    EXPECT_EQ(Bytes(bankBytes.begin() + 24, bankBytes.begin() + 28), Bytes({0, 0, 0, 16}));
    EXPECT_EQ(bankBytes[7], 8 + 20 + 128 + 4 + 3 - 8);
    EXPECT_EQ(Bytes(bankBytes.begin() + 28, bankBytes.begin() + 156), Bytes(128, 0));

    for (const PresetFile& file : {program, bank}) {
        const PresetFileReading reading = ReadPresetFile(WritePresetFile(file));
        ASSERT_TRUE(reading.ok) << reading.error;
        EXPECT_EQ(reading.file.kind, file.kind);
        EXPECT_EQ(reading.file.pluginId, file.pluginId);
        EXPECT_EQ(reading.file.pluginVersion, 1000);
        const bool bankFile = file.kind == PresetFileKind::Bank;
        EXPECT_EQ(reading.file.programCount, bankFile ? 16 : 0);
        EXPECT_EQ(reading.file.parameterCount, bankFile ? 0 : 61);
        EXPECT_EQ(reading.file.name, file.kind == PresetFileKind::Program ? "HD 650" : "");
        EXPECT_EQ(reading.file.chunk, file.chunk);
    }
}

TEST(PresetFile, DamagedFilesAreRefused) {
    PresetFile program;
    program.chunk = Bytes(40, 7);
    const Bytes good = WritePresetFile(program);
    const auto changed = [&good](std::size_t at, std::uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const struct {
        Bytes bytes;
        const char* error;
    } cases[] = {
        {Bytes(), "not a VST2 preset file (no CcnK header)"},
        {Text("RIFF....WAVEfmt ............"), "not a VST2 preset file (no CcnK header)"},
        {Bytes(good.begin(), good.end() - 1),
         "the header gives 92 bytes after it, the file has 91"},
        {changed(11, 'k'), "unknown preset file kind"},
        {changed(9, 'x'), "unknown preset file kind"},
        {changed(15, 3), "preset file format version 3 is not known"},
        {changed(59, 41), "the header gives a chunk of 41 bytes, the file has 40"},
    };
    for (const auto& c : cases) {
        const PresetFileReading reading = ReadPresetFile(c.bytes);
        EXPECT_FALSE(reading.ok);
        EXPECT_EQ(reading.error, c.error);
    }
    Bytes parameters = good;
    parameters[10] = 'C';
    parameters[11] = 'k';
    parameters[9] = 'x';
    EXPECT_EQ(ReadPresetFile(parameters).error,
              "the file holds parameter lists, not the plug-in's chunk");
    // A bank header that ends before its chunk size.
    PresetFile bank;
    bank.kind = PresetFileKind::Bank;
    Bytes shortBank = WritePresetFile(bank);
    shortBank.resize(100);
    shortBank[7] = 92;
    EXPECT_EQ(ReadPresetFile(shortBank).error, "the file ends inside its header");
}

TEST(PresetFile, NamesAreCutAtCharacterBoundaries) {
    EXPECT_EQ(CutName("Sennheiser HD 650", 27), "Sennheiser HD 650");
    EXPECT_EQ(CutName("abcdefghij", 4), "abcd");
    EXPECT_EQ(CutName("ab\xC3\xA9z", 3), "ab");     // é is two bytes
    EXPECT_EQ(CutName("ab\xE2\x82\xAC", 4), "ab");  // € is three
    EXPECT_EQ(CutName("ab\xE2\x82\xAC"
                      "c",
                      5),
              "ab\xE2\x82\xAC");
}

}  // namespace
}  // namespace corvalen::preset
