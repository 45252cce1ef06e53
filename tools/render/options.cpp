#include "tools/render/options.h"

#include "tessaphon_version.h"
#include "tools/render/preset_file.h"
#include "tools/render/text_folding.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <iostream>

namespace render {

namespace {

constexpr const char* kDescription =
    "tessaphon-render: renders isochronic tones through the Tessaphon plug-in, or processes an audio\n"
    "file through it, and writes the result as WAV, FLAC, Ogg Vorbis or AIFF. The plug-in is loaded\n"
    "exactly as a host loads it.\n\n"
    "Without INPUT the tone is rendered alone for --seconds (default 60). With INPUT (any file\n"
    "libsndfile reads) the tone is mixed into it for the file's length; a mono file stays mono unless\n"
    "--stereo is given. The output format follows OUTPUT's extension; OUTPUT only appears once the\n"
    "render has succeeded.\n";

constexpr const char* kFooter =
    "\nSettings are applied in this order: --load-state, --load-preset, --program (or the schedule's\n"
    "program), the schedule's [start], then each --set; a schedule's steps run on top.\n"
    "PARAM is an index or a name (case ignored): \"Isochronic\" is the pulse rate, \"Isochronic On\"\n"
    "the pulse switch, \"LFO1 Rate\" the note value and \"LFO1 Free Rate\" the rate in ms (likewise\n"
    "LFO2). The older forms Isochronic#1/#2 and LFO1 Rate#1/#2 still work. VALUE is a display text\n"
    "(\"Golden Sine\", \"1/4\", \"On\") or a number in the parameter's range, optionally followed by its\n"
    "unit (\"10.6\", \"10.6 Hz\"); --list-params shows all.\n"
    "\nExamples:\n"
    "  tessaphon-render --program 58 --seconds 1800 -o relaxed.flac\n"
    "  tessaphon-render --program \"schumann resonance\"      (an ambiguous name lists the matches)\n"
    "  tessaphon-render --program 58 --set Wave=\"Golden Sine\" --set \"Base Freq=432\" -o tone.wav\n"
    "  tessaphon-render --set Isochronic=6 --set Mix=30 music.flac -o music-6hz.flac\n"
    "  tessaphon-render --list-programs\n"
    "  tessaphon-render --program 104 --set Pan=-50 --list-params\n"
    "  tessaphon-render --program 58 --set Mix=70 --save-state calm.tst -o take1.wav\n"
    "  tessaphon-render --load-state calm.tst --seconds 600 -o take2.wav   (same samples)\n"
    "  tessaphon-render --schedule examples/theta-descent.toml --fade-out 30s -o theta.flac\n"
    "  tessaphon-render --schedule examples/theta-descent.toml --plot theta.png   (the plan only)\n"
    "  tessaphon-render --program 14-103 --seconds 20m -o 'out/{slot:03} {name}.flac'\n"
    "  tessaphon-render --seconds 10m --format flac -o - | ssh host 'cat > tone.flac'\n"
    "\nThe plug-in is taken from --plugin, else Tessaphon.so beside this program, in ../vst2/ or\n"
    "../lib/vst/ (where it is installed with this program), then the folders in $LXVST_PATH and\n"
    "$VST_PATH, ~/.vst, ~/.lxvst, /usr/lib/vst, /usr/local/lib/vst (and the lxvst variants).\n"
    "\nAn option given twice takes its last value, with a warning; an empty value is refused.\n"
    "Warnings also come for --stereo with a stereo INPUT (nothing to spread) and for --seconds longer\n"
    "than INPUT (the file's length is rendered). A mono output carries the left channel of the tone\n"
    "(Pan moves the tone away from it). The samples depend on --block: give the same block size to\n"
    "reproduce a render.\n"
    "Exit status: 0 done, 1 failed while rendering or on a file, 2 bad command line (unknown program\n"
    "or parameter, value out of range, unknown format, a length under one frame, a file both read and\n"
    "written), 130 interrupted.";

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "tessaphon-render: %s\nRun tessaphon-render --help for the options.\n",
                 message.c_str());
    return kUsageError;
}

} // namespace

