#include "tools/render/time_text.h"

#include "tools/render/parameter_lookup.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace render {

namespace {

// A plain decimal number at the front of text (digits, optionally a point and
// more digits, no sign or exponent); the characters it took in used.
bool ReadUnsignedNumber(const std::string& text, std::size_t from, double& value, std::size_t& used)
{
    const char* begin = text.data() + from;
    const char* end = text.data() + text.size();
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.'))
        return false;
    const auto result = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (result.ec != std::errc() || !std::isfinite(value))
        return false;
    used = static_cast<std::size_t>(result.ptr - begin);
    return true;
}

// Seconds per unit, or 0 for an unknown unit.
double UnitSeconds(const std::string& unit)
{
    if (unit == "ms")
        return 0.001;
    if (unit == "s" || unit == "sec")
        return 1.0;
    if (unit == "m" || unit == "min")
        return 60.0;
    if (unit == "h")
        return 3600.0;
    return 0.0;
}

// "1:30", "1:30:00", "0:00:05.5": minutes and seconds, or hours, minutes and
// seconds; every field but the first below 60.
bool ReadClock(const std::string& text, double& seconds)
{
    double fields[3] = {0.0, 0.0, 0.0};
    int count = 0;
    std::size_t i = 0;
    while (true) {
        if (count == 3)
            return false;
        std::size_t used = 0;
        if (!ReadUnsignedNumber(text, i, fields[count], used))
            return false;
        i += used;
        ++count;
        if (i == text.size())
            break;
        if (text[i] != ':')
            return false;
        ++i;
    }
    if (count < 2)
        return false;
    for (int k = 0; k < count; ++k)
        if ((k > 0 && fields[k] >= 60.0) || (k < count - 1 && fields[k] != std::floor(fields[k])))
            return false;
    seconds = count == 2 ? fields[0] * 60.0 + fields[1] : fields[0] * 3600.0 + fields[1] * 60.0 + fields[2];
    return true;
}

// "90s", "1h30m", "2.5", "500ms".
bool ReadWithUnits(const std::string& text, double& seconds)
{
    double total = 0.0;
    std::size_t i = 0;
    bool any = false;
    while (i < text.size()) {
        double value = 0.0;
        std::size_t used = 0;
        if (!ReadUnsignedNumber(text, i, value, used))
            return false;
        i += used;
        std::size_t unitEnd = i;
        while (unitEnd < text.size() && std::isalpha(static_cast<unsigned char>(text[unitEnd])))
            ++unitEnd;
        const std::string unit = text.substr(i, unitEnd - i);
        if (unit.empty()) {
            // A bare number is seconds, and only on its own.
            if (any || unitEnd != text.size())
                return false;
            total = value;
        } else {
            const double scale = UnitSeconds(unit);
            if (scale == 0.0)
                return false;
            total += value * scale;
        }
        i = unitEnd;
        any = true;
    }
    seconds = total;
    return any;
}

} // namespace

bool ReadDuration(const std::string& raw, double& seconds, std::string& error)
{
    std::string text;
    for (char c : raw)
        if (!std::isspace(static_cast<unsigned char>(c)))
            text += c;
    double value = 0.0;
    // A plain number is seconds in any decimal form, exponents included ("1e-3").
    const bool ok =
        ReadNumber(text, value) ||
        (text.find(':') != std::string::npos ? ReadClock(text, value) : ReadWithUnits(text, value));
    if (!ok || !std::isfinite(value) || value < 0.0) {
        error = "\"" + raw +
                "\" is not a time; write seconds (90, 2.5), a number with a unit (500ms, 90s, 30m, "
                "1.5h, 1h30m) or a clock (1:30, 1:30:00)";
        return false;
    }
    seconds = value;
    return true;
}

std::string DurationText(double seconds)
{
    const double whole = std::floor(seconds);
    const long long total = static_cast<long long>(whole);
    const double fraction = seconds - whole;
    const long long h = total / 3600;
    const long long m = total / 60 % 60;
    const double s = static_cast<double>(total % 60) + fraction;
    char text[48];
    const bool exact = fraction < 1e-9;
    if (h > 0)
        std::snprintf(text, sizeof text, exact ? "%lld:%02lld:%02.0f" : "%lld:%02lld:%04.1f", h, m, s);
    else
        std::snprintf(text, sizeof text, exact ? "%lld:%02.0f" : "%lld:%04.1f", m, s);
    return text;
}

} // namespace render
