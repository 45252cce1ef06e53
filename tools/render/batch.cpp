#include "tools/render/batch.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace render {

namespace {

bool ReadSlot(const std::string& text, int& slot)
{
    if (text.empty() || text.size() > 6)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    std::from_chars(text.data(), text.data() + text.size(), slot);
    return true;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

// A field of the pattern: "slot", "slot:0N" (width in digits) or "name".
bool ReadField(const std::string& field, bool& isName, int& width)
{
    isName = field == "name";
    width = 0;
    if (isName || field == "slot")
        return true;
    if (field.rfind("slot:0", 0) != 0 || field.size() != 7 ||
        !std::isdigit(static_cast<unsigned char>(field[6])))
        return false;
    width = field[6] - '0';
    return true;
}

std::string SafeName(const std::string& name)
{
    std::string safe;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        safe += (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) ? '_' : c;
    }
    return safe.empty() ? "unnamed" : safe;
}

} // namespace

bool IsProgramList(const std::string& text)
{
    if (text.find(',') == std::string::npos && text.find('-') == std::string::npos)
        return false;
    for (const std::string& item : Split(text, ',')) {
        const std::vector<std::string> ends = Split(item, '-');
        int ignored = 0;
        if (ends.size() > 2 || !ReadSlot(ends.front(), ignored) || !ReadSlot(ends.back(), ignored))
            return false;
    }
    return true;
}

bool ReadProgramList(const std::string& text, int count, std::vector<int>& slots, std::string& error)
{
    slots.clear();
    for (const std::string& item : Split(text, ',')) {
        const std::vector<std::string> ends = Split(item, '-');
        int first = 0;
        int last = 0;
        ReadSlot(ends.front(), first);
        ReadSlot(ends.back(), last);
        if (first > last) {
            error = "--program " + item + " runs backwards; write the lower slot first";
            return false;
        }
        if (last >= count) {
            error = "--program " + item + " goes beyond the last slot, " + std::to_string(count - 1);
            return false;
        }
        for (int slot = first; slot <= last; ++slot)
            slots.push_back(slot);
    }
    return true;
}

bool CheckOutputPattern(const std::string& pattern, std::string& error)
{
    bool namesFiles = false;
    for (std::size_t open = pattern.find('{'); open != std::string::npos;
         open = pattern.find('{', open + 1)) {
        const std::size_t close = pattern.find('}', open);
        bool isName = false;
        int width = 0;
        if (close == std::string::npos ||
            !ReadField(pattern.substr(open + 1, close - open - 1), isName, width)) {
            error = "-o " + pattern + ": the fields of an output pattern are {slot}, {slot:03} and {name}";
            return false;
        }
        namesFiles = true;
    }
    if (!namesFiles)
        error = "-o " + pattern +
                " would name every file alike; put {slot} or {name} in it, as in "
                "-o 'out/{slot:03} {name}.flac'";
    return namesFiles;
}

std::string ExpandOutputPattern(const std::string& pattern, int slot, const std::string& name)
{
    std::string out;
    std::size_t at = 0;
    for (std::size_t open = pattern.find('{'); open != std::string::npos; open = pattern.find('{', at)) {
        const std::size_t close = pattern.find('}', open);
        out += pattern.substr(at, open - at);
        bool isName = false;
        int width = 0;
        ReadField(pattern.substr(open + 1, close - open - 1), isName, width);
        char number[16];
        std::snprintf(number, sizeof number, "%0*d", width, slot);
        out += isName ? SafeName(name) : number;
        at = close + 1;
    }
    return out + pattern.substr(at);
}

} // namespace render
