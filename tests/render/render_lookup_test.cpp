// The pieces of tessaphon-render that need no plug-in: program and
// parameter lookup, value checking, output formats, the module
// search order and the progress line.

#include "tools/render/audio_file.h"
#include "tools/render/parameter_lookup.h"
#include "tools/render/plugin_locator.h"
#include "tools/render/program_lookup.h"
#include "tools/render/progress.h"
#include "tools/render/text_folding.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <limits>

namespace render {
namespace {

TEST(ProgramLookup, NumbersNamesAndAmbiguity)
{
    const std::vector<std::string> names = {"---- default ----", "Golden Sine", "Golden Sine Half",
                                            "Isochronic - 10.6 (Relaxed & alert)",
                                            "Solfeggio \xE2\x80\x93 285 Hz"};
    std::string error;
    EXPECT_EQ(FindProgram(names, "3", error), 3);
    EXPECT_EQ(FindProgram(names, " 0 ", error), 0);
    EXPECT_EQ(FindProgram(names, "RELAXED", error), 3);
    EXPECT_EQ(FindProgram(names, "golden sine", error), 1); // the exact name wins
    EXPECT_EQ(FindProgram(names, "half", error), 2);
    EXPECT_EQ(FindProgram(names, "\xE2\x80\x93 285", error), 4);
    // Typed look-alikes: a hyphen for the en dash, runs of blanks, a typographic apostrophe.
    EXPECT_EQ(FindProgram(names, "solfeggio - 285", error), 4);
    EXPECT_EQ(FindProgram(names, "10.6  (relaxed   &\talert)", error), 3);
    const std::vector<std::string> earth = {"Earth's magnetic field", "Mars"};
    EXPECT_EQ(FindProgram(earth, "earth\xE2\x80\x99s", error), 0);

    for (const char* bad : {"5", "99999999999", "", "  ", "nothing like it"}) {
        error.clear();
        EXPECT_EQ(FindProgram(names, bad, error), -1) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    error.clear();
    EXPECT_EQ(FindProgram(names, "golden", error), -1);
    EXPECT_NE(error.find("\n  1  Golden Sine"), std::string::npos) << error;
    EXPECT_NE(error.find("\n  2  Golden Sine Half"), std::string::npos) << error;
}

std::vector<ParameterInfo> SampleParameters()
{
    std::vector<ParameterInfo> params(5);
    params[0].name = "Base Freq";
    params[0].label = "Hz";
    params[0].min = 20.0;
    params[0].max = 20000.0;
    params[0].decimals = 1;
    params[1].name = "Isochronic";
    params[1].label = "Hz";
    params[1].min = 0.01;
    params[1].max = 512.0;
    params[1].decimals = 2;
    params[2].name = "Pan";
    params[2].label = "%";
    params[2].min = -100.0;
    params[2].max = 100.0;
    params[3].name = "Isochronic";
    params[3].choices = {"Off", "On"};
    params[4].name = "Wave";
    params[4].choices = {"Sine", "Golden Sine", "Gold. Square"};
    for (int i = 0; i < 5; ++i)
        params[static_cast<std::size_t>(i)].index = i;
    AssignReferences(params);
    return params;
}

TEST(ParameterLookup, IndicesNamesAndQualifiedNames)
{
    const std::vector<ParameterInfo> params = SampleParameters();
    EXPECT_EQ(params[1].reference, "Isochronic#1");
    EXPECT_EQ(params[3].reference, "Isochronic#2");
    EXPECT_EQ(params[0].reference, "Base Freq");
    std::string error;
    const std::pair<const char*, int> found[] = {
        {"0", 0}, {"4", 4}, {"base freq", 0}, {" WAVE ", 4}, {"isochronic#1", 1}, {"Isochronic#2", 3}};
    for (const auto& [key, index] : found) {
        const ParameterInfo* p = FindParameter(params, key, error);
        ASSERT_NE(p, nullptr) << key << ": " << error;
        EXPECT_EQ(p->index, index) << key;
    }
    for (const char* bad : {"5", "Isochronic", "Isochronic#3", "Base", "", "-1"}) {
        error.clear();
        EXPECT_EQ(FindParameter(params, bad, error), nullptr) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    FindParameter(params, "isochronic", error);
    EXPECT_NE(error.find("Isochronic#1"), std::string::npos);
    EXPECT_NE(error.find("Isochronic#2"), std::string::npos);
}

TEST(ParameterLookup, FormerNumberedNamesFindTheRenamedParameters)
{
    std::vector<ParameterInfo> params(4);
    const char* const names[] = {"Isochronic", "Isochronic On", "LFO1 Rate", "LFO1 Free Rate"};
    for (int i = 0; i < 4; ++i) {
        params[static_cast<std::size_t>(i)].index = i;
        params[static_cast<std::size_t>(i)].name = names[i];
    }
    AssignReferences(params);
    std::string error;
    const std::pair<const char*, int> found[] = {{"Isochronic", 0},   {"isochronic#1", 0},
                                                 {"Isochronic#2", 1}, {"isochronic on", 1},
                                                 {"LFO1 Rate#1", 2},  {"lfo1 rate#2", 3}};
    for (const auto& [key, index] : found) {
        const ParameterInfo* p = FindParameter(params, key, error);
        ASSERT_NE(p, nullptr) << key << ": " << error;
        EXPECT_EQ(p->index, index) << key;
    }
    EXPECT_EQ(FindParameter(params, "LFO2 Rate#1", error), nullptr); // no such parameter here
}

TEST(ParameterLookup, ValuesAreCheckedBeforeThePluginSeesThem)
{
    const std::vector<ParameterInfo> p = SampleParameters();
    struct Good {
        int param;
        const char* value;
        const char* text;
    };
    const Good good[] = {
        {0, "432", "432"},
        {0, "432.5 Hz", "432.5"},
        {0, "20", "20"},
        {0, "2e4", "2e4"},
        {1, "10.6hz", "10.6"},
        {1, "0.01", "0.01"},
        {2, "-100", "-100"},
        {2, "+35 %", "+35"},
        {3, "on", "On"},
        {3, "1", "1"},
        {4, "golden sine", "Golden Sine"},
        {4, "GOLD. SQUARE", "Gold. Square"},
        {4, "2", "2"},
    };
    for (const Good& g : good) {
        std::string text;
        std::string error;
        EXPECT_TRUE(ValueTextFor(p[static_cast<std::size_t>(g.param)], g.value, text, error))
            << g.value << error;
        EXPECT_EQ(text, g.text) << g.value;
    }
    const std::pair<int, const char*> bad[] = {
        {0, "19.9"}, {0, "20001"},  {0, "fast"}, {0, "432 kHz"}, {0, "inf"},  {0, "nan"}, {0, ""},
        {1, "0"},    {1, "1e400"},  {2, "50.5"}, {2, "101"},     {2, "--5"},  {3, "yes"}, {3, "2"},
        {3, "0.5"},  {4, "golden"}, {4, "3"},    {4, "-1"},      {0, "0x20"}, {0, "1,5"},
    };
    for (const auto& [param, value] : bad) {
        std::string text;
        std::string error;
        EXPECT_FALSE(ValueTextFor(p[static_cast<std::size_t>(param)], value, text, error)) << value;
        EXPECT_FALSE(error.empty()) << value;
    }
}

TEST(OutputFormats, ExtensionAndBitsChooseTheFileFormat)
{
    struct Case {
        const char* path;
        const char* bits;
        int code;
    };
    const Case good[] = {
        {"a.wav", nullptr, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
        {"a.WAV", "16", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"x/y.flac", nullptr, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
        {"a.aif", "32", SF_FORMAT_AIFF | SF_FORMAT_PCM_32},
        {"a.aiff", "float", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
        {"a.ogg", nullptr, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"a.wav", "FLOAT", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
    };
    for (const Case& c : good) {
        OutputFormat format;
        std::string error;
        const std::optional<std::string> bits = c.bits ? std::optional<std::string>(c.bits) : std::nullopt;
        ASSERT_TRUE(ChooseOutputFormat(c.path, bits, format, error)) << c.path << error;
        EXPECT_EQ(format.code, c.code) << c.path;
        EXPECT_EQ(format.integer, (c.code & SF_FORMAT_SUBMASK) != SF_FORMAT_FLOAT &&
                                      (c.code & SF_FORMAT_SUBMASK) != SF_FORMAT_VORBIS)
            << c.path;
    }
    const std::pair<const char*, const char*> bad[] = {
        {"a.mp3", nullptr},  {"wav", nullptr}, {"a.d/wav", nullptr}, {"a.flac", "32"},
        {"a.flac", "float"}, {"a.ogg", "16"},  {"a.wav", "8"},       {"a.wav", "double"}};
    for (const auto& [path, bits] : bad) {
        OutputFormat format;
        std::string error;
        const std::optional<std::string> b = bits ? std::optional<std::string>(bits) : std::nullopt;
        EXPECT_FALSE(ChooseOutputFormat(path, b, format, error)) << path;
        EXPECT_FALSE(error.empty()) << path;
    }
}

TEST(OutputFormats, OnlyRendersBeyondFourGibibytesLeaveThePlainFormats)
{
    std::string error;
    OutputFormat wav;
    ASSERT_TRUE(ChooseOutputFormat("a.wav", std::nullopt, wav, error));
    const std::int64_t hourFrames = 3600ll * 48000;
    OutputFormat hour = wav;
    EXPECT_TRUE(FitLength(hour, hourFrames, 2, error));
    EXPECT_EQ(hour.code, SF_FORMAT_WAV | SF_FORMAT_PCM_24); // about 1 GB
    OutputFormat day = wav;
    EXPECT_TRUE(FitLength(day, 24 * hourFrames, 2, error));
    EXPECT_EQ(day.code, SF_FORMAT_RF64 | SF_FORMAT_PCM_24);
    OutputFormat aiff;
    ASSERT_TRUE(ChooseOutputFormat("a.aiff", std::string("float"), aiff, error));
    EXPECT_FALSE(FitLength(aiff, 24 * hourFrames, 2, error));
    EXPECT_NE(error.find("AIFF"), std::string::npos);
    OutputFormat flac;
    ASSERT_TRUE(ChooseOutputFormat("a.flac", std::nullopt, flac, error));
    EXPECT_TRUE(FitLength(flac, 24 * hourFrames, 2, error));
    EXPECT_EQ(flac.code, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(ModuleSearch, BesideTheToolAndItsInstalledTreeFirstThenSearchListsThenTheUsualFolders)
{
    const std::vector<std::string> c = ModuleCandidates("/opt/t/bin", "/home/u", "/a:/b::", "/c");
    const std::vector<std::string> expected = {"/opt/t/bin/Tessaphon.so",
                                               "/opt/t/bin/../vst2/Tessaphon.so",
                                               "/opt/t/bin/../lib/vst/Tessaphon.so",
                                               "/a/Tessaphon.so",
                                               "/b/Tessaphon.so",
                                               "/c/Tessaphon.so",
                                               "/home/u/.vst/Tessaphon.so",
                                               "/home/u/.lxvst/Tessaphon.so",
                                               "/usr/lib/vst/Tessaphon.so",
                                               "/usr/local/lib/vst/Tessaphon.so",
                                               "/usr/lib/lxvst/Tessaphon.so",
                                               "/usr/local/lib/lxvst/Tessaphon.so"};
    EXPECT_EQ(c, expected);
    EXPECT_EQ(ModuleCandidates("/t", "", "", "").size(), 7u);
}

TEST(ProgressLine, FitsTheTerminalAndShowsTheShareDone)
{
    for (int columns : {20, 40, 80, 200}) {
        const std::string line = FormatProgressLine(24000, 96000, 48000.0, 0.25, columns);
        EXPECT_LT(static_cast<int>(line.size()), columns) << columns;
    }
    const std::string line = FormatProgressLine(24000, 96000, 48000.0, 0.25, 120);
    EXPECT_NE(line.find(" 25%"), std::string::npos) << line;
    EXPECT_NE(line.find("0:00 / 0:02"), std::string::npos) << line;
    EXPECT_NE(line.find("2x real time"), std::string::npos) << line;
    EXPECT_NE(FormatProgressLine(0, 0, 48000.0, 0.0, 80).find("0%"), std::string::npos);
    // A tenth done in 30 s: four and a half minutes to go.
    EXPECT_NE(FormatProgressLine(48000 * 60, 48000 * 600, 48000.0, 30.0, 120).find("4:30 left"),
              std::string::npos);
}

} // namespace
} // namespace render
