#include "tools/render/text_folding.h"

namespace render {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::string Trim(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string FoldCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string FoldLookalikes(std::string_view text)
{
    struct Lookalike {
        std::string_view utf8;
        char plain;
    };
    static constexpr Lookalike kLookalikes[] = {
        {"\xE2\x80\x90", '-'}, {"\xE2\x80\x91", '-'}, {"\xE2\x80\x92", '-'},  {"\xE2\x80\x93", '-'},
        {"\xE2\x80\x94", '-'}, {"\xE2\x88\x92", '-'}, {"\xE2\x80\x98", '\''}, {"\xE2\x80\x99", '\''},
        {"\xC2\xB4", '\''},    {"\xC2\xA0", ' '},
    };
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        std::size_t length = 1;
        for (const Lookalike& l : kLookalikes) {
            if (text.substr(i, l.utf8.size()) == l.utf8) {
                c = l.plain;
                length = l.utf8.size();
                break;
            }
        }
        i += length;
        if (IsBlank(c)) {
            if (!out.empty() && out.back() == ' ')
                continue;
            c = ' ';
        }
        out += c;
    }
    return FoldCase(out);
}

bool IsDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace render
