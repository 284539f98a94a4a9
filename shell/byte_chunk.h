#pragma once
// The unit of all serialisation: a byte buffer with a size S (usable bytes, set when the
// chunk is reserved or grown; growing keeps the contents) and a write length L (0 <= L <= S),
// which is also the length handed to the host.
//
// Writes append at L and fail, leaving L unchanged, when L + n > S: a chunk never grows while
// it is being written. Reads take a position p and answer the next position, or -1 when
// p < 0 or p + n > L. Reads stop at L, not at S: after a host's chunk has been copied in,
// L is the host's length, so a truncated chunk fails instead of reading on into bytes left
// in the buffer by an earlier, longer chunk.
//
// Integers are 32-bit signed little-endian, doubles IEEE 754 64-bit little-endian.

#include <cstdint>
#include <vector>

namespace corvalen {

class ByteChunk {
public:
    ByteChunk() = default;

    // Sets S to `size` bytes, keeping the first min(old S, size) bytes; new bytes are zero.
    // L is cut to the new S. False (nothing changed) for a negative size or when memory runs out.
    bool Resize(int size) noexcept;

    int Size() const noexcept { return static_cast<int>(bytes_.size()); }
    int Length() const noexcept { return length_; }

    // Starts writing from the beginning again (L = 0); the bytes stay as they are.
    void Clear() noexcept { length_ = 0; }

    // Sets L directly, after bytes were copied into Data(). False when outside 0..S.
    bool SetLength(int length) noexcept;

    std::uint8_t* Data() noexcept { return bytes_.data(); }
    const std::uint8_t* Data() const noexcept { return bytes_.data(); }

    // Appending at L. False and L unchanged when the bytes do not fit.
    bool Append(const void* bytes, int count) noexcept;
    bool AppendByte(std::uint8_t value) noexcept;
    bool AppendInt32(std::int32_t value) noexcept;
    bool AppendDouble(double value) noexcept;

    // Reading at a position below L. Answer the next position, or -1 (out untouched).
    int Read(void* out, int count, int position) const noexcept;
    int ReadByte(std::uint8_t& out, int position) const noexcept;
    int ReadInt32(std::int32_t& out, int position) const noexcept;
    int ReadDouble(double& out, int position) const noexcept;

private:
    std::vector<std::uint8_t> bytes_;
    int length_ = 0;
};

}  // namespace corvalen
