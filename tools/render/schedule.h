#pragma once
// Schedule files: a TOML file that says where a render starts (a program and
// settings) and how the settings change over its length, step by step:
//
//   name = "Descent into theta"
//   program = 58              # slot number or a piece of its name
//   length = "30m"
//   [start]                   # settings at 0:00, as --set takes them
//   Isochronic = 14
//   [[step]]
//   at = "1m"                 # when the step begins
//   over = "20m"              # a ramp; without it the values are set at once
//   curve = "exponential"     # optional, for ramps of positive ranges
//   Isochronic = 4
//
// Reading checks everything that does not need the plug-in (syntax, keys,
// times, their order and the length); the parameter names and values are
// checked against the plug-in when the schedule is planned (schedule_plan.h).
// Every message carries the file's line and column.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace render {

struct SourcePlace {
    int line = 0;
    int column = 0;
};

// One PARAM = VALUE of a schedule, the value as --set takes it.
struct ScheduleValue {
    std::string key;
    std::string text;
    SourcePlace place;
};

enum class RampCurve { Linear, Exponential };

struct ScheduleStep {
    double at = 0.0;   // seconds from the start
    double over = 0.0; // ramp length in seconds; 0 sets the values at once
    RampCurve curve = RampCurve::Linear;
    SourcePlace place;      // the step's `at`
    SourcePlace curvePlace; // where the curve is given (line 0: not given)
    std::vector<ScheduleValue> values;
};

struct Schedule {
    std::string path;
    std::string name; // empty: none given
    std::optional<std::string> program;
    SourcePlace programPlace;
    double length = 0.0;
    std::vector<ScheduleValue> start;
    std::vector<ScheduleStep> steps; // in the file's order, which is time order
};

// "FILE:LINE:COLUMN: message".
std::string PlaceText(const std::string& path, SourcePlace place, const std::string& message);

// Reads text (the content of path) into schedule. False with a message that
// names the place in the file.
bool ParseSchedule(std::string_view text, const std::string& path, Schedule& schedule, std::string& error);

// Reads the file at path; false with a message when it cannot be read or is invalid.
bool ReadSchedule(const std::string& path, Schedule& schedule, std::string& error);

} // namespace render
