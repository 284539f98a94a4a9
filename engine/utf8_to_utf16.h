// UTF-8 to UTF-16 conversion for the Windows file calls, kept portable so it is tested natively.
#pragma once

#include <string>

namespace corvalen {

// False (and out unspecified) when text is not well-formed UTF-8: overlong forms, surrogate
// code points, values above U+10FFFF and truncated sequences are refused rather than guessed.
bool Utf8ToUtf16(const std::string& text, std::u16string& out);

}  // namespace corvalen
