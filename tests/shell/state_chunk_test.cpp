// Byte layouts of the snapshot, the program chunk and the custom data, against reference bytes
// built from the published layout by data/make_chunk_reference.py.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/parameter_table.h"
#include "shell/byte_chunk.h"
#include "shell/parameter.h"
#include "shell/state_chunk.h"

namespace corvalen {
namespace {

#include "data/chunk_reference.inc"

ParamList DefaultParams() {
    ParamList params;
    AppendParameters(params);
    return params;
}

std::vector<unsigned char> Bytes(const ByteChunk& chunk) {
    return std::vector<unsigned char>(chunk.Data(), chunk.Data() + chunk.Length());
}

template <std::size_t N>
std::vector<unsigned char> Bytes(const unsigned char (&data)[N]) {
    return std::vector<unsigned char>(data, data + N);
}

TEST(ParameterTableTest, SixtyOneParametersWithTheirDefaults) {
    const ParamList params = DefaultParams();
    ASSERT_EQ(params.size(), 61u);
    EXPECT_EQ(params[param::kFrFile]->Name(), "FR_file");
    EXPECT_EQ(params[param::kSplashScreen]->Name(), "splashScreen");
    EXPECT_EQ(params[param::BandFrequency(9)]->Name(), "f10Freq");
    EXPECT_EQ(params[param::BandGain(9)]->Name(), "f10Gain");
    EXPECT_EQ(params[param::BandQuality(11)]->Name(), "f12Q");
    for (std::size_t i = 0; i < params.size(); ++i) {
        EXPECT_NEAR(params[i]->GetNormalised(), kReferenceNormalisedDefaults[i], 1e-14) << i;
        EXPECT_EQ(params[i]->IsExcludedFromSnapshot(), i >= 12 && i <= 15) << i;
    }
    EXPECT_EQ(ParamBytes(params, ParamSelection::All), 341);
    EXPECT_EQ(ParamBytes(params, ParamSelection::SnapshotOnly), 337);
    EXPECT_EQ(ParamBytes(params, ParamSelection::ExcludedOnly), 4);
    EXPECT_STREQ(params[param::kOut]->UnitLabel(), "dB");
}

TEST(StateLayoutTest, DefaultSnapshotAndProgramChunkAreByteExact) {
    const ParamList params = DefaultParams();
    ByteChunk snapshot;
    snapshot.Resize(1365);
    ASSERT_TRUE(WriteParams(params, ParamSelection::SnapshotOnly, snapshot));
    ASSERT_TRUE(WriteCustomData("", snapshot));
    EXPECT_EQ(Bytes(snapshot), Bytes(kReferenceSnapshot));

    ByteChunk program;
    program.Resize(1377);
    WriteChunkHeader(program);
    ASSERT_TRUE(WriteParams(params, ParamSelection::All, program));
    ASSERT_TRUE(WriteCustomData("", program));
    EXPECT_EQ(Bytes(program), Bytes(kReferenceProgramChunk));
}

TEST(StateLayoutTest, ProgramChunkReadsBackEveryValue) {
    ParamList edited = DefaultParams();
    edited[param::BandGain(3)]->SetValue(-7.5);
    edited[param::BandFrequency(11)]->SetValue(12345.678);
    edited[param::kEqGraph]->SetValue(0.0);
    edited[param::kSeparator]->SetValue(1.0);
    ByteChunk chunk;
    chunk.Resize(1377);
    WriteChunkHeader(chunk);
    WriteParams(edited, ParamSelection::All, chunk);
    WriteCustomData("C:\\m\\hd600.csv", chunk);
    ASSERT_EQ(chunk.Length(), 353 + 14);

    ParamList read = DefaultParams();
    std::string path = "old";
    const ChunkHeader header = ReadChunkHeader(chunk);
    EXPECT_EQ(header.version, 0x10000);
    int position = ReadParams(read, ParamSelection::All, chunk, header.position);
    position = ReadCustomData(chunk, position, path);
    EXPECT_EQ(position, chunk.Length());
    EXPECT_EQ(path, "C:\\m\\hd600.csv");
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i]->Value(), edited[i]->Value()) << i;
    }
}

TEST(CustomDataTest, LengthLimitsAndEmbeddedZero) {
    ByteChunk chunk;
    chunk.Resize(4 + 1025);
    std::string path;
    EXPECT_TRUE(WriteCustomData(std::string(1024, 'a'), chunk));
    EXPECT_EQ(ReadCustomData(chunk, 0, path), 4 + 1024);
    EXPECT_EQ(path.size(), 1024u);

    chunk.Clear();
    EXPECT_FALSE(WriteCustomData(std::string(1025, 'b'), chunk));
    EXPECT_EQ(chunk.Length(), 0);
    chunk.AppendInt32(1025);
    chunk.Append(std::string(1025, 'b').data(), 1025);
    EXPECT_EQ(ReadCustomData(chunk, 0, path), -1);
    EXPECT_EQ(path.size(), 1024u);  // unchanged

    chunk.Clear();
    chunk.AppendInt32(-1);
    EXPECT_EQ(ReadCustomData(chunk, 0, path), -1);

    chunk.Clear();
    chunk.AppendInt32(5);
    chunk.Append("ab\0cd", 5);
    EXPECT_EQ(ReadCustomData(chunk, 0, path), 9);
    EXPECT_EQ(path, "ab");

    chunk.Clear();
    chunk.AppendInt32(2000);
    chunk.Append("xyz", 3);
    path = "kept";
    EXPECT_EQ(ReadCustomData(chunk, 0, path), -1);
    EXPECT_EQ(path, "kept");
}

TEST(CustomDataTest, WritesNothingWhenThePathDoesNotFit) {
    ByteChunk chunk;
    chunk.Resize(10);
    EXPECT_FALSE(WriteCustomData("1234567", chunk));
    EXPECT_EQ(chunk.Length(), 0);
    EXPECT_TRUE(WriteCustomData("123456", chunk));
    EXPECT_EQ(chunk.Length(), 10);
}

TEST(ChunkHeaderTest, MagicVersionAndRawChunks) {
    ByteChunk chunk;
    chunk.Resize(8);
    WriteChunkHeader(chunk);
    const unsigned char expected[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
    EXPECT_EQ(Bytes(chunk), Bytes(expected));
    ChunkHeader header = ReadChunkHeader(chunk);
    EXPECT_EQ(header.version, 0x10000);
    EXPECT_EQ(header.position, 8);

    chunk.SetLength(6);  // magic and half a version
    header = ReadChunkHeader(chunk);
    EXPECT_EQ(header.version, 0);
    EXPECT_EQ(header.position, -1);

    chunk.Data()[0] = 0x01;  // raw values from byte 0
    chunk.SetLength(8);
    header = ReadChunkHeader(chunk);
    EXPECT_EQ(header.version, 0);
    EXPECT_EQ(header.position, 0);

    ByteChunk tiny;
    tiny.Resize(6);
    WriteChunkHeader(tiny);
    EXPECT_EQ(tiny.Length(), 4);  // the version does not fit
}

}  // namespace
}  // namespace corvalen
