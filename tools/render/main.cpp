// tessaphon-render: the command-line host. It reads the command line, loads
// the plug-in through its entry point, applies the requested settings and
// renders the tone alone or mixed into an input file.

#include "tools/render/audio_file.h"
#include "tools/render/options.h"
#include "tools/render/pending_file.h"
#include "tools/render/plugin_session.h"
#include "tools/render/preset_file.h"
#include "tools/render/progress.h"
#include "tools/render/render_pipeline.h"
#include "tools/render/terminal.h"
#include "tools/render/text_folding.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <iterator>

namespace {

using namespace render;

constexpr int kFailed = 1;
constexpr int kInterrupted = 130;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "tessaphon-render: %s\n", message.c_str());
    return kFailed;
}

void PrintPrograms(PluginSession& session)
{
    const std::vector<std::string> names = session.ProgramNames();
    for (std::size_t slot = 0; slot < names.size(); ++slot)
        std::printf("%3zu  %s\n", slot, names[slot].c_str());
}

void PrintParameters(PluginSession& session)
{
    host::PluginInstance& plugin = session.Plugin();
    std::printf("%3s  %-14s %-14s %-4s %s\n", "idx", "name", "value", "unit", "range");
    for (const ParameterInfo& p : session.Parameters()) {
        const std::string name = p.name.empty() ? "(unnamed)" : p.reference;
        const std::string value = plugin.ParamDisplay(p.index);
        std::printf("%3d  %-14s %-14s %-4s %s\n", p.index, name.c_str(), value.c_str(), p.label.c_str(),
                    p.RangeText().c_str());
    }
}

std::string ChannelsText(int channels)
{
    return channels == 1 ? "mono" : "stereo";
}

int Usage(const std::string& message)
{
    std::fprintf(stderr, "tessaphon-render: %s\n", message.c_str());
    return kUsageError;
}

void Warn(const std::string& message)
{
    std::fprintf(stderr, "tessaphon-render: warning: %s\n", message.c_str());
}

// Settles a setting's outcome: 0 when done, else the exit status after the message.
int Settle(Outcome outcome, const std::string& error)
{
    if (outcome == Outcome::Done)
        return 0;
    return outcome == Outcome::BadRequest ? Usage(error) : Fail(error);
}

struct NamedPath {
    const char* option;
    std::string path;
};

// Every file written must differ from every file read and from each other,
// however it is spelt or linked; the message names the clash.
bool PathsAreDistinct(const RenderOptions& o, std::string& error)
{
    const NamedPath written[] = {{"-o", o.output},
                                 {"--save-state", o.saveState},
                                 {"--save-bank", o.saveBank},
                                 {"--save-preset", o.savePreset}};
    const NamedPath read[] = {{"INPUT", o.input},
                              {"--load-state", o.loadState},
                              {"--load-preset", o.loadPreset},
                              {"--plugin", o.plugin}};
    for (std::size_t w = 0; w < std::size(written); ++w) {
        if (written[w].path.empty())
            continue;
        for (const NamedPath& r : read) {
            if (!r.path.empty() && SameFile(written[w].path, r.path)) {
                error = std::string(written[w].option) + " " + written[w].path +
                        " would replace the file read by " + r.option + "; choose another name";
                return false;
            }
        }
        for (std::size_t other = w + 1; other < std::size(written); ++other) {
            if (!written[other].path.empty() && SameFile(written[w].path, written[other].path)) {
                error = std::string(written[w].option) + " and " + written[other].option +
                        " name the same file " + written[w].path + "; give each its own name";
                return false;
            }
        }
    }
    return true;
}

std::string NumberText(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string SecondsText(std::int64_t frames, int rate)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(frames) / rate);
    return text;
}

// What was rendered, in the words of the command line.
std::string SettingsText(PluginSession& session, const RenderOptions& o)
{
    std::string text;
    if (!o.loadState.empty() && !o.program)
        text = "state from " + o.loadState;
    else if (!o.loadPreset.empty() && !o.program)
        text = "preset from " + o.loadPreset;
    else if (session.CurrentProgramIsEmpty())
        text = "program " + std::to_string(session.CurrentProgram()) + " (an empty slot)";
    else
        text = "program " + std::to_string(session.CurrentProgram()) + " \"" + session.CurrentProgramName() +
               "\"";
    const std::vector<std::string> changes = session.Changes();
    for (std::size_t i = 0; i < changes.size(); ++i)
        text += (i == 0 ? ", changed: " : ", ") + changes[i];
    return text;
}

