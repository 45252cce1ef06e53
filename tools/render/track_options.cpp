#include "tools/render/track_options.h"

#include "tools/render/plot.h"
#include "tools/render/time_text.h"

#include <CLI/CLI.hpp>

namespace render {

namespace {

// Fades and the preroll are parts of a track, never longer than a day.
constexpr double kMaxEdgeSeconds = 24.0 * 3600.0;

bool CheckPlotPath(const std::string& option, const std::string& path, std::string& error)
{
    PlotFormat format;
    if (path.empty() || PlotFormatFor(path, format))
        return true;
    error = option + " writes .png or .svg, not " + path;
    return false;
}

} // namespace

void AddTrackOptions(CLI::App& app, TrackOptionTexts& texts)
{
    app.add_option("--schedule", texts.schedule,
                   "TOML file: settings to start from and timed steps and ramps (see the README)")
        ->type_name("FILE");
    app.add_option("--fade-in", texts.fadeIn, "fade the output in over T (equal power)")->type_name("T");
    app.add_option("--fade-out", texts.fadeOut, "fade the output out over T (equal power)")->type_name("T");
    app.add_option("--preroll", texts.preroll,
                   "run the plug-in for T before the first written frame (default without INPUT: until its "
                   "start-up glide has settled; 0: none)")
        ->type_name("T");
    app.add_option("--plot", texts.plot, "draw the schedule (pulse rate, carrier, mix) as .png or .svg")
        ->type_name("FILE");
    app.add_option("--plot-detail", texts.plotDetail,
                   "draw the envelope of the first seconds as .png or .svg")
        ->type_name("FILE");
}

bool ReadLengthOption(const std::string& option, const std::string& text, double& seconds, std::string& error)
{
    std::string why;
    if (!ReadDuration(text, seconds, why)) {
        error = option + ": " + why;
        return false;
    }
    return true;
}

bool CheckTrackOptions(const TrackOptionTexts& texts, TrackOptions& options, std::string& error)
{
    options.schedule = texts.schedule;
    options.plot = texts.plot;
    options.plotDetail = texts.plotDetail;
    struct Edge {
        const char* option;
        const std::string& text;
        double& seconds;
    };
    double preroll = 0.0;
    const Edge edges[] = {{"--fade-in", texts.fadeIn, options.fadeIn},
                          {"--fade-out", texts.fadeOut, options.fadeOut},
                          {"--preroll", texts.preroll, preroll}};
    for (const Edge& edge : edges) {
        if (edge.text.empty())
            continue;
        if (!ReadLengthOption(edge.option, edge.text, edge.seconds, error))
            return false;
        if (edge.seconds > kMaxEdgeSeconds) {
            error = std::string(edge.option) + " takes at most a day";
            return false;
        }
    }
    if (!texts.preroll.empty())
        options.preroll = preroll;
    return CheckPlotPath("--plot", texts.plot, error) &&
           CheckPlotPath("--plot-detail", texts.plotDetail, error);
}

} // namespace render
