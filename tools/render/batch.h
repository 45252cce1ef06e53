#pragma once
// Batch renders: --program with a list of slots ("1-141", "3,5,10-12") and an
// output pattern that names each file ("out/{slot:03} {name}.flac").

#include <string>
#include <vector>

namespace render {

// True when text is a list of slots rather than one slot or a name: numbers
// and ranges joined by commas, with at least one comma or range.
bool IsProgramList(const std::string& text);

// The slots text lists, in its order, each below count; false with a message
// for a slot out of range or a range that runs backwards.
bool ReadProgramList(const std::string& text, int count, std::vector<int>& slots, std::string& error);

// A pattern must name each file apart: {slot} (or {slot:0N}, zero-padded to
// N digits) or {name}; anything else in braces is refused.
bool CheckOutputPattern(const std::string& pattern, std::string& error);

// The pattern with {slot}, {slot:0N} and {name} filled in; the name is made
// safe for a file name (no slashes or control characters).
std::string ExpandOutputPattern(const std::string& pattern, int slot, const std::string& name);

} // namespace render