// The files asked for by --save-state, --save-bank and --save-preset, with
// the bytes they get. Taken before the render, written only after it.
struct PendingSave {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

std::vector<PendingSave> CollectSaves(PluginSession& session, const RenderOptions& o)
{
    std::vector<PendingSave> saves;
    if (!o.saveState.empty())
        saves.push_back({o.saveState, session.StateBytes(false)});
    if (!o.saveBank.empty())
        saves.push_back({o.saveBank, session.StateBytes(true)});
    bool bank = false;
    if (!o.savePreset.empty() && PresetKindOf(o.savePreset, bank))
        saves.push_back({o.savePreset, session.PresetBytes(bank)});
    return saves;
}

bool WriteSaves(const std::vector<PendingSave>& saves, std::string& error)
{
    for (const PendingSave& save : saves) {
        if (save.bytes.empty()) {
            error = "the plug-in gave nothing to write to " + save.path;
            return false;
        }
        std::unique_ptr<PendingFile> file = PendingFile::Create(save.path, error);
        if (!file || !file->Write(save.bytes, error) || !file->Commit(error))
            return false;
    }
    return true;
}

// Applies the settings in their order (state, preset, program, parameters)
// and lists what was asked for; 0, or the exit status after the message.
int ApplySettings(PluginSession& session, const RenderOptions& o)
{
    std::string error;
    if (o.listPrograms)
        PrintPrograms(session);
    if (!o.loadState.empty() && !session.LoadState(o.loadState, error))
        return Fail(error);
    if (!o.loadPreset.empty() && !session.LoadPreset(o.loadPreset, error))
        return Fail(error);
    if (o.program)
        if (const int status = Settle(session.SelectProgram(*o.program, error), error))
            return status;
    for (const std::string& assignment : o.sets)
        if (const int status = Settle(session.Set(assignment, error), error))
            return status;
    if (o.listParams)
        PrintParameters(session);
    return 0;
}

// What the render found wrong with its input file.
void WarnAboutInput(const InputFile& input, const std::string& path, const RenderOutcome& outcome, int rate)
{
    if (outcome.nonFiniteInput > 0)
        Warn(path + " holds " + std::to_string(outcome.nonFiniteInput) +
             " samples that are not numbers (NaN or infinite), the first at frame " +
             std::to_string(outcome.firstNonFiniteFrame) + " (" +
             SecondsText(outcome.firstNonFiniteFrame, rate) + "); they were rendered as silence");
    if (outcome.inputEndedEarly || input.AnnouncedFrames() > input.Frames())
        Warn(path + " is shorter than its header says: " +
             SecondsText(std::max(input.AnnouncedFrames(), input.Frames()), rate) + " announced, " +
             SecondsText(outcome.inputEndedEarly ? outcome.frames : input.Frames(), rate) +
             " present; the file may be damaged or still being written");
}

int Run(int argc, const char* const* argv)
{
    const ParseResult parsed = ParseCommandLine(argc, argv);
    if (parsed.kind == ParseResult::Kind::Exit)
        return parsed.exitCode;
    const RenderOptions& o = parsed.options;
    for (const std::string& warning : parsed.warnings)
        Warn(warning);
    CatchInterrupts();
    std::string error;

    // Everything about the files is checked before the plug-in is loaded.
    if (!PathsAreDistinct(o, error))
        return Usage(error);
    std::unique_ptr<InputFile> input;
    int rate = o.rate.value_or(kDefaultRate);
    int channels = 2;
    if (!o.input.empty()) {
        input = InputFile::Open(o.input, error);
        if (!input)
            return Fail(error);
        if (o.rate && *o.rate != input->Rate())
            return Usage(o.input + " is at " + std::to_string(input->Rate()) +
                         " Hz but the output is to be at " + std::to_string(*o.rate) +
                         " Hz; tessaphon-render does not resample (leave out --rate to "
                         "keep the input's rate)");
        rate = input->Rate();
        if (input->Channels() > 2)
            return Fail(o.input + " has " + std::to_string(input->Channels()) +
                        " channels; the plug-in processes mono or stereo");
        if (o.stereo && input->Channels() == 2)
            Warn("--stereo has no effect: " + o.input + " is stereo already");
        channels = input->Channels() == 1 && !o.stereo ? 1 : 2;
    }
    OutputFormat format;
    if (!o.output.empty() && !ChooseOutputFormat(o.output, o.bits, format, error))
        return Usage(error);
    if (o.output.empty() && o.bits)
        return Usage("--bits applies to an output file; give -o OUTPUT");
    if (!o.output.empty() && !CheckFormatLimits(format, rate, channels, error))
        return Usage(error);

    std::int64_t frames = static_cast<std::int64_t>(std::llround(o.seconds.value_or(kDefaultSeconds) * rate));
    if (o.seconds && frames < 1)
        return Usage("--seconds " + NumberText(*o.seconds) + " asks for less than one frame at " +
                     std::to_string(rate) + " Hz" + (input ? " (the rate of " + o.input + ")" : "") +
                     "; give at least " + NumberText(1.0 / rate) + " s");
    if (input) {
        if (input->Frames() <= 0)
            return Fail(o.input + " holds no audio");
        if (o.seconds && frames > input->Frames())
            Warn("--seconds " + SecondsText(frames, rate) + " is longer than " + o.input + " (" +
                 SecondsText(input->Frames(), rate) + "); its whole length is rendered");
        frames = o.seconds ? std::min(frames, input->Frames()) : input->Frames();
    }

    std::unique_ptr<PluginSession> session =
        PluginSession::Open(o.plugin, static_cast<double>(rate), o.block, o.tempo, error);
    if (!session)
        return Fail(error);

    if (const int status = ApplySettings(*session, o))
        return status;
    const std::vector<PendingSave> saves = CollectSaves(*session, o);
    if (o.output.empty()) {
        if (!WriteSaves(saves, error))
            return Fail(error);
        return 0;
    }

    if (!FitLength(format, frames, channels, error))
        return Fail(error);

    // The output file object goes before the pending file, which then
    // removes the unfinished file on every early return.
    std::unique_ptr<PendingFile> pending = PendingFile::Create(o.output, error);
    if (!pending)
        return Fail(error);
    std::unique_ptr<OutputFile> output =
        OutputFile::Open(pending->Descriptor(), o.output, format, rate, channels, error);
    if (!output)
        return Fail(error);

    session->StartProcessing(channels);
    RenderSetup setup;
    setup.channels = channels;
    setup.spreadMono = o.stereo;
    setup.block = o.block;
    setup.frames = frames;
    setup.trackPeak = format.integer;
    ProgressDisplay progress(!o.quiet && StderrIsTerminal(), frames, rate);
    const RenderOutcome outcome =
        RenderToFile(session->Plugin(), session->Host(), input.get(), *output, setup, progress);
    progress.Finish();
    if (outcome.interrupted) {
        std::fprintf(stderr, "tessaphon-render: interrupted; %s was not written\n", o.output.c_str());
        return kInterrupted;
    }
    if (!outcome.ok)
        return Fail(outcome.error + "; " + o.output + " was not written");
    if (!output->Close(error) || !pending->Commit(error))
        return Fail(error);
    if (!WriteSaves(saves, error))
        return Fail(error);

    if (input)
        WarnAboutInput(*input, o.input, outcome, rate);
    if (outcome.peak > 1.0f)
        std::fprintf(stderr,
                     "tessaphon-render: warning: the signal peaks at %.1f dBFS and was clipped in %s; "
                     "lower Mix or use --bits float\n",
                     20.0 * std::log10(outcome.peak), format.description.c_str());
    if (!o.quiet) {
        const double elapsed = progress.ElapsedSeconds();
        const double seconds = static_cast<double>(outcome.frames) / rate;
        std::fprintf(
            stderr, "tessaphon-render: wrote %s: %.1f s, %d Hz, %s, %s, %s (%.2f s, %.0fx real time)\n",
            o.output.c_str(), seconds, rate, ChannelsText(channels).c_str(), format.description.c_str(),
            SettingsText(*session, o).c_str(), elapsed, elapsed > 0.0 ? seconds / elapsed : 0.0);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        return Fail(std::string("internal error: ") + e.what());
    } catch (...) {
        return Fail("internal error");
    }
}
