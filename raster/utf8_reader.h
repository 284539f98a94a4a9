// Walks UTF-8 text for glyph drawing. Internal.
//
// Bytes that do not start a valid sequence count as single characters with the byte's
// value, so text in a legacy 8-bit encoding still shows; four-byte sequences (outside the
// glyph table's reach on the platform) read as a space.
#pragma once

#include <cstddef>

namespace corvalen::raster {

class Utf8Reader {
public:
    Utf8Reader(const char* text, std::size_t length)
        : text_(reinterpret_cast<const unsigned char*>(text)), length_(length) {}

    bool done() const { return position_ >= length_; }

    char32_t next() {
        const unsigned char lead = text_[position_];
        std::size_t extra = 0;
        char32_t decoded = lead;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            decoded = lead & 0x1Fu;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            decoded = lead & 0x0Fu;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            decoded = lead & 0x07u;
            minimum = 0x10000;
        }
        bool valid = extra > 0 && extra < length_ - position_;
        for (std::size_t i = 1; valid && i <= extra; ++i) {
            const unsigned char follow = text_[position_ + i];
            if ((follow & 0xC0) != 0x80) valid = false;
            decoded = decoded << 6 | (follow & 0x3Fu);
        }
        if (valid && decoded >= minimum && decoded <= 0x10FFFF &&
            !(decoded >= 0xD800 && decoded <= 0xDFFF)) {
            position_ += extra + 1;
            return extra == 3 ? U' ' : decoded;
        }
        ++position_;
        return lead;
    }

private:
    const unsigned char* text_;
    std::size_t length_;
    std::size_t position_ = 0;
};

}  // namespace corvalen::raster
