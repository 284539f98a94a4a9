// ByteChunk: size and write-length rules, little-endian encoding, bounded reads.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "shell/byte_chunk.h"

namespace corvalen {
namespace {

TEST(ByteChunkTest, WritesFailWithoutGrowingAndLeaveTheLengthAlone) {
    ByteChunk chunk;
    EXPECT_FALSE(chunk.AppendByte(1));  // size 0
    ASSERT_TRUE(chunk.Resize(6));
    EXPECT_TRUE(chunk.AppendInt32(-2));
    EXPECT_FALSE(chunk.AppendInt32(5));  // 4 + 4 > 6
    EXPECT_EQ(chunk.Length(), 4);
    EXPECT_FALSE(chunk.AppendDouble(1.0));
    EXPECT_TRUE(chunk.Append("ab", 2));
    EXPECT_EQ(chunk.Length(), 6);
    EXPECT_FALSE(chunk.Append("", -1));
    EXPECT_EQ(chunk.Size(), 6);
}

TEST(ByteChunkTest, EncodesLittleEndian) {
    ByteChunk chunk;
    ASSERT_TRUE(chunk.Resize(13));
    chunk.AppendInt32(0x70666674);
    chunk.AppendDouble(20.0);  // 0x4034000000000000
    chunk.AppendByte(0xff);
    const unsigned char expected[13] = {0x74, 0x66, 0x66, 0x70, 0, 0, 0, 0, 0, 0, 0x34, 0x40, 0xff};
    EXPECT_EQ(0, std::memcmp(chunk.Data(), expected, sizeof expected));

    std::int32_t integer = 0;
    double real = 0.0;
    std::uint8_t byte = 0;
    EXPECT_EQ(chunk.ReadInt32(integer, 0), 4);
    EXPECT_EQ(integer, 0x70666674);
    EXPECT_EQ(chunk.ReadDouble(real, 4), 12);
    EXPECT_EQ(real, 20.0);
    EXPECT_EQ(chunk.ReadByte(byte, 12), 13);
    EXPECT_EQ(byte, 0xff);
}

TEST(ByteChunkTest, ReadsStopAtTheWrittenLength) {
    ByteChunk chunk;
    ASSERT_TRUE(chunk.Resize(16));
    chunk.AppendInt32(-1);
    chunk.AppendInt32(7);
    // Bytes beyond L, left from earlier contents, are never read.
    chunk.Clear();
    chunk.AppendInt32(3);
    std::int32_t value = 42;
    EXPECT_EQ(chunk.ReadInt32(value, 4), -1);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(chunk.ReadInt32(value, 1), -1);
    EXPECT_EQ(chunk.ReadInt32(value, -4), -1);
    EXPECT_EQ(chunk.ReadInt32(value, 0), 4);
    EXPECT_EQ(value, 3);
    char none = 0;
    EXPECT_EQ(chunk.Read(&none, 0, 4), 4);  // an empty read at the end is fine
    EXPECT_EQ(chunk.Read(&none, 1, 0x7fffffff), -1);
}

TEST(ByteChunkTest, ResizeKeepsContentsAndCutsTheLength) {
    ByteChunk chunk;
    ASSERT_TRUE(chunk.Resize(4));
    chunk.AppendInt32(0x01020304);
    ASSERT_TRUE(chunk.Resize(3999));
    EXPECT_EQ(chunk.Length(), 4);
    EXPECT_EQ(chunk.Data()[0], 0x04);
    EXPECT_EQ(chunk.Data()[3998], 0);
    ASSERT_TRUE(chunk.Resize(2));
    EXPECT_EQ(chunk.Length(), 2);
    EXPECT_FALSE(chunk.Resize(-1));
    EXPECT_FALSE(chunk.SetLength(3));
    EXPECT_TRUE(chunk.SetLength(0));
}

}  // namespace
}  // namespace corvalen
