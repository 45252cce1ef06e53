// The files tessaphon-render reads and writes, tried as a hostile user would:
// clashing paths, links, permissions, file-size limits, damaged input.

#include "tool_runner.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

void CopyFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream(to, std::ios::binary) << in.rdbuf();
}

} // namespace

TEST(WrittenFiles, NeverReplaceAFileReadOrAnotherFileWritten)
{
    TempFolder dir;
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), 48000, 2, std::vector<float>(960, 0.1f)));
    ASSERT_EQ(RunTool({"--save-state", dir.Path("s.tst")}).status, 0);
    ASSERT_EQ(symlink(dir.Path("in.wav").c_str(), dir.Path("link.wav").c_str()), 0);
    ASSERT_EQ(link(dir.Path("s.tst").c_str(), dir.Path("hard.tst").c_str()), 0);
    const std::string in = ReadFileText(dir.Path("in.wav"));
    const std::string state = ReadFileText(dir.Path("s.tst"));
    const std::string out = dir.Path("out.wav");
    const std::string dotted = dir.Path("./new.wav");
    const std::vector<std::vector<std::string>> clashes = {
        {"--save-state", dir.Path("in.wav"), dir.Path("in.wav"), "-o", out},
        {"--save-bank", dir.Path("link.wav"), dir.Path("in.wav"), "-o", out},
        {"--save-state", dir.Path("new.wav"), "-o", dotted},
        {"--save-bank", dir.Path("new.wav"), "--save-state", dotted},
        {"--load-state", dir.Path("s.tst"), "--save-state", dir.Path("hard.tst")},
        {"--save-preset", dir.Path("p.fxp"), "--load-preset", dir.Path("./p.fxp")},
        {dir.Path("in.wav"), "-o", dir.Path("link.wav")},
    };
    for (const auto& args : clashes) {
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args[1] << "\n" << r.err;
        const bool named =
            r.err.find("same file") != std::string::npos || r.err.find("would replace") != std::string::npos;
        EXPECT_TRUE(named) << r.err;
        EXPECT_EQ(ReadFileText(dir.Path("in.wav")), in);
        EXPECT_EQ(ReadFileText(dir.Path("s.tst")), state);
        EXPECT_FALSE(FileExists(out) || FileExists(dir.Path("new.wav"))) << args[0];
    }
}

TEST(WrittenFiles, ReplacingKeepsLinksAndPermissionsAndRefusesProtectedFiles)
{
    TempFolder dir;
    const std::vector<std::string> render = {"--seconds", "0.1", "-q", "-o"};
    auto run = [&](const std::string& out) {
        std::vector<std::string> args = render;
        args.push_back(out);
        return RunTool(args);
    };
    // Through a symbolic link to the file it names; the link stays.
    WriteFileText(dir.Path("real.wav"), "old");
    ASSERT_EQ(symlink("real.wav", dir.Path("link.wav").c_str()), 0);
    ASSERT_EQ(run(dir.Path("link.wav")).status, 0);
    struct stat st {};
    ASSERT_EQ(lstat(dir.Path("link.wav").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    Audio audio;
    EXPECT_TRUE(ReadAudio(dir.Path("real.wav"), audio));
    // Permission bits of a replaced file stay; a new file gets what the umask leaves.
    WriteFileText(dir.Path("private.wav"), "old");
    chmod(dir.Path("private.wav").c_str(), 0600);
    ASSERT_EQ(run(dir.Path("private.wav")).status, 0);
    EXPECT_EQ(ModeOf(dir.Path("private.wav")), 0600u);
    const mode_t before = umask(027);
    const ToolResult fresh = run(dir.Path("fresh.wav"));
    umask(before);
    ASSERT_EQ(fresh.status, 0);
    EXPECT_EQ(ModeOf(dir.Path("fresh.wav")), 0640u);
    // A write-protected file is left alone (even for root), and nothing else appears.
    WriteFileText(dir.Path("kept.wav"), "keep me");
    chmod(dir.Path("kept.wav").c_str(), 0444);
    const std::size_t entries = dir.Entries().size();
    const ToolResult r = run(dir.Path("kept.wav"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("write-protected"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileText(dir.Path("kept.wav")), "keep me");
    EXPECT_EQ(dir.Entries().size(), entries);
}

TEST(WrittenFiles, FileSizeLimitFailsCleanlyWithoutStateOrPartialFiles)
{
    TempFolder dir;
    const ToolResult r = RunToolWith({dir.Path(""), 256 * 1024},
                                     {"--seconds", "30", "--save-state", "s.tst", "-q", "-o", "out.wav"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("too large"), std::string::npos) << r.err;
    EXPECT_TRUE(dir.Entries().empty()) << dir.Entries().front();
}

TEST(PluginFile, ABareNameIsTheFileInTheCurrentFolder)
{
    TempFolder dir;
    CopyFile(TESSAPHON_MODULE_PATH, dir.Path("Tessaphon.so"));
    // Named like a system library: the loader must not take the system's.
    CopyFile(TESSAPHON_MODULE_PATH, dir.Path("libm.so.6"));
    for (const char* name : {"Tessaphon.so", "libm.so.6"}) {
        const ToolResult r = RunToolWith({dir.Path(""), 0}, {"--plugin", name, "--list-programs"});
        EXPECT_EQ(r.status, 0) << name << "\n" << r.err;
        EXPECT_NE(r.out.find("---- default ----"), std::string::npos) << name;
    }
}

TEST(InputFiles, NonFiniteSamplesBecomeSilenceWithOneWarning)
{
    TempFolder dir;
    std::vector<float> samples(2 * 4800, 0.25f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    samples[2 * 100] = nan;
    samples[2 * 200 + 1] = inf;
    samples[2 * 300] = -inf;
    ASSERT_TRUE(WriteAudio(dir.Path("in.wav"), 48000, 2, samples));
    const ToolResult r =
        RunTool({"--set", "Mix=0", "--bits", "16", dir.Path("in.wav"), "-o", dir.Path("out.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("3 samples"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("frame 100"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("inf dBFS"), std::string::npos) << r.err;
    Audio audio;
    ASSERT_TRUE(ReadAudio(dir.Path("out.wav"), audio));
    for (const long long frame : {100, 200, 300})
        for (int channel = 0; channel < 2; ++channel)
            EXPECT_LT(std::fabs(audio.At(frame, channel)), 0.5f) << frame << " " << channel;
}

TEST(InputFiles, ATruncatedFileIsRenderedWithAWarning)
{
    TempFolder dir;
    ASSERT_TRUE(WriteAudio(dir.Path("long.wav"), 8000, 1, std::vector<float>(20 * 8000, 0.1f)));
    const std::string whole = ReadFileText(dir.Path("long.wav"));
    WriteFileText(dir.Path("cut.wav"), whole.substr(0, 100 + 4 * 4800)); // 0.6 s of 20
    const ToolResult r = RunTool({"-q", dir.Path("cut.wav"), "-o", dir.Path("out.wav")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("shorter than its header says"), std::string::npos) << r.err;
}
