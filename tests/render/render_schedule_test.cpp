// Schedule files read and planned without the plug-in (against a parameter
// list like the one tessaphon-render probes), times as written, and fades.

#include "tools/render/schedule.h"
#include "tools/render/schedule_plan.h"
#include "tools/render/start_and_end.h"
#include "tools/render/time_text.h"

#include <gtest/gtest.h>

namespace {

using namespace render;

std::vector<ParameterInfo> Parameters()
{
    std::vector<ParameterInfo> params(4);
    params[0] = {0, "Isochronic", "Hz", "", {}, 0, 0.01, 512.0, 2};
    params[1] = {1, "Wave", "", "", {"Sine", "Triangle", "Golden Sine"}, 0, 0.0, 2.0, 0};
    params[2] = {2, "Pan", "%", "", {}, 0, -100.0, 100.0, 0};
    params[3] = {3, "Mix", "%", "", {}, 0, 0.0, 100.0, 0};
    AssignReferences(params);
    return params;
}

// Reads and plans text; the message when either refuses it.
std::string Refusal(const std::string& text)
{
    Schedule schedule;
    std::string error;
    if (!ParseSchedule(text, "s.toml", schedule, error))
        return error;
    const std::vector<ParameterInfo> params = Parameters();
    SchedulePlan plan;
    return plan.Build(schedule, params, error) ? "" : error;
}

TEST(ScheduleFile, TimesAreReadInEveryWrittenForm)
{
    const std::pair<const char*, double> good[] = {
        {"90", 90},         {"2.5", 2.5},     {"500ms", 0.5},  {"90s", 90},  {"30m", 1800},
        {"1.5h", 5400},     {"1h30m", 5400},  {"2m 30s", 150}, {"1:30", 90}, {"1:30:00", 5400},
        {"0:00:05.5", 5.5}, {"30 min", 1800}, {"1e3", 1000},
    };
    for (const auto& [text, seconds] : good) {
        double value = -1.0;
        std::string error;
        EXPECT_TRUE(ReadDuration(text, value, error)) << text;
        EXPECT_DOUBLE_EQ(value, seconds) << text;
    }
    for (const char* text : {"", "-5", "90x", "1:60", "1:2:3:4", "s", "1.5:00", "30m10", "nan", "1::2"}) {
        double value = 0.0;
        std::string error;
        EXPECT_FALSE(ReadDuration(text, value, error)) << text;
    }
    EXPECT_EQ(DurationText(5400), "1:30:00");
    EXPECT_EQ(DurationText(65.5), "1:05.5");
}

TEST(ScheduleFile, EveryInvalidScheduleIsRefusedWithItsLineAndColumn)
{
    const std::pair<const char*, const char*> cases[] = {
        {"length = 60\n[[step]]\nat = 1\nMixx = 4\n", "s.toml:4:1: unknown parameter \"Mixx\""},
        {"length = 60\n[start]\nMix = 101\n", "s.toml:3:1: \"Mix\" takes 0 to 100 %"},
        {"length = 60\n[[step]]\nat = 10\nMix = 4\n[[step]]\nat = 5\nMix = 5\n",
         "s.toml:6:6: this step begins"},
        {"length = 60\n[[step]]\nat = 0\nover = 20\nMix = 4\n[[step]]\nat = 10\nMix = 5\n",
         "s.toml:8:1: \"Mix\" is still ramping at 0:10 (the ramp of line 5 ends at 0:20)"},
        {"length = 60\n[[step]]\nat = 0\nMix = 4\n\"3\" = 5\n",
         "s.toml:5:1: \"Mix\" is already changed at 0:00 by line 4"},
        {"length = 60\n[[step]]\nat = 50\nover = \"20s\"\nMix = 4\n",
         "s.toml:3:6: this step ends at 1:10, beyond"},
        {"length = \"10 parsecs\"\n", "s.toml:1:10: length: \"10 parsecs\" is not a time"},
        {"length = 60\n[[step]]\nat = \"5x\"\nMix = 4\n", "s.toml:3:6: at: \"5x\" is not a time"},
        {"length = 60\n[[step]]\nat = 1\nover = 5\nWave = \"Sine\"\n",
         "s.toml:5:1: \"Wave\" is a list of choices"},
        {"length = 60\n[[step]]\nat = 1\nover = 5\ncurve = \"exponential\"\nPan = 40\n",
         "s.toml:5:9: an exponential ramp needs a range above 0"},
        {"length = 60\n[[step]]\nat = 1\ncurve = \"linear\"\nMix = 4\n",
         "s.toml:4:9: a curve applies to a ramp"},
        {"length = 60\nspeed = 3\n", "s.toml:2:1: unknown key \"speed\""},
        {"name = \"x\"\n", "s.toml:1:1: the schedule gives no length"},
        {"length = 60\n[[step]]\nMix = 4\n", "s.toml:2:1: this step has no `at`"},
        {"length = 60\n[[step]]\nat = 1\n", "s.toml:3:6: this step changes no parameter"},
        {"length = 60\n[start\n", "s.toml:2:"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(Refusal(text).rfind(message, 0), 0u) << "got: " << Refusal(text) << "\nfor:\n" << text;
    EXPECT_EQ(Refusal("length = 60\n[[step]]\nat = 0\nover = 20\nMix = 4\n[[step]]\nat = 20\nMix = 5\n"), "")
        << "a change may follow where a ramp ends";
}

TEST(ScheduleFile, PlannedValuesFollowSetsAndRampsFromTheStartValue)
{
    Schedule schedule;
    std::string error;
    ASSERT_TRUE(
        ParseSchedule("length = \"10m\"\n"
                      "[[step]]\nat = \"1m\"\nover = \"2m\"\ncurve = \"exponential\"\nIsochronic = 2\n"
                      "[[step]]\nat = \"2m\"\nover = \"4m\"\nMix = 90\n"
                      "[[step]]\nat = \"5m\"\nWave = \"golden sine\"\nIsochronic = 4\n",
                      "s.toml", schedule, error))
        << error;
    const std::vector<ParameterInfo> params = Parameters();
    SchedulePlan plan;
    ASSERT_TRUE(plan.Build(schedule, params, error)) << error;
    plan.Begin({8.0, 0.0, 0.0, 50.0});
    EXPECT_DOUBLE_EQ(plan.ValueAt(0, 30), 8.0);
    EXPECT_NEAR(plan.ValueAt(0, 120), 4.0, 1e-12); // halfway up an exponential ramp from 8 to 2
    EXPECT_DOUBLE_EQ(plan.ValueAt(0, 240), 2.0);
    EXPECT_DOUBLE_EQ(plan.ValueAt(0, 300), 4.0);
    EXPECT_DOUBLE_EQ(plan.ValueAt(3, 240), 70.0); // halfway along a linear ramp from 50 to 90
    EXPECT_DOUBLE_EQ(plan.ValueAt(1, 299), 0.0);
    EXPECT_EQ(ValueText(params[1], plan.ValueAt(1, 300)), "Golden Sine");
    EXPECT_DOUBLE_EQ(plan.ValueAt(2, 300), 0.0) << "a parameter the schedule leaves alone keeps its value";
}

TEST(ScheduleFile, FadesAreEqualPowerAndExactlyZeroAtBothEnds)
{
    const Fades fades{1000, 100, 300};
    EXPECT_EQ(FadeGain(fades, 0), 0.0);
    EXPECT_EQ(FadeGain(fades, 999), 0.0);
    EXPECT_EQ(FadeGain(fades, 500), 1.0);
    // Equal power: a fade-in and the matching fade-out add up to constant power.
    for (int i = 0; i < 100; ++i) {
        const double in = FadeGain({1000, 100, 0}, i);
        const double out = FadeGain({101, 0, 100}, i); // its last frame is frame 100, where the fade-in ends
        EXPECT_NEAR(in * in + out * out, 1.0, 1e-3) << i;
    }
}

} // namespace
