#include "tools/render/schedule_plan.h"

#include "tools/render/text_folding.h"
#include "tools/render/time_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace render {

namespace {

struct Resolved {
    const ParameterInfo* param = nullptr;
    std::string text;
};

bool Resolve(const std::vector<ParameterInfo>& params, const Schedule& schedule, const ScheduleValue& value,
             Resolved& resolved, std::string& error)
{
    std::string message;
    resolved.param = FindParameter(params, value.key, message);
    if (!resolved.param || !ValueTextFor(*resolved.param, value.text, resolved.text, message)) {
        error = PlaceText(schedule.path, value.place, message);
        return false;
    }
    return true;
}

// What a step may do to a parameter, given what earlier steps did to it.
struct Occupation {
    double lastTouch = -1.0;
    double busyUntil = -1.0;
    int line = 0;
};

bool CheckRamp(const Schedule& schedule, const ScheduleStep& step, const ScheduleValue& value,
               const Resolved& r, std::string& error)
{
    const ParameterInfo& p = *r.param;
    if (p.HasChoices()) {
        error = PlaceText(schedule.path, value.place,
                          "\"" + p.reference + "\" is a list of choices; it can be set but not ramped");
        return false;
    }
    if (step.curve == RampCurve::Exponential && p.min <= 0.0) {
        error = PlaceText(schedule.path, step.curvePlace,
                          "an exponential ramp needs a range above 0; \"" + p.reference + "\" reaches " +
                              ValueText(p, p.min));
        return false;
    }
    return true;
}

} // namespace

double ParameterCourse::ValueAt(double seconds, std::size_t& cursor, double initial) const
{
    if (changes.empty() || seconds < changes.front().start)
        return initial;
    if (cursor >= changes.size() || changes[cursor].start > seconds)
        cursor = 0;
    while (cursor + 1 < changes.size() && changes[cursor + 1].start <= seconds)
        ++cursor;
    const PlannedChange& c = changes[cursor];
    if (seconds >= c.end)
        return c.to;
    const double share = (seconds - c.start) / (c.end - c.start);
    if (c.curve == RampCurve::Exponential)
        return c.from * std::pow(c.to / c.from, share);
    return c.from + (c.to - c.from) * share;
}

bool SchedulePlan::Build(const Schedule& schedule, const std::vector<ParameterInfo>& params,
                         std::string& error)
{
    start.clear();
    courses.clear();
    for (const ScheduleValue& value : schedule.start) {
        Resolved r;
        if (!Resolve(params, schedule, value, r, error))
            return false;
        start.push_back({r.param, r.text});
    }
    std::map<int, Occupation> occupied;
    std::map<int, std::size_t> courseOf;
    for (const ScheduleStep& step : schedule.steps) {
        for (const ScheduleValue& value : step.values) {
            Resolved r;
            if (!Resolve(params, schedule, value, r, error))
                return false;
            Occupation& o = occupied[r.param->index];
            if (step.at < o.busyUntil || step.at == o.lastTouch) {
                const bool ramping = step.at < o.busyUntil;
                error = PlaceText(schedule.path, value.place,
                                  "\"" + r.param->reference + "\" is " +
                                      (ramping ? "still ramping at " + DurationText(step.at) +
                                                     " (the ramp of line " + std::to_string(o.line) +
                                                     " ends at " + DurationText(o.busyUntil) + ")"
                                               : "already changed at " + DurationText(step.at) + " by line " +
                                                     std::to_string(o.line)));
                return false;
            }
            if (step.over > 0.0 && !CheckRamp(schedule, step, value, r, error))
                return false;
            o = {step.at, step.at + step.over, value.place.line};
            auto [it, added] = courseOf.emplace(r.param->index, courses.size());
            if (added)
                courses.push_back({r.param, {}});
            PlannedChange change;
            change.start = step.at;
            change.end = step.at + step.over;
            change.to = ValueNumber(*r.param, r.text);
            change.curve = step.curve;
            courses[it->second].changes.push_back(change);
        }
    }
    return true;
}

void SchedulePlan::Begin(const std::vector<double>& values)
{
    initial = values;
    for (ParameterCourse& course : courses) {
        const std::size_t index = static_cast<std::size_t>(course.param->index);
        double previous = index < values.size() ? values[index] : 0.0;
        for (PlannedChange& change : course.changes) {
            change.from = previous;
            previous = change.to;
        }
    }
}

double SchedulePlan::ValueAt(int index, double seconds) const
{
    const double first =
        static_cast<std::size_t>(index) < initial.size() ? initial[static_cast<std::size_t>(index)] : 0.0;
    for (const ParameterCourse& course : courses) {
        if (course.param->index != index)
            continue;
        std::size_t cursor = 0;
        return course.ValueAt(seconds, cursor, first);
    }
    return first;
}

std::string ValueText(const ParameterInfo& param, double value)
{
    if (param.HasChoices()) {
        const long k = std::lround(value) - param.firstChoice;
        if (k >= 0 && static_cast<std::size_t>(k) < param.choices.size())
            return param.choices[static_cast<std::size_t>(k)];
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", param.decimals, value);
    return text;
}

double ValueNumber(const ParameterInfo& param, const std::string& text)
{
    if (param.HasChoices()) {
        for (std::size_t k = 0; k < param.choices.size(); ++k)
            if (param.choices[k] == text)
                return param.firstChoice + static_cast<double>(k);
    }
    double v = 0.0;
    ReadNumber(text, v);
    return v;
}

} // namespace render
