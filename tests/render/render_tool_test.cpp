// tessaphon-render run as a program: what it writes, how it processes input
// files, how it fails, and that a saved state reproduces a render.

#include "tessaphon_version.h"
#include "tool_runner.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <thread>

namespace {

bool AllZero(const Audio& audio)
{
    return std::all_of(audio.samples.begin(), audio.samples.end(), [](float s) { return s == 0.0f; });
}

TEST(ToolVersion, IsTheReleaseVersionThePlugInReportsToHosts)
{
    // The vendor version is packed as 0xMMmmpp; 0x10000 reads "1.0.0".
    const std::string packed = std::to_string(tessaphon::kVendorVersion >> 16) + "." +
                               std::to_string((tessaphon::kVendorVersion >> 8) & 0xFF) + "." +
                               std::to_string(tessaphon::kVendorVersion & 0xFF);
    const ToolResult r = RunTool({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "tessaphon-render " + packed + "\n");
}

TEST(ToneRender, WritesTheLengthRateAndChannelsAskedForWithPulsesAtTheIsochronicRate)
{
    TempFolder dir;
    const std::string out = dir.Path("tone.wav");
    const ToolResult r = RunTool({"--seconds", "4", "--bits", "float", "-q", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    Audio audio;
    ASSERT_TRUE(ReadAudio(out, audio));
    EXPECT_EQ(audio.rate, 48000);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.Frames(), 4 * 48000);
    EXPECT_EQ(audio.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    ASSERT_FALSE(AllZero(audio)) << "no tone came out";

    // Default settings: 200 Hz carrier, 4 Hz pulse. The pulse rate glides up
    // from 0 at start (each block covers a share of the rest, over a quarter
    // of the 1000 ms fade); from 1.5 s on a pulse starts every 12000 frames.
    const std::vector<long long> starts = PulseStarts(audio, 72000, 240);
    ASSERT_GE(starts.size(), 8u);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_NEAR(static_cast<double>(starts[i] - starts[i - 1]), 12000.0, 240.0) << "pulse " << i;
}

TEST(ToneRender, OutputFormatFollowsTheExtensionAndBits)
{
    struct Case {
        const char* name;
        std::vector<std::string> bits;
        int format;
    };
    const Case cases[] = {
        {"a.wav", {}, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
        {"b.wav", {"--bits", "16"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"c.wav", {"--bits", "32"}, SF_FORMAT_WAV | SF_FORMAT_PCM_32},
        {"d.flac", {}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
        {"e.flac", {"--bits", "16"}, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"f.aiff", {"--bits", "float"}, SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
        {"g.ogg", {}, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"h.wav",
         {"--bits", "16", "--bits", "float"},
         SF_FORMAT_WAV | SF_FORMAT_FLOAT}, // the last one counts
    };
    TempFolder dir;
    for (const Case& c : cases) {
        std::vector<std::string> args{"--seconds", "0.5", "--rate", "44100", "-q", "-o", dir.Path(c.name)};
        args.insert(args.end(), c.bits.begin(), c.bits.end());
        const ToolResult r = RunTool(args);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        Audio audio;
        ASSERT_TRUE(ReadAudio(dir.Path(c.name), audio)) << c.name;
        EXPECT_EQ(audio.format, c.format) << c.name;
        EXPECT_EQ(audio.rate, 44100) << c.name;
        EXPECT_EQ(audio.Frames(), 22050) << c.name;
    }
}

// A stereo input of constant levels, so the dry part is easy to recognise.
std::vector<float> ConstantStereo(long long frames, float left, float right)
{
    std::vector<float> samples;
    for (long long i = 0; i < frames; ++i) {
        samples.push_back(left);
        samples.push_back(right);
    }
    return samples;
}

TEST(FileProcessing, DryPartIsTheInputScaledByOneMinusMix)
{
    TempFolder dir;
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), 48000, 2, ConstantStereo(96000, 0.5f, -0.25f)));
    const ToolResult r =
        RunTool({"--set", "Mix=30", "--bits", "float", "-q", dir.Path("in.wav"), "-o", dir.Path("out.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    Audio audio;
    ASSERT_TRUE(ReadAudio(dir.Path("out.wav"), audio));
    ASSERT_EQ(audio.Frames(), 96000);
    ASSERT_EQ(audio.channels, 2);
    const bool passThrough =
        std::all_of(audio.samples.begin(), audio.samples.end(),
                    [&, i = 0](float s) mutable { return s == ((i++ % 2) ? -0.25f : 0.5f); });
    ASSERT_FALSE(passThrough) << "no tone was mixed into the input";

    // While the gate is shut (half of each pulse) only the scaled input remains.
    const float keep = 1.0f - 0.3f;
    long long dry = 0;
    const long long from = 24000;
    for (long long i = from; i < audio.Frames(); ++i)
        if (std::fabs(audio.At(i, 0) - keep * 0.5f) < 1e-6f &&
            std::fabs(audio.At(i, 1) - keep * -0.25f) < 1e-6f)
            ++dry;
    const double share = static_cast<double>(dry) / static_cast<double>(audio.Frames() - from);
    EXPECT_GT(share, 0.4);
    EXPECT_LT(share, 0.6);
}

TEST(FileProcessing, KeepsChannelsAndRateOfTheInputAndCutsAtSeconds)
{
    TempFolder dir;
    ASSERT_TRUE(WriteAudio(dir.Path("mono.wav"), 44100, 1, std::vector<float>(44100, 0.25f)));
    ASSERT_TRUE(WriteAudio(dir.Path("stereo.wav"), 44100, 2, ConstantStereo(44100, 0.1f, 0.2f)));
    struct Case {
        std::vector<std::string> args;
        int channels;
        long long frames;
    };
    const Case cases[] = {
        {{dir.Path("mono.wav")}, 1, 44100},
        {{"--stereo", dir.Path("mono.wav")}, 2, 44100},
        {{dir.Path("stereo.wav")}, 2, 44100},
        {{"--seconds", "0.5", dir.Path("stereo.wav")}, 2, 22050},
        {{"--seconds", "5", dir.Path("mono.wav")}, 1, 44100},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-q", "-o", dir.Path("out.flac")});
        const ToolResult r = RunTool(args);
        ASSERT_EQ(r.status, 0) << r.err;
        Audio audio;
        ASSERT_TRUE(ReadAudio(dir.Path("out.flac"), audio));
        EXPECT_EQ(audio.channels, c.channels) << args[0];
        EXPECT_EQ(audio.rate, 44100) << args[0];
        EXPECT_EQ(audio.Frames(), c.frames) << args[0];
    }
}

TEST(Failures, NameTheProblemExitNonZeroAndLeaveNoFile)
{
    TempFolder dir;
    ASSERT_TRUE(WriteAudio(dir.Path("in44.wav"), 44100, 2, ConstantStereo(4410, 0.1f, 0.1f)));
    ASSERT_TRUE(WriteAudio(dir.Path("quad.wav"), 48000, 4, std::vector<float>(4 * 480, 0.1f)));
    const std::string out = dir.Path("out.wav");
    // Status 2: the command line cannot be acted on; 1: a failure on the way.
    struct Case {
        std::vector<std::string> args;
        const char* message;
        int status;
    };
    const Case cases[] = {
        {{dir.Path("missing.wav"), "-o", out}, "missing.wav", 1},
        {{"--set", "Loudness=3", "-o", out}, "unknown parameter \"Loudness\"", 2},
        {{"--set", "Mix=150", "-o", out}, "0 to 100", 2},
        {{"--set", "Mix=101", "-o", out}, "0 to 100", 2},
        {{"--set", "Wave=Sinus", "-o", out}, "Golden Sine", 2},
        {{"--set", "Isochronic=On", "-o", out}, "takes a number", 2},
        {{"--set", "Mix=", "-o", out}, "PARAM=VALUE", 2},
        {{"--program", "150", "-o", out}, "does not exist", 2},
        {{"--program", "zzz", "-o", out}, "no program name contains", 2},
        {{"--program", "", "-o", out}, "empty", 2},
        {{"-o", ""}, "empty", 2},
        {{"-o", dir.Path("no-folder/out.wav")}, "does not exist", 1},
        {{"-o", dir.Path("in44.wav/out.wav")}, "is not a folder", 1},
        {{"-o", dir.Path("out.mp3")}, ".wav, .flac, .ogg or .aiff", 2},
        {{"-o", dir.Path("out.flac"), "--bits", "float"}, "16 or 24 bits", 2},
        {{"-o", dir.Path("out.wav"), "--bits", "8"}, "16, 24, 32 or float", 2},
        {{"-o", dir.Path("out.ogg"), "--bits", "24"}, "Ogg", 2},
        {{"-o", dir.Path("out.ogg"), "--rate", "384000"}, "at most 192000 Hz", 2},
        {{"-o", dir.Path("out.flac"), "--rate", "705600"}, "at most 655350 Hz", 2},
        {{"--format", "mp3", "-o", "-"}, "--format takes wav, flac, ogg or aiff", 2},
        {{"--rate", "384000", dir.Path("in44.wav"), "-o", dir.Path("out.ogg")}, "at most 192000 Hz", 2},
        {{dir.Path("quad.wav"), "-o", out}, "4 channels", 1},
        {{dir.Path("in44.wav"), "-o", dir.Path("in44.wav")}, "replace the file read by INPUT", 2},
        {{"--load-state", dir.Path("in44.wav"), "-o", out}, "not a Tessaphon state", 1},
        {{"--plugin", dir.Path("in44.wav"), "-o", out}, "cannot load", 1},
        {{"--seconds", "-1", "-o", out}, "--seconds", 2},
        {{"--seconds", "1e-9", "-o", out}, "less than one frame", 2},
        {{"--seconds", "1e-9", dir.Path("in44.wav"), "-o", out}, "less than one frame at 44100 Hz", 2},
        {{}, "nothing to do", 2},
    };
    for (const Case& c : cases) {
        const ToolResult r = RunTool(c.args);
        const std::string what = c.args.empty() ? "(no arguments)" : c.args[0] + " " + c.args[1];
        EXPECT_EQ(r.status, c.status) << what << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << what << "\n" << r.err;
        const std::vector<std::string> left = dir.Entries();
        EXPECT_EQ(left.size(), 2u) << what << ": a file was left behind";
    }
}

TEST(Failures, InterruptedRenderKeepsTheOldFileAndLeavesNoPartialOne)
{
    for (const int sig : {SIGINT, SIGTERM, SIGQUIT, SIGPIPE, SIGUSR1}) {
        TempFolder dir;
        const std::string out = dir.Path("take.flac");
        WriteFileText(out, "the good take");
        const pid_t pid = StartTool({"--seconds", "3600", "--bits", "16", "-q", "-o", out});
        ASSERT_GT(pid, 0);
        // Wait until the render has started writing its unfinished file.
        for (int i = 0; i < 500 && dir.Entries().size() < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        kill(pid, sig);
        EXPECT_EQ(WaitTool(pid), 130) << "signal " << sig;
        EXPECT_EQ(ReadFileText(out), "the good take");
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"take.flac"});
    }
}

TEST(SavedState, LoadingItReproducesTheRenderExactly)
{
    for (const char* saveOption : {"--save-state", "--save-bank"}) {
        TempFolder dir;
        const std::string state = dir.Path("settings.tst");
        const ToolResult first =
            RunTool({"--set", "Base Freq=312.5", "--set", "Wave=Golden Sine", "--set", "Mix=70", "--set",
                     "Isochronic#1=7.5", "--set", "Round=40", saveOption, state, "--seconds", "1.5", "--bits",
                     "float", "-q", "-o", dir.Path("a.wav")});
        ASSERT_EQ(first.status, 0) << first.err;
        const ToolResult second = RunTool(
            {"--load-state", state, "--seconds", "1.5", "--bits", "float", "-q", "-o", dir.Path("b.wav")});
        ASSERT_EQ(second.status, 0) << second.err;
        const ToolResult plain =
            RunTool({"--seconds", "1.5", "--bits", "float", "-q", "-o", dir.Path("c.wav")});
        ASSERT_EQ(plain.status, 0) << plain.err;
        Audio a;
        Audio b;
        Audio c;
        ASSERT_TRUE(ReadAudio(dir.Path("a.wav"), a));
        ASSERT_TRUE(ReadAudio(dir.Path("b.wav"), b));
        ASSERT_TRUE(ReadAudio(dir.Path("c.wav"), c));
        EXPECT_EQ(a.samples, b.samples) << saveOption;
        ASSERT_FALSE(AllZero(a)) << saveOption << ": no tone came out";
        EXPECT_NE(a.samples, c.samples) << saveOption << ": the saved settings made no difference";
    }
}

TEST(SavedState, DamagedStateIsRefused)
{
    TempFolder dir;
    ASSERT_EQ(RunTool({"--save-state", dir.Path("good.tst")}).status, 0);
    const std::string good = ReadFileText(dir.Path("good.tst"));
    ASSERT_EQ(good.size(), 208u);
    WriteFileText(dir.Path("short.tst"), good.substr(0, 4));
    WriteFileText(dir.Path("bank.tst"), good.substr(0, 100));
    for (const char* name : {"short.tst", "bank.tst"}) {
        const ToolResult r = RunTool({"--load-state", dir.Path(name), "--list-params"});
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }
}

} // namespace
