#include "shell/param_text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <system_error>

namespace corvalen {

namespace {

bool IsCSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c, bool hex) noexcept {
    if (c >= '0' && c <= '9') return true;
    return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

char LowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// from_chars reports a number too large or too small for a double without a value; strtod
// gives infinity or zero. Decide which from the position of the first significant digit
// and the exponent.
double OutOfRangeValue(const char* first, const char* last, bool hex) noexcept {
    long magnitude = 0;  // digits (hex: nibbles) before the point, or minus leading zeros after it
    bool seenPoint = false;
    bool seenSignificant = false;
    const char* p = first;
    for (; p < last && (IsDigit(*p, hex) || *p == '.'); ++p) {
        if (*p == '.') {
            seenPoint = true;
        } else if (!seenSignificant && *p == '0') {
            if (seenPoint) --magnitude;
        } else {
            seenSignificant = true;
            if (!seenPoint) ++magnitude;
        }
    }
    long exponent = 0;
    if (p < last && (LowerAscii(*p) == (hex ? 'p' : 'e'))) {
        ++p;
        const bool negative = p < last && *p == '-';
        if (p < last && (*p == '-' || *p == '+')) ++p;
        for (; p < last && IsDigit(*p, false); ++p) {
            if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
        }
        if (negative) exponent = -exponent;
    }
    const long scaled = hex ? magnitude * 4 + exponent : magnitude + exponent;
    return scaled > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// Writes value as "%.*f" would in the C locale into text[0..capacity), terminated; an empty
// text when it does not fit.
void WriteFixed(double value, int precision, char* text, std::size_t capacity) noexcept {
    const std::to_chars_result result =
        std::to_chars(text, text + capacity - 1, value, std::chars_format::fixed, precision);
    *(result.ec == std::errc() ? result.ptr : text) = '\0';
}

// Large enough for any double in fixed notation with up to 17 decimals: 309 integer digits,
// a sign, a point, the decimals and the terminator.
constexpr std::size_t kFixedTextCapacity = 400;

}  // namespace

double ReadLeadingNumber(const char* text) noexcept {
    double value = 0.0;
    ReadLeadingNumber(text, value);
    return value;
}

bool ReadLeadingNumber(const char* text, double& value) noexcept {
    value = 0.0;
    if (text == nullptr) {
        return false;
    }
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* last = p + std::strlen(p);
    bool hex = false;
    if (p[0] == '0' && LowerAscii(p[1]) == 'x' &&
        (IsDigit(p[2], true) || (p[2] == '.' && IsDigit(p[3], true)))) {
        hex = true;
        p += 2;
    }
    // from_chars accepts no sign of its own here (it would take a second '-'), so a text like
    // "--5" reads as no number, as with strtod.
    if (*p == '-' || *p == '+') {
        return false;
    }
    if (hex) {
        // from_chars reads "p+-3" as an exponent of -3; strtod sees no exponent there, so the
        // number ends before the "p".
        const char* mark = p;
        while (IsDigit(*mark, true) || *mark == '.') ++mark;
        if (LowerAscii(*mark) == 'p' && (mark[1] == '+' || mark[1] == '-') &&
            (mark[2] == '+' || mark[2] == '-')) {
            last = mark;
        }
    }
    const std::from_chars_result result =
        std::from_chars(p, last, value, hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) {
        value = 0.0;
        return false;
    }
    if (result.ec == std::errc::result_out_of_range) {
        value = OutOfRangeValue(p, result.ptr, hex);
    }
    if (negative) value = -value;
    return true;
}

void FormatDisplayValue(double value, int precision, bool forceSign, char* buffer,
                        int length) noexcept {
    char text[kFixedTextCapacity + 1];
    char* out = text;
    if (forceSign && !std::signbit(value)) {
        *out++ = '+';
    }
    WriteFixed(value, precision, out, kFixedTextCapacity);
    text[15] = '\0';  // the display field holds at most 15 characters

    // A value that rounds to zero reads as zero, without a sign: -0.04 shown with one decimal
    // is "0.0", not "-0.0".
    if ((text[0] == '+' || text[0] == '-') && text[1] == '0') {
        const char* rest = text + 2;
        bool allZero = *rest == '\0';
        if (*rest == '.') {
            allZero = true;
            for (const char* q = rest + 1; *q != '\0'; ++q) {
                if (*q != '0') allZero = false;
            }
        }
        if (allZero) {
            CopyText(text + 1, buffer, length);
            return;
        }
    }
    CopyText(text, buffer, length);
}

void FormatFixed(double value, int precision, char* buffer, int length) noexcept {
    char text[kFixedTextCapacity];
    WriteFixed(value, precision, text, sizeof text);
    CopyText(text, buffer, length);
}

void CopyText(const char* text, char* buffer, int length) noexcept {
    if (buffer == nullptr || length <= 0) {
        return;
    }
    int i = 0;
    if (text != nullptr) {
        for (; i < length - 1 && text[i] != '\0'; ++i) {
            buffer[i] = text[i];
        }
    }
    buffer[i] = '\0';
}

bool EqualIgnoringAsciiCase(const char* a, const char* b) noexcept {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b)) return false;
    }
    return *a == *b;
}

}  // namespace corvalen
