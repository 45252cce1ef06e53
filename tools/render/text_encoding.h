#pragma once
// Text helpers of tessaphon-render: the plug-in's 8-bit Windows-1252 names
// turned into UTF-8 for the terminal, and the small comparisons the lookups
// use. No plug-in, no OS calls.

#include <string>
#include <string_view>

namespace render {

// Every byte of a Windows-1252 text as its UTF-8 sequence; the five bytes the
// code page leaves undefined become U+FFFD.
std::string Windows1252ToUtf8(std::string_view text);

// Text without leading and trailing blanks (spaces and tabs).
std::string Trim(std::string_view text);

// ASCII letters folded to lower case; other bytes (UTF-8 included) unchanged.
std::string FoldCase(std::string_view text);

// True when text is one or more decimal digits and nothing else.
bool IsDigits(std::string_view text);

} // namespace render
