#include "plugin/vstclass.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>

namespace {

std::string Display(VSTCLASS& plug, int index)
{
    char text[32];
    IParameter* p = plug.GetParam(index);
    p->GetDisplay(p->Value(), false, text, sizeof text);
    return text;
}

} // namespace

TEST(PluginDefinition, ParameterTable)
{
    VSTCLASS plug(nullptr);
    struct Row {
        int index;
        const char* name;
        ParameterKind kind;
        double def, min, max, step;
        const char* label;
        double shape;
        int texts;
    };
    using K = ParameterKind;
    const Row rows[] = {
        {0, "Base Freq", K::Double, 200, 20, 20000, 0.1, "Hz", 2, 0},
        {1, "Isochronic", K::Double, 4, 0.01, 512, 0.01, "Hz", 1, 0},
        {2, "Round", K::Int, 75, 0, 100, 1, "%", 1, 0},
        {3, "Wave", K::Enum, 0, 0, 7, 1, "", 1, 8},
        {4, "Pan", K::Int, 0, -100, 100, 1, "%", 1, 0},
        {5, "Golden iso", K::Enum, 0, 0, 1, 1, "", 1, 2},
        {6, "Isochronic On", K::Enum, 1, 0, 1, 1, "", 1, 2},
        {7, "Play Anyway", K::Enum, 0, 0, 1, 1, "", 1, 2},
        {8, "Fade", K::Int, 1000, 1, 90000, 1, "ms", 1, 0},
        {9, "Mix", K::Int, 50, 0, 100, 1, "%", 1, 0},
        {10, "LFO1 Target", K::Enum, 0, 0, 5, 1, "", 1, 6},
        {11, "LFO1 Wave", K::Enum, 0, 0, 6, 1, "", 1, 7},
        {12, "LFO1 Sync", K::Enum, 1, 0, 1, 1, "", 1, 2},
        {13, "LFO1 Rate", K::Enum, 15, 0, 30, 1, "", 1, 31},
        {14, "LFO1 Free Rate", K::Int, 2000, 60, 64000, 1, "ms", 2, 0},
        {15, "LFO1 Depth", K::Int, 90, 0, 100, 1, "%", 1, 0},
        {16, "LFO1 Start", K::Int, 0, 0, 100, 1, "%", 1, 0},
        {17, "LFO2 Target", K::Enum, 0, 0, 5, 1, "", 1, 6},
        {18, "LFO2 Wave", K::Enum, 0, 0, 6, 1, "", 1, 7},
        {19, "LFO2 Sync", K::Enum, 1, 0, 1, 1, "", 1, 2},
        {20, "LFO2 Rate", K::Enum, 15, 0, 30, 1, "", 1, 31},
        {21, "LFO2 Free Rate", K::Int, 2000, 60, 64000, 1, "ms", 2, 0},
        {22, "LFO2 Depth", K::Int, 90, 0, 100, 1, "%", 1, 0},
        {23, "LFO2 Start", K::Int, 0, 0, 100, 1, "%", 1, 0},
        {24, "LFO Restart", K::None, 0, 0, 1, 1, "", 1, 0},
    };
    ASSERT_EQ(plug.NParams(), 25);
    for (const Row& r : rows) {
        const IParameter* p = plug.GetParam(r.index);
        EXPECT_STREQ(p->GetName(), r.name) << r.index;
        EXPECT_EQ(p->Kind(), r.kind) << r.index;
        EXPECT_EQ(p->Value(), r.def) << r.index;
        EXPECT_EQ(p->Min(), r.min) << r.index;
        EXPECT_EQ(p->Max(), r.max) << r.index;
        EXPECT_EQ(p->Step(), r.step) << r.index;
        EXPECT_STREQ(p->GetLabel(), r.label) << r.index;
        EXPECT_EQ(p->Shape(), r.shape) << r.index;
        EXPECT_EQ(p->GetDisplayTextCount(), r.texts) << r.index;
    }
}

TEST(PluginDefinition, DisplayTextsAndDefaults)
{
    VSTCLASS plug(nullptr);
    EXPECT_EQ(Display(plug, kBaseFreq), "200.0");
    EXPECT_EQ(Display(plug, kIsoRate), "4.00");
    EXPECT_EQ(Display(plug, kLfo1RateSynced), "1/1");
    EXPECT_EQ(Display(plug, kIsoSwitch), "On");
    EXPECT_EQ(Display(plug, kPlayAnyway), "No");
    EXPECT_EQ(Display(plug, kLfo2Sync), "Yes");
    EXPECT_STREQ(plug.GetParam(kWave)->GetDisplayTextForValue(6), "Gold. Triangle");
    EXPECT_STREQ(plug.GetParam(kLfo1Target)->GetDisplayTextForValue(5), "Volume");
    EXPECT_STREQ(plug.GetParam(kLfo2Wave)->GetDisplayTextForValue(3), "Saw Flip");
    EXPECT_STREQ(plug.GetParam(kLfo2RateSynced)->GetDisplayTextForValue(0), "1/32");
    EXPECT_STREQ(plug.GetParam(kLfo2RateSynced)->GetDisplayTextForValue(30), "32/1");
    EXPECT_STREQ(plug.GetParam(kLfo1RateSynced)->GetDisplayTextForValue(11), "1/4D");
}

TEST(PluginDefinition, EngineStateAtConstruction)
{
    VSTCLASS plug(nullptr);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(plug.squareSmoothIn), 0x3C23D700u);
    EXPECT_EQ(plug.squareSmoothIn + plug.squareSmoothKeep, 1.0f);
    EXPECT_EQ(plug.goldenRatio, 0.618f);
    EXPECT_EQ(plug.goldenSplit, 3.8830083370775546);
    EXPECT_EQ(plug.goldenIsoSplit, 2.4001769701020317);
    EXPECT_EQ(plug.goldenIsoScale, 1.3089004238950945);
    EXPECT_TRUE(plug.lfoSync[0] && plug.lfoSync[1]);
    EXPECT_FALSE(plug.initialised);
    EXPECT_EQ(plug.engineSampleRate, 0.0);
}
