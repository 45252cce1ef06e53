// tessaphon-render over time, run as a program: schedules measured from the
// rendered sound and compared with the same automation from a test host,
// fades, the preroll, and schedules that are refused.

#include "host/plugin_host.h"
#include "tool_runner.h"
#include "tools/render/loudness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRate = 48000;

// The pulse rate around second t: pulses counted over a second on either side.
double MeasuredRate(const std::vector<long long>& starts, double t)
{
    std::vector<long long> near;
    for (long long s : starts)
        if (std::fabs(static_cast<double>(s) / kRate - t) <= 1.0)
            near.push_back(s);
    if (near.size() < 2)
        return 0.0;
    return static_cast<double>(near.size() - 1) * kRate / static_cast<double>(near.back() - near.front());
}

ToolResult Render(const TempFolder& dir, const std::string& schedule, std::vector<std::string> extra)
{
    WriteFileText(dir.Path("plan.toml"), schedule);
    std::vector<std::string> args{"--schedule", dir.Path("plan.toml"), "--bits", "float", "-q",
                                  "-o",         dir.Path("out.wav")};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args);
}

TEST(ScheduleRender, ARampsPulseRateMeasuredFromTheEnvelopeFollowsThePlan)
{
    TempFolder dir;
    const ToolResult r = Render(dir,
                                "length = \"1:10\"\n"
                                "[start]\nIsochronic = 14\nRound = 0\n"
                                "[[step]]\nat = \"5s\"\nover = \"1m\"\nIsochronic = 4\n",
                                {});
    ASSERT_EQ(r.status, 0) << r.err;
    Audio audio;
    ASSERT_TRUE(ReadAudio(dir.Path("out.wav"), audio));
    ASSERT_EQ(audio.Frames(), 70LL * kRate);
    const std::vector<long long> starts = PulseStarts(audio, 0, 240);
    for (double t = 5.0; t <= 65.0; t += 10.0) {
        const double planned = 14.0 - 10.0 * (t - 5.0) / 60.0;
        EXPECT_NEAR(MeasuredRate(starts, t), planned, planned * 0.02) << "at " << t << " s";
    }
}

// A test host that plays the same automation a schedule describes, sending
// every block's value as a normalised position like a digital audio
// workstation's automation lane.
std::vector<float> HostRenderWithAutomation(int block, long long frames)
{
    std::string error;
    auto module = host::PluginModule::Open(TESSAPHON_MODULE_PATH, error);
    EXPECT_TRUE(module) << error;
    host::HostState state;
    state.SetTempo(120.0);
    state.SetPlaying(true);
    state.SetSampleRate(kRate);
    auto plugin = host::PluginInstance::Create(*module, state, error);
    plugin->Start(kRate, block);
    plugin->StringToParameter(1, "14");
    std::vector<double> inL(static_cast<std::size_t>(block)), inR(inL), outL(inL), outR(inL);
    double* ins[2] = {inL.data(), inR.data()};
    double* outs[2] = {outL.data(), outR.data()};
    std::vector<float> left;
    for (long long f = 0; f < frames; f += block) {
        const double t = static_cast<double>(f) / kRate;
        // Isochronic 14 -> 4 Hz over 0.5 s to 2.5 s (a linear parameter from 0.01 to 512 Hz).
        const double pulse = t < 0.5 ? 14.0 : t >= 2.5 ? 4.0 : 14.0 - 10.0 * (t - 0.5) / 2.0;
        plugin->SetParameter(1, static_cast<float>((pulse - 0.01) / (512.0 - 0.01)));
        // Base Freq 200 -> 400 Hz exponentially over 1 s to 3 s (its position is the root of the range's
        // share).
        const double carrier = t < 1.0 ? 200.0 : t >= 3.0 ? 400.0 : 200.0 * std::pow(2.0, (t - 1.0) / 2.0);
        plugin->SetParameter(0, static_cast<float>(std::sqrt((carrier - 20.0) / 19980.0)));
        if (t >= 2.0)
            plugin->SetParameter(3, 4.0f / 7.0f); // Wave: Golden Sine
        state.SetSamplePosition(static_cast<double>(f));
        const int n = static_cast<int>(std::min<long long>(block, frames - f));
        plugin->ProcessDouble(ins, outs, n);
        left.insert(left.end(), outL.begin(), outL.begin() + n);
    }
    return left;
}

