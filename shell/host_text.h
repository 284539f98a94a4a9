// Texts handed to the host: cut to the protocol's limits and always terminated.
#pragma once

#include <cstddef>
#include <string>

namespace corvalen {

// Copies at most maxChars characters of text and a terminating zero, so the host's buffer
// receives at most maxChars + 1 bytes. A null text copies as empty.
inline void CopyHostText(char* destination, const char* text, std::size_t maxChars) {
    if (destination == nullptr) return;
    std::size_t count = 0;
    if (text != nullptr) {
        while (count < maxChars && text[count] != '\0') {
            destination[count] = text[count];
            ++count;
        }
    }
    destination[count] = '\0';
}

inline void CopyHostText(char* destination, const std::string& text, std::size_t maxChars) {
    CopyHostText(destination, text.c_str(), maxChars);
}

// Limits of the host's buffers (characters before the terminating zero).
namespace text_limit {
constexpr std::size_t kParamShort = 7;   // VST2 parameter texts
constexpr std::size_t kParamLong = 255;  // after the host announced its extensions
constexpr std::size_t kProgramName = 23;
constexpr std::size_t kEffectName = 31;
constexpr std::size_t kVendorText = 63;
constexpr std::size_t kPinLabel = 63;
constexpr std::size_t kPinShortLabel = 7;
constexpr std::size_t kPropertyLabel = 63;
constexpr std::size_t kPropertyShortLabel = 7;
}  // namespace text_limit

}  // namespace corvalen
