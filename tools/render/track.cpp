#include "tools/render/track.h"

#include "tools/render/pending_file.h"
#include "tools/render/plugin_session.h"
#include "tools/render/start_and_end.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// Points per curve of the schedule plot: more than its width in pixels, so
// steps show as upright lines.
constexpr int kPlotPoints = 2400;

// The index of the parameter called name, or -1.
int IndexOf(PluginSession& session, const std::string& name)
{
    std::string ignored;
    const ParameterInfo* p = FindParameter(session.Parameters(), name, ignored);
    return p ? p->index : -1;
}

double ValueOf(const std::vector<double>& values, int index, double otherwise)
{
    return index >= 0 && static_cast<std::size_t>(index) < values.size()
               ? values[static_cast<std::size_t>(index)]
               : otherwise;
}

PlotCurve Sample(const SchedulePlan& plan, int index, double length)
{
    PlotCurve curve;
    if (index < 0)
        return curve;
    for (int i = 0; i <= kPlotPoints; ++i) {
        const double t = length * i / kPlotPoints;
        curve.seconds.push_back(t);
        curve.values.push_back(plan.ValueAt(index, t));
    }
    return curve;
}

} // namespace

bool SelectScheduleProgram(PluginSession& session, const Schedule& schedule, std::string& error)
{
    if (!schedule.program)
        return true;
    std::string message;
    if (session.SelectProgram(*schedule.program, message) == Outcome::Done)
        return true;
    error = PlaceText(schedule.path, schedule.programPlace, message);
    return false;
}

bool PlanSchedule(PluginSession& session, const Schedule& schedule, SchedulePlan& plan, std::string& error)
{
    if (!plan.Build(schedule, session.Parameters(), error))
        return false;
    for (const StartSetting& setting : plan.Start()) {
        std::string message;
        if (session.Set(std::to_string(setting.param->index) + "=" + setting.text, message) !=
            Outcome::Done) {
            error = schedule.path + ": " + message;
            return false;
        }
    }
    return true;
}

std::vector<double> CurrentValues(PluginSession& session)
{
    std::vector<double> values;
    for (const ParameterInfo& p : session.Parameters())
        values.push_back(ValueNumber(p, session.Plugin().ParamDisplay(p.index)));
    return values;
}

std::int64_t DefaultPrerollFrames(PluginSession& session, const std::vector<double>& values, int rate,
                                  int block)
{
    const double fadeMs = ValueOf(values, IndexOf(session, "Fade"), 1000.0);
    return SettledGlideFrames(fadeMs, rate, block);
}

std::int64_t PulsePeriodFrames(PluginSession& session, const std::vector<double>& values, int rate)
{
    const double pulse = ValueOf(values, IndexOf(session, "Isochronic"), 1.0);
    return static_cast<std::int64_t>(std::ceil(rate / std::max(pulse, 1.0)));
}

int CarrierPeriodFrames(PluginSession& session, const std::vector<double>& values, int rate)
{
    const double carrier = ValueOf(values, IndexOf(session, "Base Freq"), 200.0);
    return static_cast<int>(std::ceil(rate / std::max(carrier, 20.0)));
}

SchedulePlot MakeSchedulePlot(PluginSession& session, const SchedulePlan& plan, double length,
                              const std::string& title)
{
    SchedulePlot plot;
    plot.title = title;
    plot.length = length;
    plot.pulse = Sample(plan, IndexOf(session, "Isochronic"), length);
    plot.carrier = Sample(plan, IndexOf(session, "Base Freq"), length);
    plot.mix = Sample(plan, IndexOf(session, "Mix"), length);
    return plot;
}

bool WritePlotFile(const std::string& path, const std::string& bytes, std::string& error)
{
    std::unique_ptr<PendingFile> file = PendingFile::Create(path, error);
    const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    if (file && file->Write(data, error) && file->Commit(error))
        return true;
    error = "cannot write the plot " + path + ": " + error;
    return false;
}

} // namespace render