TEST(ScheduleRender, RendersTheSameSamplesAsTheSameAutomationFromAHost)
{
    TempFolder dir;
    const ToolResult r = Render(dir,
                                "length = 4\n[start]\nIsochronic = 14\n"
                                "[[step]]\nat = 0.5\nover = 2\nIsochronic = 4\n"
                                "[[step]]\nat = 1\nover = 2\ncurve = \"exponential\"\n\"Base Freq\" = 400\n"
                                "[[step]]\nat = \"2s\"\nWave = \"Golden Sine\"\n",
                                {"--preroll", "0", "--block", "256"});
    ASSERT_EQ(r.status, 0) << r.err;
    Audio audio;
    ASSERT_TRUE(ReadAudio(dir.Path("out.wav"), audio));
    const std::vector<float> expected = HostRenderWithAutomation(256, 4LL * kRate);
    ASSERT_EQ(audio.Frames(), static_cast<long long>(expected.size()));
    long long differing = 0;
    for (long long i = 0; i < audio.Frames(); ++i)
        differing += audio.At(i, 0) != expected[static_cast<std::size_t>(i)];
    EXPECT_EQ(differing, 0);
}

TEST(ScheduleRender, FadesReachZeroAndThePrerollRemovesTheStartUpThump)
{
    TempFolder dir;
    const std::string out = dir.Path("out.wav");
    // The mean of the start is the offset a listener hears as a thump: over
    // the first 100 ms, and over the first two pulses (the preroll lets the
    // render begin between two pulses, so the first 100 ms may be silent).
    auto startOffsets = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> args{"--seconds", "2", "--bits", "float", "-q", "-o", out};
        args.insert(args.end(), extra.begin(), extra.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.status, 0) << r.err;
        Audio audio;
        EXPECT_TRUE(ReadAudio(out, audio));
        double sum = 0.0;
        std::pair<double, double> offsets;
        for (long long i = 0; i < kRate / 2; ++i) {
            sum += audio.At(i, 0);
            if (i + 1 == kRate / 10)
                offsets.first = std::fabs(sum / (kRate / 10));
        }
        offsets.second = std::fabs(sum / (kRate / 2));
        return offsets;
    };
    EXPECT_GT(startOffsets({"--preroll", "0"}).second, 1e-2) << "without a preroll the start should thump";
    const auto [first100ms, firstPulses] = startOffsets({});
    EXPECT_LT(first100ms, 1e-3) << "above -60 dBFS";
    EXPECT_LT(firstPulses, 1e-3) << "above -60 dBFS";

    ASSERT_EQ(RunTool({"--seconds", "3", "--fade-in", "1s", "--fade-out", "0:01.5", "--bits", "float", "-q",
                       "-o", out})
                  .status,
              0);
    Audio audio;
    ASSERT_TRUE(ReadAudio(out, audio));
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(audio.At(0, c), 0.0f);
        EXPECT_EQ(audio.At(audio.Frames() - 1, c), 0.0f);
    }
}

TEST(ScheduleRender, AnInvalidScheduleIsRefusedWithItsLineBeforeAnythingIsWritten)
{
    TempFolder dir;
    const ToolResult r =
        Render(dir, "length = \"10s\"\n[[step]]\nat = \"2s\"\nMixx = 40\n", {"--plot", dir.Path("plan.png")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("plan.toml:4:1: unknown parameter \"Mixx\""), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(dir.Path("out.wav")));
    EXPECT_FALSE(FileExists(dir.Path("plan.png")));
    EXPECT_EQ(RunTool({"--seconds", "90x", "-o", dir.Path("out.wav")}).status, 2);
    EXPECT_EQ(
        RunTool({"--fade-in", "2s", "--fade-out", "2s", "--seconds", "3", "-o", dir.Path("out.wav")}).status,
        2);
}

} // namespace

