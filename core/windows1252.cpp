#include "core/windows1252.h"

#include "core/bounded_string.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80 to 0x9F; the five bytes the code page leaves
// undefined keep their own value (a C1 control character).
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::uint32_t CodePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

// The Windows-1252 byte of a code point, or '?' when the code page has none.
char ByteOf(std::uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (unsigned i = 0; i < 32; ++i)
        if (kHighControls[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

std::size_t EncodeUtf8(std::uint32_t cp, unsigned char (&out)[3])
{
    if (cp < 0x80) {
        out[0] = static_cast<unsigned char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        return 2;
    }
    out[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 3;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes one well-formed UTF-8 character at text[0 .. length); returns its
// byte count, or 0 when the bytes there are not a well-formed character
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t DecodeUtf8(const unsigned char* text, std::size_t length, std::uint32_t& cp)
{
    const unsigned char lead = text[0];
    std::size_t count = 0;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2;
        cp = lead & 0x1Fu;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3;
        cp = lead & 0x0Fu;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4;
        cp = lead & 0x07u;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (length < count)
        return 0;
    for (std::size_t i = 1; i < count; ++i) {
        if (!IsContinuation(text[i]))
            return 0;
        cp = (cp << 6) | (text[i] & 0x3Fu);
    }
    if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return count;
}

} // namespace

void Windows1252ToUtf8(char* dst, std::size_t dstSize, const char* src)
{
    if (!dst || dstSize == 0)
        return;
    std::size_t written = 0;
    for (const char* p = src; p && *p; ++p) {
        unsigned char bytes[3];
        const std::size_t n = EncodeUtf8(CodePointOf(static_cast<unsigned char>(*p)), bytes);
        if (written + n > dstSize - 1)
            break;
        for (std::size_t i = 0; i < n; ++i)
            dst[written++] = static_cast<char>(bytes[i]);
    }
    dst[written] = '\0';
}

void Utf8ToWindows1252(char* dst, std::size_t dstSize, const char* src, std::size_t srcLimit)
{
    if (!dst || dstSize == 0)
        return;
    const std::size_t length = BoundedLength(src, srcLimit);
    const auto* text = reinterpret_cast<const unsigned char*>(src);
    std::size_t written = 0;
    std::size_t pos = 0;
    while (pos < length && written < dstSize - 1) {
        std::uint32_t cp = 0;
        const std::size_t n = DecodeUtf8(text + pos, length - pos, cp);
        dst[written++] = n ? ByteOf(cp) : static_cast<char>(text[pos]);
        pos += n ? n : 1;
    }
    dst[written] = '\0';
}
