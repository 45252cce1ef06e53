#pragma once
// Plays a schedule into the plug-in as a host plays automation: before each
// block, every parameter the schedule changes gets its value for the block's
// start time through the plug-in's parameter interface (a normalised
// position, as hosts send it). A value is sent only when it differs, at the
// parameter's own resolution, from the last one sent; the plug-in treats a
// repeated value as no change, so the samples are those of a host that sends
// every block.

#include "tools/render/schedule_plan.h"

#include <cstdint>
#include <vector>

namespace host {
class PluginInstance;
}

namespace render {

class ScheduleAutomation {
public:
    // The plan must have begun (SchedulePlan::Begin) and outlive this object.
    ScheduleAutomation(const SchedulePlan& plan, const std::vector<double>& startValues,
                       host::PluginInstance& plugin, double rate);

    // Sends the values for the block starting at frame (counted from the
    // first written frame).
    void BeforeBlock(std::int64_t frame);

private:
    struct Track {
        const ParameterCourse* course;
        double initial;
        std::size_t cursor = 0;
        long long lastSent; // value in steps of the parameter's resolution
    };
    long long Steps(const ParameterInfo& param, double value) const;
    void Send(const ParameterInfo& param, double value);

    host::PluginInstance& plugin;
    double rate;
    std::vector<Track> tracks;
};

} // namespace render