namespace {

// Runs a shell pipeline with the tool as R; its exit statuses joined by spaces.
std::string RunPipeline(const TempFolder& dir, const std::string& pipeline)
{
    WriteFileText(dir.Path("run.sh"), "R='" TESSAPHON_RENDER_PATH "'\ncd '" + dir.Path("") + "'\n" +
                                          pipeline + "\necho \"${PIPESTATUS[@]}\" > status\n");
    const std::string command = "bash '" + dir.Path("run.sh") + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::string status = ReadFileText(dir.Path("status"));
    while (!status.empty() && status.back() == '\n')
        status.pop_back();
    return status;
}

TEST(Pipes, AudioGoesThroughStandardOutputAndInputAndAClosedReaderFailsTheRender)
{
    TempFolder dir;
    // A tone through a second run that mixes it at Mix 0 (the input through, 100 dB of tone added).
    EXPECT_EQ(RunPipeline(dir, "$R -q --seconds 2 --bits float -o - | $R -q - --set Mix=0 --bits float -o -"
                               " > chain.wav"),
              "0 0");
    EXPECT_EQ(RunPipeline(dir, "$R -q --seconds 2 --bits float -o direct.wav"), "0");
    Audio chained;
    Audio direct;
    ASSERT_TRUE(ReadAudio(dir.Path("chain.wav"), chained));
    ASSERT_TRUE(ReadAudio(dir.Path("direct.wav"), direct));
    ASSERT_EQ(chained.Frames(), direct.Frames());
    for (long long i = 0; i < direct.Frames(); i += 997)
        EXPECT_NEAR(chained.At(i, 0), direct.At(i, 0), 1e-4) << i;
    EXPECT_EQ(RunPipeline(dir, "$R -q --seconds 2 --format ogg -o - | $R -q - -o from-ogg.flac"), "0 0");
    EXPECT_TRUE(FileExists(dir.Path("from-ogg.flac")));

    EXPECT_EQ(RunPipeline(dir, "$R -q --seconds 60 -o - | head -c 1000 > /dev/null"), "1 0");
    EXPECT_EQ(RunPipeline(dir, "$R -q --seconds 2 --format aiff -o - > /dev/null"), "1");
}

} // namespace

