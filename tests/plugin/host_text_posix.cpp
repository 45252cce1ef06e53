#include "host_text.h"

std::string AsHostText(const std::string& stored)
{
    std::string text;
    for (const char c : stored)
        text += c == '\x96' ? std::string("\xE2\x80\x93") : std::string(1, c);
    return text;
}
