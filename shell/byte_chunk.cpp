#include "shell/byte_chunk.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace corvalen {

namespace {

// The byte order of every chunk is little-endian whatever the machine; these helpers spell the
// order out so the code does not depend on the host's own.
void StoreLittleEndian(std::uint64_t value, std::uint8_t* out, int count) noexcept {
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint64_t LoadLittleEndian(const std::uint8_t* in, int count) noexcept {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    }
    return value;
}

}  // namespace

bool ByteChunk::Resize(int size) noexcept {
    if (size < 0) {
        return false;
    }
    try {
        bytes_.resize(static_cast<std::size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    if (length_ > size) {
        length_ = size;
    }
    return true;
}

bool ByteChunk::SetLength(int length) noexcept {
    if (length < 0 || length > Size()) {
        return false;
    }
    length_ = length;
    return true;
}

bool ByteChunk::Append(const void* bytes, int count) noexcept {
    // Written as a subtraction so that a huge count cannot overflow L + n.
    if (count < 0 || count > Size() - length_) {
        return false;
    }
    if (count > 0) {
        std::memcpy(bytes_.data() + length_, bytes, static_cast<std::size_t>(count));
    }
    length_ += count;
    return true;
}

bool ByteChunk::AppendByte(std::uint8_t value) noexcept { return Append(&value, 1); }

bool ByteChunk::AppendInt32(std::int32_t value) noexcept {
    std::uint8_t bytes[4];
    StoreLittleEndian(static_cast<std::uint32_t>(value), bytes, 4);
    return Append(bytes, 4);
}

bool ByteChunk::AppendDouble(double value) noexcept {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint8_t bytes[8];
    StoreLittleEndian(bits, bytes, 8);
    return Append(bytes, 8);
}

int ByteChunk::Read(void* out, int count, int position) const noexcept {
    if (position < 0 || count < 0 || position > length_ || count > length_ - position) {
        return -1;
    }
    if (count > 0) {
        std::memcpy(out, bytes_.data() + position, static_cast<std::size_t>(count));
    }
    return position + count;
}

int ByteChunk::ReadByte(std::uint8_t& out, int position) const noexcept {
    return Read(&out, 1, position);
}

int ByteChunk::ReadInt32(std::int32_t& out, int position) const noexcept {
    std::uint8_t bytes[4];
    const int next = Read(bytes, 4, position);
    if (next >= 0) {
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(LoadLittleEndian(bytes, 4)));
    }
    return next;
}

int ByteChunk::ReadDouble(double& out, int position) const noexcept {
    std::uint8_t bytes[8];
    const int next = Read(bytes, 8, position);
    if (next >= 0) {
        const std::uint64_t bits = LoadLittleEndian(bytes, 8);
        std::memcpy(&out, &bits, sizeof out);
    }
    return next;
}

}  // namespace corvalen
