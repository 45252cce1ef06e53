#pragma once
// Lengths and times as people write them: plain seconds ("90", "2.5"), a
// number with a unit ("500ms", "90s", "30m", "1.5h"), units in a row ("1h30m",
// "2m30s") or a clock ("1:30" is a minute and a half, "1:30:00" an hour and a
// half). Used by --seconds and by schedule files.

#include <string>

namespace render {

// Reads text as a length in seconds (0 or more, finite). False with a message
// saying what is accepted.
bool ReadDuration(const std::string& text, double& seconds, std::string& error);

// "1:02:03.5", "2:03", "0:05": how a time is shown in messages and plots.
std::string DurationText(double seconds);

} // namespace render
