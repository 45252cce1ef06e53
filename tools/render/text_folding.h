#pragma once
// Text helpers of tessaphon-render: the small comparisons the lookups use.
// The plug-in hands its names over in UTF-8 already. No plug-in, no OS calls.

#include <string>
#include <string_view>

namespace render {

// Text without leading and trailing blanks (spaces and tabs).
std::string Trim(std::string_view text);

// ASCII letters folded to lower case; other bytes (UTF-8 included) unchanged.
std::string FoldCase(std::string_view text);

// Text folded for matching names as a person types them: ASCII case folded,
// the typographic dashes and the minus sign (UTF-8) read as '-', typographic
// single quotes as '\'', and every run of blanks as one space.
std::string FoldLookalikes(std::string_view text);

// True when text is one or more decimal digits and nothing else.
bool IsDigits(std::string_view text);

} // namespace render