ParseResult ParseCommandLine(int argc, const char* const* argv)
{
    ParseResult result;
    RenderOptions& o = result.options;
    CLI::App app(kDescription, "tessaphon-render");
    app.footer(kFooter);
    app.get_formatter()->column_width(30);
    // An option given twice takes its last value, as in most command-line tools.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    std::string secondsText;
    double loudness = 0.0;
    TrackOptionTexts trackTexts;
    std::string bits;
    std::string program;
    int rate = 0;

    app.add_option("INPUT", o.input,
                   "audio file to process, - for standard input (omit to render the tone alone)")
        ->type_name("FILE");
    app.add_option("-o,--output", o.output,
                   "file to write: .wav, .flac, .ogg or .aiff; - for standard output")
        ->type_name("FILE");
    std::string format;
    auto* formatOpt =
        app.add_option("--format", format,
                       "wav, flac, ogg or aiff: the format of -o - (default wav), or in place of "
                       "OUTPUT's extension")
            ->type_name("TYPE");
    auto* secondsOpt = app.add_option("-s,--seconds", secondsText,
                                      "length: seconds, 90s, 30m, 1:30:00 (default 60 s or the schedule's "
                                      "length without INPUT; with INPUT, cuts it)")
                           ->type_name("T");
    app.add_flag("--stereo", o.stereo, "process a mono INPUT as stereo (it goes to both channels)");
    auto* bitsOpt =
        app.add_option("-b,--bits", bits, "16, 24, 32 or float (default 24; not for Ogg)")->type_name("BITS");
    auto* programOpt =
        app.add_option("-p,--program", program, "program slot number, or a piece of its name (case ignored)")
            ->type_name("N|TEXT");
    app.add_option("--set", o.sets, "PARAM=VALUE: set a parameter (repeatable)")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->type_name("PARAM=VALUE");
    auto* rateOpt = app.add_option("-r,--rate", rate, "sample rate in Hz (default 48000, or INPUT's rate)")
                        ->type_name("HZ");
    app.add_option("--block", o.block, "frames per audio call, as a host's buffer size (default 512)")
        ->type_name("FRAMES");
    app.add_option("--tempo", o.tempo, "tempo in BPM the host reports (default 120)")->type_name("BPM");
    app.add_option("--plugin", o.plugin, "the plug-in module to load (default: searched, see below)")
        ->type_name("PATH");
    app.add_flag("--list-programs", o.listPrograms, "print the program slots with their numbers and names");
    app.add_flag("--list-params", o.listParams,
                 "print each parameter: index, name, range, unit and value after --program/--set");
    app.add_option("--save-state", o.saveState, "write the current settings (the plug-in's program chunk)")
        ->type_name("FILE");
    app.add_option("--save-bank", o.saveBank, "write all program slots (the plug-in's bank chunk)")
        ->type_name("FILE");
    app.add_option("--load-state", o.loadState, "read settings or a bank written by --save-state/--save-bank")
        ->type_name("FILE");
    app.add_option("--save-preset", o.savePreset,
                   "write a standard preset file: FILE.fxp the current program, FILE.fxb all slots")
        ->type_name("FILE");
    app.add_option("--load-preset", o.loadPreset, "read a .fxp program or .fxb bank (before --program/--set)")
        ->type_name("FILE");
    app.add_flag("-q,--quiet", o.quiet, "no progress display and no summary");
    AddTrackOptions(app, trackTexts);
    auto* loudnessOpt = app.add_option("--loudness", loudness,
                                       "bring the render to this integrated loudness (EBU R128, e.g. -16), "
                                       "its true peak kept at most -1 dBTP")
                            ->type_name("LUFS");
    app.add_flag("--json", o.json,
                 "print --list-programs, --list-params and the render summary as JSON on stdout");
    app.set_version_flag("--version", std::string("tessaphon-render ") + tessaphon::kVersionText);

    try {
        app.parse(argc, const_cast<char**>(argv));
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        result.kind = ParseResult::Kind::Exit;
        return result;
    } catch (const CLI::CallForVersion&) {
        std::cout << app.version() << "\n";
        result.kind = ParseResult::Kind::Exit;
        return result;
    } catch (const CLI::ParseError& e) {
        result.kind = ParseResult::Kind::Exit;
        result.exitCode = UsageError(e.what());
        return result;
    }

    auto fail = [&](const std::string& message) {
        result.kind = ParseResult::Kind::Exit;
        result.exitCode = UsageError(message);
        return result;
    };
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_items_expected_max() < 1 || option->get_name() == "--set")
            continue;
        const std::vector<std::string> given = option->results();
        for (const std::string& value : given)
            if (Trim(value).empty())
                return fail(option->get_name() + " needs a value, not an empty text");
        if (given.size() > 1)
            result.warnings.push_back(option->get_name() + " given " + std::to_string(given.size()) +
                                      " times; the last one (" + given.back() + ") counts");
    }
    std::string message;
    if (!CheckTrackOptions(trackTexts, o.track, message))
        return fail(message);
    if (secondsOpt->count()) {
        double seconds = 0.0;
        if (!ReadLengthOption("--seconds", secondsText, seconds, message))
            return fail(message);
        if (!std::isfinite(seconds) || seconds <= 0.0 || seconds > 7.0 * 24 * 3600)
            return fail("--seconds takes a length above 0 and at most a week");
        o.seconds = seconds;
    }
    if (bitsOpt->count())
        o.bits = bits;
    if (loudnessOpt->count()) {
        if (!std::isfinite(loudness) || loudness < -70.0 || loudness > 0.0)
            return fail("--loudness takes a loudness from -70 to 0 LUFS");
        o.loudness = loudness;
    }
    if (formatOpt->count()) {
        if (format != "wav" && format != "flac" && format != "ogg" && format != "aiff")
            return fail("--format takes wav, flac, ogg or aiff, not \"" + format + "\"");
        o.format = format;
    }
    if (programOpt->count())
        o.program = program;
    if (rateOpt->count()) {
        if (rate < 8000 || rate > 768000)
            return fail("--rate takes 8000 to 768000 Hz");
        o.rate = rate;
    }
    if (o.block < 1 || o.block > 65536)
        return fail("--block takes 1 to 65536 frames");
    if (!std::isfinite(o.tempo) || o.tempo <= 0.0 || o.tempo > 1000.0)
        return fail("--tempo takes a tempo above 0 and at most 1000 BPM");
    for (const std::string& s : o.sets)
        if (s.find('=') == std::string::npos || Trim(s.substr(0, s.find('='))).empty() ||
            Trim(s.substr(s.find('=') + 1)).empty())
            return fail("--set takes PARAM=VALUE, not \"" + s + "\"");
    if (o.loudness && o.input == "-")
        return fail("--loudness renders twice (once to measure), and standard input can be read only once");
    if (o.output == "-" && o.json)
        return fail("--json prints to standard output, where -o - writes the audio");
    if (o.output == "-" && (o.listPrograms || o.listParams))
        return fail("-o - writes the audio to standard output; list programs or parameters in another run");
    bool bank = false;
    if (!o.savePreset.empty() && !PresetKindOf(o.savePreset, bank))
        return fail("--save-preset writes FILE.fxp (a program) or FILE.fxb (a bank), not " + o.savePreset);
    const bool listing = o.listPrograms || o.listParams || !o.saveState.empty() || !o.saveBank.empty() ||
                         !o.savePreset.empty() || !o.track.plot.empty();
    if (o.output.empty() && !listing)
        return fail(o.input.empty() ? "nothing to do: give -o OUTPUT (or --list-programs, --list-params)"
                                    : "no output file: give -o OUTPUT");
    if (o.output.empty() && !o.input.empty())
        return fail("INPUT given without -o OUTPUT");
    if (o.output.empty() && !o.track.plotDetail.empty())
        return fail("--plot-detail draws the start of a render; give -o OUTPUT");
    if (o.stereo && o.input.empty())
        return fail("--stereo applies to a mono INPUT; the tone alone is always stereo");
    return result;
}

} // namespace render
