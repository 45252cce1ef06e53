#include "tools/render/json_writer.h"

#include <cmath>
#include <cstdio>

namespace render {

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

JsonObject& JsonObject::AddRaw(const std::string& key, const std::string& json)
{
    members += (members.empty() ? "" : ",") + JsonString(key) + ":" + json;
    return *this;
}

JsonObject& JsonObject::Add(const std::string& key, const std::string& text)
{
    return AddRaw(key, JsonString(text));
}

JsonObject& JsonObject::Add(const std::string& key, double number)
{
    return AddRaw(key, JsonNumber(number));
}

JsonObject& JsonObject::Add(const std::string& key, bool flag)
{
    return AddRaw(key, flag ? "true" : "false");
}

std::string JsonArray(const std::vector<std::string>& values)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i == 0 ? "" : ",") + values[i];
    return out + "]";
}

} // namespace render
