#pragma once
// Number texts of the parameters, independent of the process locale: a host may have set a
// locale whose decimal separator is a comma, but parameter texts always use a point.

namespace corvalen {

// Reads a floating-point number from the start of `text` by strtod's rules (leading white
// space, optional sign, decimal or hexadecimal digits with an optional exponent, inf, nan) in
// the C locale. No number, or a null text, reads as 0. Overflow gives +-infinity like strtod.
double ReadLeadingNumber(const char* text) noexcept;

// The same reading, telling whether the text starts with a number at all: false (value 0)
// when strtod would consume nothing.
bool ReadLeadingNumber(const char* text, double& value) noexcept;

// Display text of a continuous value with `precision` decimals: "%+.*f" when forceSign,
// otherwise "%.*f", cut to 15 characters; a sign in front of a text that reads as zero
// ("-0.0", "+0.00") is dropped. Copied into buffer by CopyText's rule.
void FormatDisplayValue(double value, int precision, bool forceSign, char* buffer,
                        int length) noexcept;

// "%.*f" with `precision` decimals (at most 17), always with a decimal point. Copied into
// buffer by CopyText's rule.
void FormatFixed(double value, int precision, char* buffer, int length) noexcept;

// Copies at most length - 1 characters of `text` and a terminating zero; writes nothing when
// length <= 0 or buffer is null.
void CopyText(const char* text, char* buffer, int length) noexcept;

// ASCII case-insensitive equality.
bool EqualIgnoringAsciiCase(const char* a, const char* b) noexcept;

}  // namespace corvalen
