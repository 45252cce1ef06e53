#include "tools/render/schedule.h"

#include "tools/render/time_text.h"

#include <toml++/toml.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace render {

namespace {

// Schedule files are written by hand; anything near this size is a mistake.
constexpr std::streamoff kMaxScheduleBytes = 256 * 1024 * 1024;

SourcePlace PlaceOf(const toml::source_region& region)
{
    return {static_cast<int>(region.begin.line), static_cast<int>(region.begin.column)};
}

struct Failure {
    SourcePlace place;
    std::string message;
};

// A number as --set takes it: whole numbers plainly, others in the shortest
// form that reads back the same.
std::string NumberValueText(double v)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, v);
    return std::string(text, result.ptr);
}

// Tables hand their keys over sorted by name; messages about the second of
// two values should point at the later one in the file.
void SortByPlace(std::vector<ScheduleValue>& values)
{
    std::stable_sort(values.begin(), values.end(), [](const ScheduleValue& a, const ScheduleValue& b) {
        return a.place.line != b.place.line ? a.place.line < b.place.line : a.place.column < b.place.column;
    });
}

// A parameter value: a number or a text.
std::optional<Failure> ReadValue(const toml::key& key, const toml::node& node, ScheduleValue& value)
{
    value.key = std::string(key.str());
    value.place = PlaceOf(key.source());
    if (const auto* i = node.as_integer())
        value.text = std::to_string(i->get());
    else if (const auto* f = node.as_floating_point())
        value.text = NumberValueText(f->get());
    else if (const auto* s = node.as_string())
        value.text = s->get();
    else if (const auto* b = node.as_boolean())
        value.text = b->get() ? "On" : "Off";
    else
        return Failure{PlaceOf(node.source()), "\"" + value.key + "\" takes a number or a text"};
    return std::nullopt;
}

// A time or length: seconds as a number, or a text such as "90s", "30m", "1:30:00".
std::optional<Failure> ReadTime(const toml::node& node, const char* what, double& seconds)
{
    const SourcePlace place = PlaceOf(node.source());
    std::string error;
    if (const auto* i = node.as_integer())
        seconds = static_cast<double>(i->get());
    else if (const auto* f = node.as_floating_point())
        seconds = f->get();
    else if (const auto* s = node.as_string()) {
        if (!ReadDuration(s->get(), seconds, error))
            return Failure{place, std::string(what) + ": " + error};
    } else
        return Failure{place,
                       std::string(what) + " takes a time such as 90, \"90s\", \"30m\" or \"1:30:00\""};
    if (!(seconds >= 0.0) || seconds > 1e9)
        return Failure{place, std::string(what) + " must be 0 or more"};
    return std::nullopt;
}

std::optional<Failure> ReadStart(const toml::node& node, Schedule& schedule)
{
    const auto* table = node.as_table();
    if (!table)
        return Failure{PlaceOf(node.source()), "[start] holds PARAM = VALUE lines"};
    for (const auto& [key, value] : *table) {
        ScheduleValue v;
        if (auto failure = ReadValue(key, value, v))
            return failure;
        schedule.start.push_back(std::move(v));
    }
    SortByPlace(schedule.start);
    return std::nullopt;
}

std::optional<Failure> ReadCurve(const toml::node& node, ScheduleStep& step)
{
    step.curvePlace = PlaceOf(node.source());
    const auto* s = node.as_string();
    if (s && s->get() == "linear")
        step.curve = RampCurve::Linear;
    else if (s && s->get() == "exponential")
        step.curve = RampCurve::Exponential;
    else
        return Failure{step.curvePlace, "curve is \"linear\" or \"exponential\""};
    return std::nullopt;
}

