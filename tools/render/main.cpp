// tessaphon-render: the command-line host. It reads the command line, loads
// the plug-in through its entry point, applies the requested settings and
// renders the tone alone or mixed into an input file.

#include "tessaphon_version.h"
#include "tools/render/audio_file.h"
#include "tools/render/batch.h"
#include "tools/render/json_writer.h"
#include "tools/render/listing_json.h"
#include "tools/render/loudness.h"
#include "tools/render/options.h"
#include "tools/render/pending_file.h"
#include "tools/render/plugin_session.h"
#include "tools/render/preset_file.h"
#include "tools/render/progress.h"
#include "tools/render/render_pipeline.h"
#include "tools/render/schedule_automation.h"
#include "tools/render/terminal.h"
#include "tools/render/text_folding.h"
#include "tools/render/track.h"

#include <chrono>
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

std::string TrackTitle(const Schedule& schedule, PluginSession& session)
{
    const std::string program =
        "program " + std::to_string(session.CurrentProgram()) + " \"" + session.CurrentProgramName() + "\"";
    return schedule.name.empty() ? program : schedule.name + " (" + program + ")";
}

// The first seconds the detail plot shows: 2 s, or four pulses when they are slower.
double DetailSeconds(PluginSession& session, const std::vector<double>& values, int rate)
{
    const double pulses = 4.0 * static_cast<double>(PulsePeriodFrames(session, values, rate)) / rate;
    return std::min(10.0, std::max(2.0, pulses));
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
                                 {"--save-preset", o.savePreset},
                                 {"--plot", o.track.plot},
                                 {"--plot-detail", o.track.plotDetail}};
    const NamedPath read[] = {{"INPUT", o.input},
                              {"--load-state", o.loadState},
                              {"--load-preset", o.loadPreset},
                              {"--plugin", o.plugin},
                              {"--schedule", o.track.schedule}};
    for (std::size_t w = 0; w < std::size(written); ++w) {
        if (written[w].path.empty() || written[w].path == "-")
            continue;
        for (const NamedPath& r : read) {
            if (!r.path.empty() && r.path != "-" && SameFile(written[w].path, r.path)) {
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
    if (!o.track.schedule.empty())
        text += ", schedule " + o.track.schedule;
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
int ApplySettings(PluginSession& session, const RenderOptions& o, const Schedule* schedule,
                  SchedulePlan& plan)
{
    std::string error;
    if (o.listPrograms)
        o.json ? (void)std::printf("%s\n", ProgramListJson(session).c_str()) : PrintPrograms(session);
    if (!o.loadState.empty() && !session.LoadState(o.loadState, error))
        return Fail(error);
    if (!o.loadPreset.empty() && !session.LoadPreset(o.loadPreset, error))
        return Fail(error);
    if (o.program)
        if (const int status = Settle(session.SelectProgram(*o.program, error), error))
            return status;
    // A schedule's program (unless --program is given) and start settings come before --set.
    if (schedule && !o.program && !SelectScheduleProgram(session, *schedule, error))
        return Usage(error);
    if (schedule && !PlanSchedule(session, *schedule, plan, error))
        return Usage(error);
    for (const std::string& assignment : o.sets)
        if (const int status = Settle(session.Set(assignment, error), error))
            return status;
    if (o.listParams)
        o.json ? (void)std::printf("%s\n", ParameterListJson(session).c_str()) : PrintParameters(session);
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
    if (!input.LengthUnknown() && (outcome.inputEndedEarly || input.AnnouncedFrames() > input.Frames()))
        Warn(path + " is shorter than its header says: " +
             SecondsText(std::max(input.AnnouncedFrames(), input.Frames()), rate) + " announced, " +
             SecondsText(outcome.inputEndedEarly ? outcome.frames : input.Frames(), rate) +
             " present; the file may be damaged or still being written");
}

struct MeasuredLoudness {
    double lufs = 0.0;
    double truePeak = 0.0;
};

// The same render with nothing but the audio, to measure it.
RenderOptions MeasuringPass(const RenderOptions& o)
{
    RenderOptions pass = o;
    pass.listPrograms = pass.listParams = pass.json = false;
    pass.quiet = true;
    pass.saveState.clear();
    pass.saveBank.clear();
    pass.savePreset.clear();
    pass.track.plot.clear();
    pass.track.plotDetail.clear();
    pass.loudness.reset();
    return pass;
}

// With measureOnly the render is run without writing anything and its
// loudness returned there; with --loudness it is run that way first, for the gain.
int RenderOnce(const RenderOptions& o, MeasuredLoudness* measureOnly = nullptr)
{
    std::string error;
    double gainDb = 0.0;
    if (o.loudness && !measureOnly) {
        MeasuredLoudness measured;
        if (const int status = RenderOnce(MeasuringPass(o), &measured))
            return status;
        if (!std::isfinite(measured.lufs))
            return Fail("the render is silent; --loudness has nothing to bring up");
        const LoudnessGain gain = GainForLoudness(measured.lufs, measured.truePeak, *o.loudness);
        if (gain.ceilingWon)
            Warn("--loudness " + JsonNumber(*o.loudness) + " LUFS would put the true peak above " +
                 JsonNumber(kTruePeakCeilingDbtp) + " dBTP; the render comes out at " +
                 JsonNumber(std::round((measured.lufs + gain.db) * 10.0) / 10.0) + " LUFS instead");
        gainDb = gain.db;
    }

    // Everything about the files is checked before the plug-in is loaded.
    if (!PathsAreDistinct(o, error))
        return Usage(error);
    Schedule schedule;
    const bool scheduled = !o.track.schedule.empty();
    if (scheduled && !ReadSchedule(o.track.schedule, schedule, error))
        return Usage(error);
    const double length = o.seconds.value_or(scheduled ? schedule.length : kDefaultSeconds);
    std::unique_ptr<InputFile> input;
    int rate = o.rate.value_or(kDefaultRate);
    int channels = 2;
    if (!o.input.empty()) {
        input = InputFile::Open(o.input, error);
        if (!input)
            return Fail(error);
        if (o.rate && *o.rate != input->Rate() && !input->ResampleTo(*o.rate, error))
            return Fail(error);
        rate = input->Rate();
        if (input->Channels() > 2)
            return Fail(o.input + " has " + std::to_string(input->Channels()) +
                        " channels; the plug-in processes mono or stereo");
        if (o.stereo && input->Channels() == 2)
            Warn("--stereo has no effect: " + o.input + " is stereo already");
        channels = input->Channels() == 1 && !o.stereo ? 1 : 2;
    }
    OutputFormat format;
    const bool toStdout = o.output == "-";
    const std::string outputName = toStdout ? "standard output" : o.output;
    if (toStdout && StdoutIsTerminal())
        return Usage(
            "-o - writes audio to standard output, which is a terminal; pipe it into a program or a file");
    if (!o.output.empty() && !ChooseOutputFormat(o.format   ? "." + *o.format
                                                 : toStdout ? ".wav"
                                                            : o.output,
                                                 o.bits, format, error))
        return Usage(error);
    if (o.output.empty() && o.bits)
        return Usage("--bits applies to an output file; give -o OUTPUT");
    if (!o.output.empty() && !CheckFormatLimits(format, rate, channels, error))
        return Usage(error);

    std::int64_t frames = static_cast<std::int64_t>(std::llround(length * rate));
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
        // Standard input of unknown length is rendered until it ends (at most a week).
        if (input->LengthUnknown() && !o.seconds)
            frames = std::min<std::int64_t>(frames, std::int64_t{7} * 24 * 3600 * rate);
        if (input->LengthUnknown() && !o.seconds && o.track.fadeOut > 0.0)
            return Usage("--fade-out needs --seconds when the length of standard input is not known");
    }

    std::unique_ptr<PluginSession> session =
        PluginSession::Open(o.plugin, static_cast<double>(rate), o.block, o.tempo, error);
    if (!session)
        return Fail(error);

    SchedulePlan plan;
    if (const int status = ApplySettings(*session, o, scheduled ? &schedule : nullptr, plan))
        return status;
    const std::vector<double> startValues = CurrentValues(*session);
    plan.Begin(startValues);
    if (!o.track.plot.empty()) {
        std::string bytes;
        PlotFormat plotFormat = PlotFormat::Png;
        PlotFormatFor(o.track.plot, plotFormat);
        const SchedulePlot picture = MakeSchedulePlot(*session, plan, length, TrackTitle(schedule, *session));
        if (!DrawSchedulePlot(picture, plotFormat, bytes, error) ||
            !WritePlotFile(o.track.plot, bytes, error))
            return Fail(error);
    }
    const std::vector<PendingSave> saves = CollectSaves(*session, o);
    if (o.output.empty()) {
        if (!WriteSaves(saves, error))
            return Fail(error);
        return 0;
    }

    if (!FitLength(format, frames, channels, error))
        return Fail(error);
    const Fades fades{frames, std::llround(o.track.fadeIn * rate), std::llround(o.track.fadeOut * rate)};
    if (fades.in + fades.out > frames)
        return Usage("--fade-in and --fade-out together are longer than the render");

    // The output file object goes before the pending file, which then
    // removes the unfinished file on every early return.
    std::unique_ptr<PendingFile> pending;
    std::unique_ptr<OutputFile> output;
    if (measureOnly)
        ; // nothing is written
    else if (toStdout)
        IgnoreBrokenPipe();
    else if (!(pending = PendingFile::Create(o.output, error)))
        return Fail(error);
    if (!measureOnly)
        output = pending ? OutputFile::Open(pending->Descriptor(), outputName, format, rate, channels, error)
                         : OutputFile::OpenStream(StdoutDescriptor(), outputName, format, rate, channels,
                                                  frames, error);
    if (!output && !measureOnly)
        return Fail(error);
    AudioTags tags;
    tags.title = scheduled && !schedule.name.empty() ? schedule.name : session->CurrentProgramName();
    tags.artist = "Tessaphon";
    tags.software = "tessaphon-render " + std::string(tessaphon::kVersionText);
    tags.comment = SettingsText(*session, o);
    if (output && !output->SetTags(tags, error))
        return Fail(error);

    session->StartProcessing(channels);
    std::unique_ptr<ScheduleAutomation> automation;
    if (!plan.Courses().empty()) {
        automation = std::make_unique<ScheduleAutomation>(plan, startValues, session->Plugin(), rate);
        automation->BeforeBlock(0); // the values of time 0 are in place for the preroll
    }
    const std::int64_t preroll = o.track.preroll ? std::llround(*o.track.preroll * rate)
                                 : input         ? 0
                                                 : DefaultPrerollFrames(*session, startValues, rate, o.block);
    const std::int64_t prerollRan =
        RunPreroll(session->Plugin(), session->Host(), preroll, o.block,
                   preroll > 0 ? PulsePeriodFrames(*session, startValues, rate) : 0);
    std::vector<float> detail;
    RenderSetup setup;
    setup.automation = automation.get();
    setup.fades = fades;
    setup.firstHostFrame = prerollRan;
    if (!o.track.plotDetail.empty()) {
        setup.keepFrames =
            std::min<std::int64_t>(frames, std::llround(DetailSeconds(*session, startValues, rate) * rate));
        detail.reserve(static_cast<std::size_t>(setup.keepFrames));
        setup.keepLeft = &detail;
    }
    setup.channels = channels;
    setup.spreadMono = o.stereo;
    setup.block = o.block;
    setup.frames = frames;
    setup.trackPeak = format.integer;
    setup.gain = static_cast<float>(std::pow(10.0, gainDb / 20.0));
    // Every summary gives the loudness; measuring costs time, so only then.
    std::unique_ptr<LoudnessMeter> meter;
    if (measureOnly || !o.quiet || o.json)
        if (!(meter = LoudnessMeter::Create(channels, rate, error)))
            return Fail(error);
    setup.meter = meter.get();
    ProgressDisplay progress(!o.quiet && StderrIsTerminal(), frames, rate);
    const RenderOutcome outcome =
        RenderToFile(session->Plugin(), session->Host(), input.get(), output.get(), setup, progress);
    progress.Finish();
    if (outcome.interrupted) {
        std::fprintf(stderr, "tessaphon-render: interrupted; %s was not written\n", outputName.c_str());
        return kInterrupted;
    }
    if (!outcome.ok)
        return Fail(outcome.error + "; " + outputName + " was not written");
    if (measureOnly) {
        *measureOnly = {meter->IntegratedLufs(), meter->TruePeakDbtp()};
        return 0;
    }
    if (!output->Close(error) || (pending && !pending->Commit(error)))
        return Fail(error);
    if (!WriteSaves(saves, error))
        return Fail(error);
    if (!o.track.plotDetail.empty()) {
        DetailPlot picture;
        picture.title = "Start of " + outputName + ": " + TrackTitle(schedule, *session);
        picture.rate = rate;
        picture.samples = std::move(detail);
        picture.envelopeWindow = CarrierPeriodFrames(*session, startValues, rate);
        PlotFormat plotFormat = PlotFormat::Png;
        PlotFormatFor(o.track.plotDetail, plotFormat);
        std::string bytes;
        if (!DrawDetailPlot(picture, plotFormat, bytes, error) ||
            !WritePlotFile(o.track.plotDetail, bytes, error))
            return Fail(error + " (" + outputName + " was written)");
    }

    if (input)
        WarnAboutInput(*input, o.input, outcome, rate);
    const float peak = outcome.peak * setup.gain;
    if (peak > 1.0f)
        std::fprintf(stderr,
                     "tessaphon-render: warning: the signal peaks at %.1f dBFS and was clipped in %s; "
                     "lower Mix or use --bits float\n",
                     20.0 * std::log10(peak), format.description.c_str());
    if (o.json) {
        const double elapsed = progress.ElapsedSeconds();
        JsonObject summary;
        summary.Add("output", o.output).Add("seconds", static_cast<double>(outcome.frames) / rate);
        summary.Add("frames", static_cast<double>(outcome.frames))
            .Add("rate", rate)
            .Add("channels", channels);
        summary.Add("format", format.description).Add("program", session->CurrentProgram());
        summary.Add("program_name", session->CurrentProgramName()).Add("settings", SettingsText(*session, o));
        summary.AddRaw("schedule", scheduled ? JsonString(o.track.schedule) : "null");
        summary.Add("preroll_seconds", static_cast<double>(prerollRan) / rate);
        summary.AddRaw("peak_dbfs", format.integer ? JsonNumber(20.0 * std::log10(peak)) : "null");
        summary.Add("loudness_lufs", meter->IntegratedLufs()).Add("true_peak_dbtp", meter->TruePeakDbtp());
        summary.Add("gain_db", gainDb).Add("elapsed_seconds", elapsed);
        std::printf("%s\n", summary.Text().c_str());
    }
    if (!o.quiet) {
        const double elapsed = progress.ElapsedSeconds();
        const double seconds = static_cast<double>(outcome.frames) / rate;
        std::fprintf(
            stderr,
            "tessaphon-render: wrote %s: %.1f s, %d Hz, %s, %s, %s; %.1f LUFS, true peak %.1f dBTP%s (%.2f "
            "s, "
            "%.0fx real time)\n",
            outputName.c_str(), seconds, rate, ChannelsText(channels).c_str(), format.description.c_str(),
            SettingsText(*session, o).c_str(), meter->IntegratedLufs(), meter->TruePeakDbtp(),
            gainDb != 0.0 ? (", gain " + JsonNumber(std::round(gainDb * 100.0) / 100.0) + " dB").c_str() : "",
            elapsed, elapsed > 0.0 ? seconds / elapsed : 0.0);
    }
    return 0;
}

// Renders each slot of a --program list into its own file named by the
// output pattern; a failed file is reported and the others still rendered.
int RenderBatch(const RenderOptions& o)
{
    std::string error;
    if (o.output.empty() || o.output == "-")
        return Usage("a list of programs needs -o with a pattern such as -o 'out/{slot:03} {name}.flac'");
    if (!o.saveState.empty() || !o.saveBank.empty() || !o.savePreset.empty() || !o.track.plot.empty() ||
        !o.track.plotDetail.empty() || o.listPrograms || o.listParams || o.input == "-")
        return Usage("a list of programs renders files only: no saving, listing, plots or standard input");
    if (!CheckOutputPattern(o.output, error))
        return Usage(error);
    std::vector<std::string> names;
    if (auto session = PluginSession::Open(o.plugin, kDefaultRate, o.block, o.tempo, error))
        names = session->ProgramNames();
    else
        return Fail(error);
    std::vector<int> slots;
    if (!ReadProgramList(*o.program, static_cast<int>(names.size()), slots, error))
        return Usage(error);
    std::vector<std::string> outputs;
    for (int slot : slots) {
        outputs.push_back(ExpandOutputPattern(o.output, slot, names[static_cast<std::size_t>(slot)]));
        for (std::size_t k = 0; k + 1 < outputs.size(); ++k)
            if (outputs[k] == outputs.back())
                return Usage("-o " + o.output + " gives two programs the file " + outputs.back() +
                             "; add {slot} to the pattern");
    }
    std::vector<std::string> failed;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        RenderOptions one = o;
        one.program = std::to_string(slots[i]);
        one.output = outputs[i];
        one.quiet = true;
        const auto started = std::chrono::steady_clock::now();
        const int status = RenderOnce(one);
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!o.quiet || status != 0)
            std::fprintf(stderr, "tessaphon-render: [%zu/%zu] program %d -> %s: %s (%.1f s)\n", i + 1,
                         slots.size(), slots[i], outputs[i].c_str(), status == 0 ? "done" : "FAILED", took);
        if (status == kInterrupted)
            return kInterrupted;
        if (status != 0)
            failed.push_back(std::to_string(slots[i]));
    }
    if (!o.quiet || !failed.empty()) {
        std::string list;
        for (const std::string& slot : failed)
            list += (list.empty() ? "" : ", ") + slot;
        std::fprintf(stderr, "tessaphon-render: %zu of %zu files written%s\n", slots.size() - failed.size(),
                     slots.size(), failed.empty() ? "" : ("; failed: program " + list).c_str());
    }
    return failed.empty() ? 0 : kFailed;
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
    if (o.program && IsProgramList(*o.program))
        return RenderBatch(o);
    return RenderOnce(o);
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
