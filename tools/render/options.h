#pragma once
// The command line of tessaphon-render, parsed and checked for consistency.
// Nothing here loads the plug-in or touches a file.

#include "tools/render/track_options.h"

#include <optional>
#include <string>
#include <vector>

namespace render {

struct RenderOptions {
    std::string input;                  // empty: render the tone alone
    std::string output;                 // empty: no render (listing or saving state only)
    std::optional<double> seconds;      // default 60 without input, the file's length with one
    bool stereo = false;                // spread a mono input to stereo
    std::optional<std::string> bits;    // "16", "24", "32", "float"
    std::optional<std::string> program; // slot number or piece of a name
    std::vector<std::string> sets;      // "PARAM=VALUE", in order
    std::optional<int> rate;            // default 48000, or the input's rate
    int block = 512;
    double tempo = 120.0;
    std::string plugin; // empty: search the usual places
    bool listPrograms = false;
    bool listParams = false;
    std::string saveState;  // the current settings (program chunk)
    std::string saveBank;   // all program slots (bank chunk)
    std::string loadState;  // either kind
    std::string savePreset; // .fxp: the current program, .fxb: every slot
    std::string loadPreset; // either kind
    bool quiet = false;
    std::optional<std::string>
        format;                     // container for -o - (wav, flac, ogg, aiff), or instead of the extension
    std::optional<double> loudness; // target integrated loudness in LUFS
    bool json = false;              // listings and the render summary as JSON on stdout
    TrackOptions track;             // schedule, fades, preroll, plots
};

constexpr int kDefaultRate = 48000;
constexpr double kDefaultSeconds = 60.0;

struct ParseResult {
    enum class Kind { Run, Exit } kind = Kind::Run;
    int exitCode = 0; // for Exit: 0 after --help or --version, 2 after a usage error
    RenderOptions options;
    std::vector<std::string> warnings; // options given twice and the like; the run goes on
};

// Exit status of a command line the tool cannot act on.
constexpr int kUsageError = 2;

// Parses argv; help and usage errors are printed here (help to stdout, errors
// to stderr) and come back as Exit.
ParseResult ParseCommandLine(int argc, const char* const* argv);

} // namespace render
