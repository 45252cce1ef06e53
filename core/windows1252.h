#pragma once
// Conversion between the plug-in's 8-bit Windows-1252 texts and UTF-8, bounded
// like every other text copy: the output never overruns its field and a
// multi-byte character is never cut in half. No OS calls.

#include <cstddef>

// Writes src (Windows-1252, up to its terminator) into dst as UTF-8, at most
// dstSize - 1 bytes and a terminator. The five bytes the code page leaves
// undefined become the matching control characters U+0081 ... U+009D, so that
// the conversion back gives the same bytes. A character that does not fit
// whole ends the text.
void Windows1252ToUtf8(char* dst, std::size_t dstSize, const char* src);

// Writes src (UTF-8, read up to its terminator or srcLimit bytes) into dst as
// Windows-1252, at most dstSize - 1 bytes and a terminator. Characters with no
// Windows-1252 form become '?'. Bytes that are not well-formed UTF-8 are kept
// as they are: such a text was most likely 8-bit already.
void Utf8ToWindows1252(char* dst, std::size_t dstSize, const char* src, std::size_t srcLimit);
