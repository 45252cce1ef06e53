// Standard preset files (.fxp, .fxb): the byte layout hosts exchange, strict
// reading, and round trips through the tool.

#include "tool_runner.h"
#include "tools/render/preset_file.h"

#include <gtest/gtest.h>

namespace render {
namespace {

const PresetShape kShape{0x796D7376, 25, 150};

Preset SampleBank()
{
    Preset bank;
    bank.bank = true;
    bank.pluginId = kShape.pluginId;
    bank.pluginVersion = 0x10000;
    for (int p = 0; p < kShape.programs; ++p)
        bank.programs.push_back(
            {"slot " + std::to_string(p), std::vector<float>(25, static_cast<float>(p) / 150.0f)});
    return bank;
}

std::int32_t BigEndianAt(const std::vector<std::uint8_t>& bytes, std::size_t pos)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(bytes[pos]) << 24) | (bytes[pos + 1] << 16) |
                                     (bytes[pos + 2] << 8) | bytes[pos + 3]);
}

TEST(PresetFile, ProgramLayoutIsTheHostsOwn)
{
    Preset program;
    program.pluginId = kShape.pluginId;
    program.pluginVersion = 0x10000;
    program.programs.push_back({"A name longer than the twenty-eight bytes", std::vector<float>(25, 0.5f)});
    const std::vector<std::uint8_t> bytes = EncodePreset(program);
    ASSERT_EQ(bytes.size(), 56u + 4 * 25);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "CcnK");
    EXPECT_EQ(BigEndianAt(bytes, 4), static_cast<std::int32_t>(bytes.size() - 8));
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "FxCk");
    EXPECT_EQ(BigEndianAt(bytes, 12), 1);
    EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 20), "ymsv");
    EXPECT_EQ(BigEndianAt(bytes, 24), 25);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 28)), "A name longer than the twen");
    EXPECT_EQ(BigEndianAt(bytes, 56), 0x3F000000); // 0.5f
    Preset back;
    std::string error;
    ASSERT_TRUE(DecodePreset(bytes, kShape, back, error)) << error;
    EXPECT_FALSE(back.bank);
    EXPECT_EQ(back.programs.front().values, program.programs.front().values);
    // A UTF-8 name is cut between characters.
    program.programs.front().name = std::string(26, 'x') + "\xE2\x80\x93";
    EXPECT_EQ(EncodePreset(program)[28 + 26], 0);
}

TEST(PresetFile, AnythingButAnExactFileOfThisPluginIsRefused)
{
    const std::vector<std::uint8_t> good = EncodePreset(SampleBank());
    ASSERT_EQ(good.size(), 156u + 150 * 156);
    Preset read;
    std::string error;
    ASSERT_TRUE(DecodePreset(good, kShape, read, error)) << error;
    EXPECT_EQ(read.programs.size(), 150u);
    EXPECT_EQ(read.programs[7].name, "slot 7");

    auto changed = [&](std::size_t pos, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[pos] = value;
        return bytes;
    };
    std::vector<std::uint8_t> oversized = good;
    oversized.insert(oversized.end(), 4, 0);
    oversized[7] = static_cast<std::uint8_t>(oversized[7] + 4); // the size field agrees with the file
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> bad = {
        {"magic", changed(0, 'X')},
        {"kind", changed(8, 'X')},
        {"id", changed(19, 'w')},
        {"count", changed(27, 149)},
        {"version", changed(15, 3)},
        {"program id", changed(156 + 19, 'w')},
        {"parameter count", changed(156 + 27, 24)},
        {"value above 1", changed(156 + 56, 0x40)},
        {"oversized", oversized},
        {"empty", {}},
    };
    for (const auto& [what, bytes] : bad) {
        error.clear();
        Preset untouched = read;
        EXPECT_FALSE(DecodePreset(bytes, kShape, untouched, error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_EQ(untouched.programs.size(), 150u) << what << ": changed by a bad file";
    }
    for (std::size_t n = 0; n < good.size(); n += 97) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(DecodePreset(cut, kShape, read, error)) << "length " << n;
    }
}

TEST(PresetFile, BankAndProgramRoundTripThroughTheTool)
{
    TempFolder dir;
    // A bank with an edited slot, saved, loaded into a fresh instance and saved again.
    ASSERT_EQ(RunTool({"--program", "58", "--set", "Mix=33", "--set", "Wave=Saw", "--save-preset",
                       dir.Path("a.fxb")})
                  .status,
              0);
    ASSERT_EQ(RunTool({"--load-preset", dir.Path("a.fxb"), "--save-preset", dir.Path("b.fxb")}).status, 0);
    const std::string a = ReadFileText(dir.Path("a.fxb"));
    ASSERT_EQ(a.size(), 156u + 150 * 156);
    EXPECT_EQ(ReadFileText(dir.Path("b.fxb")), a);

    // A program carries the sound: rendering after loading it gives the same samples.
    ASSERT_EQ(RunTool({"--program", "104", "--set", "Mix=70", "--save-preset", dir.Path("p.fxp"), "--bits",
                       "float", "--seconds", "1", "-q", "-o", dir.Path("direct.wav")})
                  .status,
              0);
    const ToolResult loaded = RunTool({"--load-preset", dir.Path("p.fxp"), "--bits", "float", "--seconds",
                                       "1", "-o", dir.Path("loaded.wav")});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(loaded.err.find("preset from"), std::string::npos) << loaded.err;
    Audio direct;
    Audio again;
    ASSERT_TRUE(ReadAudio(dir.Path("direct.wav"), direct));
    ASSERT_TRUE(ReadAudio(dir.Path("loaded.wav"), again));
    EXPECT_EQ(direct.samples, again.samples);

    // A damaged file is refused, and nothing of it is applied.
    WriteFileText(dir.Path("bad.fxp"), ReadFileText(dir.Path("p.fxp")).substr(0, 100));
    const ToolResult r = RunTool({"--load-preset", dir.Path("bad.fxp"), "--list-params"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.fxp"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

} // namespace
} // namespace render
