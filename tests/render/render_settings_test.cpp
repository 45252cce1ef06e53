// Programs and parameters chosen on the command line, checked through what
// tessaphon-render lists: --list-programs and --list-params.

#include "tool_runner.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Display text of each parameter, by index, from the --list-params table.
std::map<int, std::string> ListedValues(const std::vector<std::string>& args)
{
    std::vector<std::string> all = args;
    all.push_back("--list-params");
    const ToolResult r = RunTool(all);
    EXPECT_EQ(r.status, 0) << r.err;
    std::map<int, std::string> values;
    for (const std::string& line : Lines(r.out)) {
        if (line.size() < 34 || line.compare(0, 3, "idx") == 0)
            continue;
        std::string value = line.substr(20, 14);
        value.erase(value.find_last_not_of(' ') + 1);
        values[std::stoi(line.substr(0, 3))] = value;
    }
    return values;
}

TEST(ProgramList, ListsEverySlotWithItsNumberInUtf8)
{
    const ToolResult r = RunTool({"--list-programs"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 150u);
    EXPECT_EQ(lines[0], "  0  ---- default ----");
    for (std::size_t slot = 0; slot < lines.size(); ++slot)
        EXPECT_EQ(std::stoi(lines[slot].substr(0, 3)), static_cast<int>(slot));
    // The en dash of the healing names is byte 0x96 in the plug-in, U+2013 here.
    EXPECT_EQ(lines[104], "104  Healing \xE2\x80\x93 110 Hz (Stomach)");
    EXPECT_EQ(lines[58], " 58  Isochronic - 10.6 (Relaxed & alert)");
}

TEST(ProgramChoice, ByNumberByTextAndAmbiguousText)
{
    for (const char* key : {"58", "relaxed & ALERT", "Isochronic - 10.6 (Relaxed & alert)"}) {
        const std::map<int, std::string> values = ListedValues({"--program", key});
        EXPECT_EQ(values.at(1), "10.60") << key;
        EXPECT_EQ(values.at(9), "90") << key;
    }
    // An exact name wins over names that merely contain it.
    EXPECT_EQ(ListedValues({"--program", "golden sine"}).at(3), "Golden Sine");

    const ToolResult r = RunTool({"--program", "schumann", "--list-params"});
    EXPECT_EQ(r.status, 2);
    for (const char* slot : {"\n  88  ", "\n  89  ", "\n  90  ", "\n  91  ", "\n  92  "})
        EXPECT_NE(r.err.find(slot), std::string::npos) << slot << "\n" << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST(ParameterSetting, DisplayTextsNumbersUnitsAndQualifiedNames)
{
    const std::map<int, std::string> values = ListedValues({
        "--set", "Wave=golden sine",  // display text, case ignored
        "--set", "Base Freq=432 Hz",  // number with its unit
        "--set", "isochronic#1=10.6", // the pulse rate
        "--set", "Isochronic#2=Off",  // the pulse switch
        "--set", "13=1/4",            // by index, a note value
        "--set", "LFO1 Rate#2=500",   // the free LFO rate
        "--set", "Pan=-40",
        "--set", "Play Anyway=Yes",
        "--set", "Mix=10",
        "--set", "Mix=20", // the last one counts
    });
    EXPECT_EQ(values.at(3), "Golden Sine");
    EXPECT_EQ(values.at(0), "432.0");
    EXPECT_EQ(values.at(1), "10.60");
    EXPECT_EQ(values.at(6), "Off");
    EXPECT_EQ(values.at(13), "1/4");
    EXPECT_EQ(values.at(14), "500");
    EXPECT_EQ(values.at(4), "-40");
    EXPECT_EQ(values.at(7), "Yes");
    EXPECT_EQ(values.at(9), "20");
    EXPECT_EQ(values.at(2), "75"); // untouched
}

TEST(ParameterSetting, SettingsApplyAfterTheProgram)
{
    const std::map<int, std::string> values = ListedValues({"--set", "Mix=33", "--program", "0"});
    EXPECT_EQ(values.at(9), "33");
}

} // namespace
