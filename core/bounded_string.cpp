#include "core/bounded_string.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <system_error>

void CopyText(char* dst, std::size_t dstSize, const char* src)
{
    if (!dst || dstSize == 0)
        return;
    const std::size_t n = src ? BoundedLength(src, dstSize - 1) : 0;
    if (n)
        std::memcpy(dst, src, n);
    dst[n] = '\0';
}

std::size_t BoundedLength(const char* text, std::size_t maxLength)
{
    if (!text)
        return 0;
    const void* end = std::memchr(text, 0, maxLength);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : maxLength;
}

std::int32_t SaturatingTrunc(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

std::int32_t RoundHalfAway(double v)
{
    return SaturatingTrunc(v >= 0 ? v + 0.5 : v - 0.5);
}

void FormatInt(char* dst, std::size_t dstSize, std::int32_t v)
{
    char tmp[16];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
    *r.ptr = '\0';
    CopyText(dst, dstSize, tmp);
}

void FormatFixed(char* dst, std::size_t dstSize, double v, int decimals)
{
    if (!std::isfinite(v)) {
        CopyText(dst, dstSize, std::isnan(v) ? "nan" : (v < 0 ? "-inf" : "inf"));
        return;
    }
    // 309 integer digits, a sign, a point and up to 17 decimals fit.
    char tmp[400];
    const auto r = std::to_chars(tmp, tmp + sizeof tmp - 1, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) {
        CopyText(dst, dstSize, "");
        return;
    }
    *r.ptr = '\0';
    CopyText(dst, dstSize, tmp);
}

double ParseLeadingNumber(const char* text)
{
    if (!text)
        return 0.0;
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* start = p;
    const char* q = p;
    bool digits = false;
    while (std::isdigit(static_cast<unsigned char>(*q))) {
        ++q;
        digits = true;
    }
    if (*q == '.') {
        ++q;
        while (std::isdigit(static_cast<unsigned char>(*q))) {
            ++q;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (*q == 'e' || *q == 'E') {
        const char* e = q + 1;
        if (*e == '+' || *e == '-')
            ++e;
        if (std::isdigit(static_cast<unsigned char>(*e))) {
            while (std::isdigit(static_cast<unsigned char>(*e)))
                ++e;
            q = e;
        }
    }
    double value = 0.0;
    const auto r = std::from_chars(start, q, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large gives the largest finite value, too small gives 0.
        const bool large = [&] {
            const char* e = start;
            while (e < q && *e != 'e' && *e != 'E')
                ++e;
            return e == q || e[1] != '-';
        }();
        value = large ? DBL_MAX : 0.0;
    } else if (r.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}
