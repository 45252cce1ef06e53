#pragma once
// The steps of a render over time that need the loaded plug-in: the
// schedule's program and start settings, its plan, the preroll's default
// length and the plots. main.cpp calls them in the order of a render.

#include "tools/render/plot.h"
#include "tools/render/schedule.h"
#include "tools/render/schedule_plan.h"

#include <cstdint>
#include <string>
#include <vector>

namespace render {

class PluginSession;

// Selects the schedule's program; a message naming the file's line otherwise.
bool SelectScheduleProgram(PluginSession& session, const Schedule& schedule, std::string& error);

// Checks the schedule against the plug-in's parameters and applies its
// [start] settings.
bool PlanSchedule(PluginSession& session, const Schedule& schedule, SchedulePlan& plan, std::string& error);

// Every parameter's current value as a number (a choice as its value).
std::vector<double> CurrentValues(PluginSession& session);

// Frames to run before the first written frame by default: until the glide
// of pitch and pulse rate that follows the plug-in's start has settled.
std::int64_t DefaultPrerollFrames(PluginSession& session, const std::vector<double>& values, int rate,
                                  int block);

// Frames of one pulse period at the start of the render (the longest the
// preroll waits for a pulse to begin), at most a second.
std::int64_t PulsePeriodFrames(PluginSession& session, const std::vector<double>& values, int rate);

// The curves of the schedule plot, sampled from the plan over length.
SchedulePlot MakeSchedulePlot(PluginSession& session, const SchedulePlan& plan, double length,
                              const std::string& title);

// The frames of one carrier period at the start (the detail plot's envelope window).
int CarrierPeriodFrames(PluginSession& session, const std::vector<double>& values, int rate);

// Writes a drawn plot to path, atomically; false with a message.
bool WritePlotFile(const std::string& path, const std::string& bytes, std::string& error);

} // namespace render
