#pragma once
// Bounded C strings shared by the core and the binding: copies that never
// overrun their field, number formatting and reading that ignore the host's
// locale, and conversions that saturate instead of overflowing. No OS calls.

#include <cstddef>
#include <cstdint>

// Copies src into dst (capacity dstSize bytes, including the terminator),
// cutting it when it does not fit. A null src copies the empty text.
void CopyText(char* dst, std::size_t dstSize, const char* src);

// Length of text, reading at most maxLength bytes.
std::size_t BoundedLength(const char* text, std::size_t maxLength);

// Truncates toward zero into the 32-bit range; NaN gives 0.
std::int32_t SaturatingTrunc(double v);

// Rounds half away from zero into the 32-bit range; NaN gives 0.
std::int32_t RoundHalfAway(double v);

// "%d" of v, into dst (bounded).
void FormatInt(char* dst, std::size_t dstSize, std::int32_t v);

// "%.*f" of v with the given decimals, into dst (bounded); '.' whatever the locale.
void FormatFixed(char* dst, std::size_t dstSize, double v, int decimals);

// Reads a decimal floating-point number from the start of text: leading blanks,
// an optional sign, digits with an optional point and exponent. Stops at the
// first character that does not fit; a text that does not begin with a number
// gives 0. Never returns a non-finite value.
double ParseLeadingNumber(const char* text);
