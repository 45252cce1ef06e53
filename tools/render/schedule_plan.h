#pragma once
// A schedule checked against the plug-in's parameters and turned into one
// course per parameter it changes: the value at any time, from the value the
// parameter has when the render starts through each set and ramp.

#include "tools/render/parameter_lookup.h"
#include "tools/render/schedule.h"

#include <cstddef>
#include <string>
#include <vector>

namespace render {

// One change of one parameter: a set (start == end) or a ramp.
struct PlannedChange {
    double start = 0.0; // seconds
    double end = 0.0;
    double from = 0.0; // filled in by SchedulePlan::Begin
    double to = 0.0;
    RampCurve curve = RampCurve::Linear;
};

struct ParameterCourse {
    const ParameterInfo* param = nullptr;
    std::vector<PlannedChange> changes; // in time order, never overlapping

    // The value at seconds; cursor remembers where the last call was, so
    // calls with rising times cost nothing extra (start it at 0).
    double ValueAt(double seconds, std::size_t& cursor, double initial) const;
};

// A [start] entry resolved: the parameter and the text the plug-in receives.
struct StartSetting {
    const ParameterInfo* param = nullptr;
    std::string text;
};

class SchedulePlan {
public:
    // Checks every name and value of schedule against params (which must
    // outlive the plan): known parameters, values in range, no ramp on a list
    // or switch, exponential ramps only over positive ranges, no change of a
    // parameter while a ramp of it runs. False with a message naming the
    // file's line and column.
    bool Build(const Schedule& schedule, const std::vector<ParameterInfo>& params, std::string& error);

    const std::vector<StartSetting>& Start() const { return start; }
    const std::vector<ParameterCourse>& Courses() const { return courses; }

    // Takes each parameter's value as the render starts (indexed by
    // parameter index), and with it the value each ramp starts from.
    void Begin(const std::vector<double>& values);

    // The planned value of parameter index at seconds (for plots).
    double ValueAt(int index, double seconds) const;

private:
    std::vector<StartSetting> start;
    std::vector<ParameterCourse> courses;
    std::vector<double> initial;
};

// A value of param as the text the plug-in reads: the choice's display text,
// or the number with the parameter's decimals.
std::string ValueText(const ParameterInfo& param, double value);

// The number a valid value text (from ValueTextFor) stands for: the number
// itself, or for a choice its value.
double ValueNumber(const ParameterInfo& param, const std::string& text);

} // namespace render
