#pragma once
// Finds a program slot from what the user typed after --program: a slot
// number, or a piece of a program name. No plug-in calls: it works on the
// names the caller read (already converted to UTF-8).

#include <string>
#include <vector>

namespace render {

// The slot that key names, or -1 with a message in error. A key of digits is
// a slot number. Otherwise it is compared without regard to ASCII case: a
// name equal to the key wins, else the key must occur in exactly one name; an
// ambiguous key lists the matching slots.
int FindProgram(const std::vector<std::string>& names, const std::string& key, std::string& error);

} // namespace render
