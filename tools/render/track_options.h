#pragma once
// The command-line options that shape a render over time: a schedule, fades,
// the preroll and plots. Defined here and added to the command line by
// options.cpp; checked before anything is loaded or written.

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace render {

struct TrackOptions {
    std::string schedule;          // TOML schedule file
    double fadeIn = 0.0;           // seconds
    double fadeOut = 0.0;          // seconds
    std::optional<double> preroll; // seconds; unset: the default for the render
    std::string plot;              // .png or .svg of the schedule
    std::string plotDetail;        // .png or .svg of the first seconds of the envelope
};

// The option texts as given, before checking.
struct TrackOptionTexts {
    std::string schedule;
    std::string fadeIn;
    std::string fadeOut;
    std::string preroll;
    std::string plot;
    std::string plotDetail;
};

void AddTrackOptions(CLI::App& app, TrackOptionTexts& texts);

// Checks and converts the texts; false with a message for a usage error.
bool CheckTrackOptions(const TrackOptionTexts& texts, TrackOptions& options, std::string& error);

// Reads a length option's value: a time as --seconds takes it.
bool ReadLengthOption(const std::string& option, const std::string& text, double& seconds,
                      std::string& error);

} // namespace render