std::optional<Failure> ReadStep(const toml::node& node, double length, Schedule& schedule)
{
    const auto* table = node.as_table();
    if (!table)
        return Failure{PlaceOf(node.source()), "each [[step]] is a table"};
    ScheduleStep step;
    step.place = PlaceOf(node.source());
    const toml::node* at = table->get("at");
    if (!at)
        return Failure{step.place, "this step has no `at` (the time it begins)"};
    step.place = PlaceOf(at->source());
    if (auto failure = ReadTime(*at, "at", step.at))
        return failure;
    for (const auto& [key, value] : *table) {
        if (key == "at")
            continue;
        if (key == "over") {
            if (auto failure = ReadTime(value, "over", step.over))
                return failure;
            if (step.over <= 0.0)
                return Failure{PlaceOf(value.source()), "a ramp's `over` must be longer than 0"};
            continue;
        }
        if (key == "curve") {
            if (auto failure = ReadCurve(value, step))
                return failure;
            continue;
        }
        ScheduleValue v;
        if (auto failure = ReadValue(key, value, v))
            return failure;
        step.values.push_back(std::move(v));
    }
    if (step.values.empty())
        return Failure{step.place, "this step changes no parameter"};
    SortByPlace(step.values);
    if (step.curvePlace.line != 0 && step.over == 0.0)
        return Failure{step.curvePlace, "a curve applies to a ramp; give `over` too"};
    if (!schedule.steps.empty() && step.at < schedule.steps.back().at)
        return Failure{step.place,
                       "this step begins at " + DurationText(step.at) + ", before the step above it (" +
                           DurationText(schedule.steps.back().at) + "); list the steps in time order"};
    if (step.at + step.over > length)
        return Failure{step.place, "this step " + std::string(step.over > 0.0 ? "ends" : "begins") + " at " +
                                       DurationText(step.at + step.over) + ", beyond the length " +
                                       DurationText(length)};
    schedule.steps.push_back(std::move(step));
    return std::nullopt;
}

std::optional<Failure> ReadTable(const toml::table& root, Schedule& schedule)
{
    const toml::node* length = root.get("length");
    if (!length)
        return Failure{{1, 1}, "the schedule gives no length (length = \"30m\")"};
    if (auto failure = ReadTime(*length, "length", schedule.length))
        return failure;
    if (schedule.length <= 0.0)
        return Failure{PlaceOf(length->source()), "length must be longer than 0"};
    for (const auto& [key, value] : root) {
        const SourcePlace place = PlaceOf(value.source());
        if (key == "length")
            continue;
        if (key == "name") {
            if (!value.is_string())
                return Failure{place, "name takes a text"};
            schedule.name = value.as_string()->get();
        } else if (key == "program") {
            schedule.programPlace = place;
            if (const auto* i = value.as_integer())
                schedule.program = std::to_string(i->get());
            else if (const auto* s = value.as_string())
                schedule.program = s->get();
            else
                return Failure{place, "program takes a slot number or a piece of a program's name"};
        } else if (key == "start") {
            if (auto failure = ReadStart(value, schedule))
                return failure;
        } else if (key == "step") {
            const auto* steps = value.as_array();
            if (!steps)
                return Failure{place, "steps are written as [[step]] tables"};
            for (const toml::node& step : *steps)
                if (auto failure = ReadStep(step, schedule.length, schedule))
                    return failure;
        } else {
            return Failure{PlaceOf(key.source()), "unknown key \"" + std::string(key.str()) +
                                                      "\" (a schedule has name, program, length, "
                                                      "[start] and [[step]])"};
        }
    }
    return std::nullopt;
}

} // namespace

std::string PlaceText(const std::string& path, SourcePlace place, const std::string& message)
{
    return path + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) + ": " + message;
}

bool ParseSchedule(std::string_view text, const std::string& path, Schedule& schedule, std::string& error)
{
    schedule = Schedule();
    schedule.path = path;
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& e) {
        error = PlaceText(path, PlaceOf(e.source()), std::string(e.description()));
        return false;
    }
    if (auto failure = ReadTable(root, schedule)) {
        error = PlaceText(path, failure->place, failure->message);
        return false;
    }
    return true;
}

bool ReadSchedule(const std::string& path, Schedule& schedule, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the schedule " + path;
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || size > kMaxScheduleBytes) {
        error = path + " is too large for a schedule";
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (!file && size > 0) {
        error = "cannot read the schedule " + path;
        return false;
    }
    return ParseSchedule(content.str(), path, schedule, error);
}

} // namespace render
