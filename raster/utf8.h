#pragma once
// Text encoding helpers for the drawing layer. No OS calls.

#include <string>
#include <string_view>

// True when the text holds a byte of 0x80 or more: such texts are taken as
// UTF-8; all others are drawn byte by byte.
bool LooksLikeUtf8(std::string_view text);

// UTF-8 to UTF-16. Malformed sequences (stray continuation bytes, truncated,
// overlong or surrogate encodings, values above U+10FFFF) become U+FFFD one
// byte at a time, so no input reads past its end.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to code points; unpaired surrogates become U+FFFD.
std::u32string Utf16ToCodePoints(std::u16string_view text);
