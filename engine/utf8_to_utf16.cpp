#include "engine/utf8_to_utf16.h"

namespace corvalen {

bool Utf8ToUtf16(const std::string& text, std::u16string& out) {
    out.clear();
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned lead = static_cast<unsigned char>(text[i]);
        unsigned length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1;
            value = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (size - i < length) return false;
        for (unsigned k = 1; k < length; ++k) {
            const unsigned next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        if (value >= 0x10000) {
            const char32_t offset = value - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(value));
        }
        i += length;
    }
    return true;
}

}  // namespace corvalen
