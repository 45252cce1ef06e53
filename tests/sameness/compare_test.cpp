#include "render_scenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

std::vector<double> Ramp()
{
    std::vector<double> samples(static_cast<std::size_t>(ScenarioFrames()) * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::ldexp(static_cast<double>(i % 1000) - 500.0, -9);
    return samples;
}

} // namespace

TEST(CompareRenders, DifferencesUpToTheToleranceAgreeAndOneBeyondItFails)
{
    const std::vector<double> a = Ramp();
    EXPECT_TRUE(CompareRenders(a, a, 0.0).ok);

    const std::size_t last = a.size() - 1; // last frame of the last part, right channel
    std::vector<double> b = a;
    b[last] += 0.5;
    EXPECT_TRUE(CompareRenders(a, b, 0.5).ok);
    const ComparisonReport over = CompareRenders(a, b, 0.25);
    EXPECT_FALSE(over.ok);
    ASSERT_EQ(over.parts.size(), kScenario.size());
    EXPECT_EQ(over.parts.back().firstOver, kScenarioFramesPerPart - 1);
    EXPECT_EQ(over.parts.back().maxDiff, 0.5);
    for (std::size_t p = 0; p + 1 < over.parts.size(); ++p)
        EXPECT_EQ(over.parts[p].firstOver, -1) << "part " << p;
}

TEST(CompareRenders, NonFiniteSamplesNeverAgree)
{
    const std::vector<double> a = Ramp();
    const double huge = std::numeric_limits<double>::max();
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        std::vector<double> b = a;
        b[12345] = bad;
        EXPECT_FALSE(CompareRenders(a, b, huge).ok) << bad;
        EXPECT_FALSE(CompareRenders(b, a, huge).ok) << bad;
        EXPECT_FALSE(CompareRenders(b, b, huge).ok) << bad;
    }
}

TEST(CompareRenders, IncompleteRendersAndBadTolerancesFail)
{
    const std::vector<double> a = Ramp();
    std::vector<double> shorter(a.begin(), a.end() - 1);
    std::vector<double> longer = a;
    longer.push_back(0.0);
    EXPECT_FALSE(CompareRenders(a, shorter, 1.0).ok);
    EXPECT_FALSE(CompareRenders(longer, a, 1.0).ok);
    EXPECT_FALSE(CompareRenders({}, {}, 1.0).ok);
    EXPECT_FALSE(CompareRenders(a, a, -1.0).ok);
    EXPECT_FALSE(CompareRenders(a, a, std::numeric_limits<double>::quiet_NaN()).ok);
}
