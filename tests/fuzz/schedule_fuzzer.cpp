// Schedule files (TOML) as the render tool reads them: any text. A refused
// file must come with a message that names a place in it; a file that is read
// must hold a finite positive length, steps in time order inside it with
// finite, non-negative ramps, and places inside the text.

#include "tests/fuzz/fuzz_host.h"
#include "tools/render/schedule.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition)
        fuzz::Fail(what);
}

int LineCount(std::string_view text)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void RequireInside(render::SourcePlace place, int lines)
{
    Require(place.line >= 1 && place.line <= lines && place.column >= 1, "a place lies outside the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    render::Schedule schedule;
    std::string error;
    if (!render::ParseSchedule(text, "fuzz.toml", schedule, error)) {
        Require(error.rfind("fuzz.toml:", 0) == 0, "a refused schedule has no place in its message");
        return 0;
    }
    const int lines = LineCount(text);
    Require(std::isfinite(schedule.length) && schedule.length > 0.0, "a schedule was read without a length");
    if (schedule.program)
        RequireInside(schedule.programPlace, lines);
    for (const render::ScheduleValue& value : schedule.start)
        RequireInside(value.place, lines);
    double previous = 0.0;
    for (const render::ScheduleStep& step : schedule.steps) {
        RequireInside(step.place, lines);
        Require(std::isfinite(step.at) && std::isfinite(step.over) && step.over >= 0.0,
                "a step was read with a time that is not a finite number");
        Require(step.at >= previous, "steps were read out of time order");
        Require(step.at + step.over <= schedule.length, "a step was read that ends after the length");
        for (const render::ScheduleValue& value : step.values)
            RequireInside(value.place, lines);
        previous = step.at;
    }
    return 0;
}