namespace {

TEST(Batch, RendersEachListedProgramUnderItsPatternAndCarriesOnPastAFailure)
{
    TempFolder dir;
    const ToolResult r =
        RunTool({"--program", "1-2,104", "--seconds", "0.5", "-q", "-o", dir.Path("{slot:03} {name}.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(FileExists(dir.Path("001 Higher frequencies.wav")));
    EXPECT_TRUE(FileExists(dir.Path("002 Left - Right balance.wav")));
    EXPECT_TRUE(FileExists(dir.Path("104 Healing \u2013 110 Hz (Stomach).wav")));

    // Slot 3's folder is missing: its file fails, the others are written, the status is 1.
    const std::string folder = dir.Path("d");
    ASSERT_EQ(std::system(("mkdir '" + folder + "4' '" + folder + "5'").c_str()), 0);
    const ToolResult partial =
        RunTool({"--program", "3-5", "--seconds", "0.2", "-o", dir.Path("d{slot}/tone.wav")});
    EXPECT_EQ(partial.status, 1);
    EXPECT_TRUE(FileExists(dir.Path("d4/tone.wav")));
    EXPECT_TRUE(FileExists(dir.Path("d5/tone.wav")));
    EXPECT_NE(partial.err.find("2 of 3 files written; failed: program 3"), std::string::npos) << partial.err;

    for (const char* pattern : {"same.wav", "{slot:3}.wav", "{nme}.wav"})
        EXPECT_EQ(RunTool({"--program", "1-2", "-o", dir.Path(pattern)}).status, 2) << pattern;
    EXPECT_EQ(RunTool({"--program", "5-2", "-o", dir.Path("{slot}.wav")}).status, 2);
    EXPECT_EQ(RunTool({"--program", "148-150", "-o", dir.Path("{slot}.wav")}).status, 2);
}

} // namespace

namespace {

TEST(Json, ListingsAndTheSummaryComeOutAsOneDocumentPerLine)
{
    TempFolder dir;
    const ToolResult programs = RunTool({"--list-programs", "--json"});
    ASSERT_EQ(programs.status, 0);
    EXPECT_EQ(programs.out.rfind("{\"programs\":[{\"slot\":0,\"name\":\"---- default ----\"},", 0), 0u);
    EXPECT_NE(programs.out.find("{\"slot\":104,\"name\":\"Healing \u2013 110 Hz (Stomach)\"}"),
              std::string::npos);
    const ToolResult params = RunTool({"--list-params", "--json", "--set", "Isochronic=6.5"});
    EXPECT_NE(
        params.out.find("{\"index\":1,\"name\":\"Isochronic\",\"reference\":\"Isochronic\",\"value\":6.5,"
                        "\"display\":\"6.50\",\"unit\":\"Hz\",\"min\":0.01,\"max\":512,\"decimals\":2}"),
        std::string::npos)
        << params.out;
    const ToolResult render = RunTool({"--seconds", "0.5", "-q", "--json", "-o", dir.Path("a.wav")});
    ASSERT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(std::count(render.out.begin(), render.out.end(), '\n'), 1);
    EXPECT_NE(render.out.find("\"frames\":24000,\"rate\":48000,\"channels\":2,\"format\":\"WAV 24-bit\""),
              std::string::npos)
        << render.out;
    EXPECT_EQ(RunTool({"--json", "-o", "-"}).status, 2);
}

} // namespace

namespace {

TEST(Tags, EveryFormatThatCarriesTagsNamesTheTrackAndItsSettings)
{
    TempFolder dir;
    WriteFileText(dir.Path("plan.toml"), "name = \"Evening descent\"\nlength = 1\n[start]\nMix = 30\n");
    for (const char* name : {"t.wav", "t.flac", "t.ogg", "t.aiff"}) {
        const ToolResult r = RunTool({"--schedule", dir.Path("plan.toml"), "-q", "-o", dir.Path(name)});
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        SF_INFO info{};
        SNDFILE* file = sf_open(dir.Path(name).c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << name;
        auto tag = [&](int field) {
            const char* text = sf_get_string(file, field);
            return std::string(text ? text : "");
        };
        EXPECT_EQ(tag(SF_STR_TITLE), "Evening descent") << name;
        EXPECT_EQ(tag(SF_STR_ARTIST), "Tessaphon") << name;
        EXPECT_NE(tag(SF_STR_COMMENT).find("Mix=30"), std::string::npos)
            << name << ": " << tag(SF_STR_COMMENT);
        sf_close(file);
    }
}

} // namespace

namespace {

TEST(Resampling, AnInputAtAnotherRateIsConvertedToTheLengthAndLevelItShouldHave)
{
    TempFolder dir;
    constexpr int kFrom = 44100;
    constexpr double kPi = 3.14159265358979323846;
    std::vector<float> sine;
    for (int i = 0; i < 2 * kFrom; ++i)
        sine.push_back(static_cast<float>(0.5 * std::sin(2.0 * kPi * 1000.0 * i / kFrom)));
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), kFrom, 1, sine));
    const ToolResult r = RunTool({dir.Path("in.wav"), "--rate", "48000", "--set", "Mix=0", "--bits", "float",
                                  "-q", "-o", dir.Path("out.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    Audio audio;
    ASSERT_TRUE(ReadAudio(dir.Path("out.wav"), audio));
    EXPECT_EQ(audio.rate, kRate);
    EXPECT_EQ(audio.Frames(), 2LL * kRate);
    // The level of the middle second, away from the filter's edges.
    double sum = 0.0;
    for (long long i = kRate / 2; i < 3 * kRate / 2; ++i)
        sum += static_cast<double>(audio.At(i, 0)) * audio.At(i, 0);
    const double rmsDb = 10.0 * std::log10(sum / kRate);
    EXPECT_NEAR(rmsDb, 20.0 * std::log10(0.5 / std::sqrt(2.0)), 0.1);
}

} // namespace

namespace {

double FileLoudness(const std::string& path, double& truePeak)
{
    Audio audio;
    EXPECT_TRUE(ReadAudio(path, audio));
    std::string error;
    auto meter = render::LoudnessMeter::Create(audio.channels, audio.rate, error);
    meter->Add(audio.samples.data(), audio.Frames());
    truePeak = meter->TruePeakDbtp();
    return meter->IntegratedLufs();
}

TEST(Loudness, TheTargetIsMetUnlessTheTruePeakCeilingWinsWhichIsSaid)
{
    TempFolder dir;
    double truePeak = 0.0;
    for (const char* target : {"-23", "-16"}) {
        const ToolResult r = RunTool(
            {"--seconds", "20", "--loudness", target, "--bits", "float", "-q", "-o", dir.Path("l.wav")});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NEAR(FileLoudness(dir.Path("l.wav"), truePeak), std::stod(target), 0.1);
        EXPECT_LE(truePeak, -1.0);
    }
    const ToolResult loud =
        RunTool({"--seconds", "20", "--loudness", "-3", "--bits", "float", "-q", "-o", dir.Path("l.wav")});
    ASSERT_EQ(loud.status, 0) << loud.err;
    EXPECT_NE(loud.err.find("would put the true peak above -1 dBTP"), std::string::npos) << loud.err;
    FileLoudness(dir.Path("l.wav"), truePeak);
    EXPECT_NEAR(truePeak, -1.0, 0.1);
    EXPECT_EQ(RunTool({"--loudness", "5", "-o", dir.Path("l.wav")}).status, 2);
}

} // namespace
