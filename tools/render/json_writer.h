#pragma once
// Machine-readable output (--json): JSON values written compactly, one
// document per line, with texts escaped as JSON requires (UTF-8 passes
// through; control characters become \u escapes).

#include <string>
#include <vector>

namespace render {

// A JSON text literal for text, quotes included.
std::string JsonString(const std::string& text);
// A JSON number; non-finite values become null.
std::string JsonNumber(double value);

// Builds one object, its members in the order added.
class JsonObject {
public:
    JsonObject& Add(const std::string& key, const std::string& text);
    JsonObject& Add(const std::string& key, const char* text) { return Add(key, std::string(text)); }
    JsonObject& Add(const std::string& key, double number);
    JsonObject& Add(const std::string& key, int number) { return Add(key, static_cast<double>(number)); }
    JsonObject& Add(const std::string& key, bool flag);
    JsonObject& AddRaw(const std::string& key, const std::string& json); // an already written value
    std::string Text() const { return "{" + members + "}"; }

private:
    std::string members;
};

// "[a,b,...]" from written values.
std::string JsonArray(const std::vector<std::string>& values);

} // namespace render
