#include "tools/render/schedule_automation.h"

#include "host/plugin_host.h"

#include <cmath>

namespace render {

ScheduleAutomation::ScheduleAutomation(const SchedulePlan& plan, const std::vector<double>& startValues,
                                       host::PluginInstance& instance, double sampleRate)
    : plugin(instance), rate(sampleRate)
{
    for (const ParameterCourse& course : plan.Courses()) {
        const std::size_t index = static_cast<std::size_t>(course.param->index);
        const double initial = index < startValues.size() ? startValues[index] : 0.0;
        tracks.push_back({&course, initial, 0, Steps(*course.param, initial)});
    }
}

long long ScheduleAutomation::Steps(const ParameterInfo& param, double value) const
{
    const double scale = param.HasChoices() ? 1.0 : std::pow(10.0, param.decimals);
    return std::llround(value * scale);
}

void ScheduleAutomation::Send(const ParameterInfo& param, double value)
{
    const std::string text = ValueText(param, value);
    double normalized = 0.0;
    if (plugin.NormalizedForText(param.index, text, normalized))
        plugin.SetParameter(param.index, static_cast<float>(normalized));
    else
        plugin.StringToParameter(param.index, text);
}

void ScheduleAutomation::BeforeBlock(std::int64_t frame)
{
    const double seconds = static_cast<double>(frame) / rate;
    for (Track& track : tracks) {
        const double value = track.course->ValueAt(seconds, track.cursor, track.initial);
        const long long steps = Steps(*track.course->param, value);
        if (steps == track.lastSent)
            continue;
        track.lastSent = steps;
        Send(*track.course->param, value);
    }
}

} // namespace render
