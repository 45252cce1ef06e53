// tessaphon-render: the command-line host. It reads the command line, loads
// the plug-in through its entry point, applies the requested settings and
// renders the tone alone or mixed into an input file.

#include "tools/render/audio_file.h"
#include "tools/render/options.h"
#include "tools/render/pending_file.h"
#include "tools/render/plugin_session.h"
#include "tools/render/progress.h"
#include "tools/render/render_pipeline.h"
#include "tools/render/terminal.h"
#include "tools/render/text_encoding.h"

#include <cmath>
#include <cstdio>
#include <exception>

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
        const std::string name = p.name.empty() ? "(unnamed)" : Windows1252ToUtf8(p.reference);
        const std::string value = Windows1252ToUtf8(plugin.ParamDisplay(p.index));
        std::printf("%3d  %-14s %-14s %-4s %s\n", p.index, name.c_str(), value.c_str(), p.label.c_str(),
                    p.RangeText().c_str());
    }
}

std::string ChannelsText(int channels)
{
    return channels == 1 ? "mono" : "stereo";
}

int Run(int argc, const char* const* argv)
{
    const ParseResult parsed = ParseCommandLine(argc, argv);
    if (parsed.kind == ParseResult::Kind::Exit)
        return parsed.exitCode;
    const RenderOptions& o = parsed.options;
    CatchInterrupts();
    std::string error;

    // Everything about the files is checked before the plug-in is loaded.
    std::unique_ptr<InputFile> input;
    int rate = o.rate.value_or(kDefaultRate);
    int channels = 2;
    if (!o.input.empty()) {
        input = InputFile::Open(o.input, error);
        if (!input)
            return Fail(error);
        if (o.rate && *o.rate != input->Rate())
            return Fail(o.input + " is at " + std::to_string(input->Rate()) +
                        " Hz but the output is to be at " + std::to_string(*o.rate) +
                        " Hz; tessaphon-render does not resample (leave out --rate to "
                        "keep the input's rate)");
        rate = input->Rate();
        if (input->Channels() > 2)
            return Fail(o.input + " has " + std::to_string(input->Channels()) +
                        " channels; the plug-in processes mono or stereo");
        channels = input->Channels() == 1 && !o.stereo ? 1 : 2;
        if (!o.output.empty() && SameFile(o.input, o.output))
            return Fail("the output would replace the input " + o.input + "; choose another output name");
    }
    OutputFormat format;
    if (!o.output.empty() && !ChooseOutputFormat(o.output, o.bits, format, error))
        return Fail(error);
    if (o.output.empty() && o.bits)
        return Fail("--bits applies to an output file; give -o OUTPUT");

    std::unique_ptr<PluginSession> session =
        PluginSession::Open(o.plugin, static_cast<double>(rate), o.block, o.tempo, error);
    if (!session)
        return Fail(error);

    if (o.listPrograms)
        PrintPrograms(*session);
    if (!o.loadState.empty() && !session->LoadState(o.loadState, error))
        return Fail(error);
    if (o.program && !session->SelectProgram(*o.program, error))
        return Fail(error);
    for (const std::string& assignment : o.sets)
        if (!session->Set(assignment, error))
            return Fail(error);
    if (o.listParams)
        PrintParameters(*session);
    if (!o.saveState.empty() && !session->SaveState(o.saveState, false, error))
        return Fail(error);
    if (!o.saveBank.empty() && !session->SaveState(o.saveBank, true, error))
        return Fail(error);
    if (o.output.empty())
        return 0;

    std::int64_t frames = static_cast<std::int64_t>(std::llround(o.seconds.value_or(kDefaultSeconds) * rate));
    if (input) {
        frames = o.seconds ? std::min(frames, input->Frames()) : input->Frames();
        if (frames <= 0)
            return Fail(o.input + " holds no audio");
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

    if (outcome.peak > 1.0f)
        std::fprintf(stderr,
                     "tessaphon-render: warning: the signal peaks at %.1f dBFS and was clipped in %s; "
                     "lower Mix or use --bits float\n",
                     20.0 * std::log10(outcome.peak), format.description.c_str());
    if (!o.quiet) {
        const double elapsed = progress.ElapsedSeconds();
        const double seconds = static_cast<double>(outcome.frames) / rate;
        std::fprintf(stderr,
                     "tessaphon-render: wrote %s: %.1f s, %d Hz, %s, %s, program %d \"%s\" (%.2f s, %.0fx "
                     "real time)\n",
                     o.output.c_str(), seconds, rate, ChannelsText(channels).c_str(),
                     format.description.c_str(), session->CurrentProgram(),
                     session->CurrentProgramName().c_str(), elapsed, elapsed > 0.0 ? seconds / elapsed : 0.0);
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
