#include "engine_harness.h"

#include "plugin/divisions.h"

#include "core/editor_link.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr double kTwoPi = 6.283185307179586;

} // namespace

TEST(EngineParameters, IncrementsAreRoundedToTheirSteps)
{
    EngineHarness h(48000.0);
    h.Set(kBaseFreq, 200.0);
    EXPECT_EQ(h.plug.carrierIncTarget, 0.02617993877991494);
    h.Set(kBaseFreq, 200.04);
    EXPECT_EQ(h.plug.carrierIncTarget, 0.02617993877991494);
    h.Set(kBaseFreq, 200.05); // half a step rounds away from zero
    EXPECT_EQ(h.plug.carrierIncTarget, 2001.0 / 48000.0 * 0.6283185307179586);

    h.Set(kIsoRate, 4.004);
    EXPECT_EQ(h.plug.isoIncTarget, 400.0 / 48000.0 * 0.06283185307179587);
    h.Set(kIsoRate, 4.0);
    EXPECT_EQ(h.plug.isoIncTarget, 400.0 / 48000.0 * 0.06283185307179587);
}

TEST(EngineParameters, IncrementsWaitForASampleRate)
{
    VSTCLASS plug(nullptr);
    plug.GetParam(kBaseFreq)->SetClamped(440.0);
    plug.ParameterChanged(kBaseFreq);
    plug.ParameterChanged(kFade);
    EXPECT_EQ(plug.carrierIncTarget, 0.0);
    EXPECT_EQ(plug.fadeSamples, 0u);
}

TEST(EngineParameters, PercentagesAndMixFloor)
{
    EngineHarness h;
    struct Case {
        int index;
        double value;
        float VSTCLASS::*field;
        float expected;
    };
    const Case cases[] = {
        {kMix, 0.0, &VSTCLASS::mixTarget, 0.00001f},
        {kMix, 100.0, &VSTCLASS::mixTarget, 1.0f},
        {kMix, 37.0, &VSTCLASS::mixTarget, 37.0f * 0.01f},
        {kPan, -100.0, &VSTCLASS::panTarget, -1.0f},
        {kPan, 30.4, &VSTCLASS::panTarget, 30.0f * 0.01f},
        {kRound, 75.5, &VSTCLASS::roundAmount, 76.0f * 0.01f},
        {kRound, 0.0, &VSTCLASS::roundAmount, 0.0f},
    };
    for (const Case& c : cases) {
        h.Set(c.index, c.value);
        EXPECT_EQ(h.plug.*c.field, c.expected) << "index " << c.index << " value " << c.value;
    }
}

TEST(EngineParameters, FadeInSamplesSaturates)
{
    EngineHarness h(44100.0);
    h.Set(kFade, 1.0);
    EXPECT_EQ(h.plug.fadeSamples, 11u);
    h.Set(kFade, 90000.0);
    EXPECT_EQ(h.plug.fadeSamples, 992250u);

    // A sample rate no host uses would overflow 32 bits.
    h.plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 3.0e9f);
    EXPECT_EQ(h.plug.fadeSamples, 4294967295u);
}

TEST(EngineParameters, GoldenCoefficientsFollowTheWave)
{
    EngineHarness h;
    const float g = 0.618f;
    h.Set(kWave, 4);
    EXPECT_EQ(h.plug.goldenK1, static_cast<double>(0.5f / g));
    EXPECT_EQ(h.plug.goldenK2, static_cast<double>(0.5f / (1.0f - g)));
    const double k3 = h.plug.goldenK3;
    h.Set(kWave, 5);
    EXPECT_EQ(h.plug.goldenK1, static_cast<double>(0.25f / g));
    EXPECT_EQ(h.plug.goldenK3, k3 * 0.5);
    h.Set(kWave, 6);
    EXPECT_EQ(h.plug.goldenK1, 2.0 / h.plug.goldenSplit);
    const double k6[] = {h.plug.goldenK1, h.plug.goldenK2, h.plug.goldenK3};
    for (int other : {0, 1, 2, 3, 7}) {
        h.Set(kWave, other);
        EXPECT_EQ(h.plug.goldenK1, k6[0]);
        EXPECT_EQ(h.plug.goldenK2, k6[1]);
        EXPECT_EQ(h.plug.goldenK3, k6[2]);
    }
}

TEST(EngineParameters, PulseSwitchRestartsAtTheTopOnlyOnAChange)
{
    EngineHarness h;
    h.Render(100);
    const double moved = h.plug.isoPhase;
    ASSERT_NE(moved, 1.5707963267948966);
    h.Set(kIsoSwitch, 1);
    EXPECT_EQ(h.plug.isoPhase, moved);
    h.Set(kIsoSwitch, 0);
    EXPECT_EQ(h.plug.mixCurrent, 0.0f);
    h.Set(kIsoSwitch, 1);
    EXPECT_EQ(h.plug.isoPhase, 1.5707963267948966);
}

TEST(EngineParameters, DivisionLengthsMatchTheirNames)
{
    const double expected[] = {1 / 32.0, 1 / 24.0, 3 / 64.0, 1 / 16.0, 1 / 12.0, 3 / 32.0, 1 / 8.0,  1 / 6.0,
                               3 / 16.0, 1 / 4.0,  1 / 3.0,  3 / 8.0,  1 / 2.0,  2 / 3.0,  3 / 4.0,  1.0,
                               4 / 3.0,  3 / 2.0,  2.0,      8 / 3.0,  3.0,      4.0,      16 / 3.0, 6.0,
                               8.0,      32 / 3.0, 12.0,     16.0,     64 / 3.0, 24.0,     32.0};
    for (int i = 0; i < kDivisionCount; ++i) {
        EXPECT_NEAR(DivisionLength(i), expected[i], expected[i] * 1e-6) << i;
        EXPECT_NEAR(DivisionLengthSingle(i), expected[i], expected[i] * 1e-6) << i;
        if (i > 0) {
            EXPECT_GT(DivisionLengthSingle(i), DivisionLengthSingle(i - 1));
        }
    }
}

TEST(EngineLfo, TempoLockedRateFollowsTheHostTempo)
{
    EngineHarness h(48000.0, 120.0);
    h.Set(kLfo1RateSynced, 9); // "1/4"
    h.Render(16);
    EXPECT_EQ(h.plug.samplesPerWholeNote, 96000.0);
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[0], 24000.0, 1e-6);

    TestTime().tempo = 60.0; // the next block follows
    h.Render(16);
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[0], 48000.0, 1e-6);
}

TEST(EngineLfo, FreeRateInMilliseconds)
{
    EngineHarness h(44100.0);
    h.Set(kLfo1Sync, 0);
    h.Set(kLfo1RateMs, 2000);
    h.Render(16);
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[0], 88200.0, 1e-6);
    // A new sample rate reaches the free rate at once.
    h.plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[0], 96000.0, 1e-6);
}

TEST(EngineLfo, PanelSyncClickConvertsTheRate)
{
    EngineHarness h(48000.0, 120.0);
    h.Set(kLfo1RateSynced, 9); // "1/4": 500 ms at 120 bpm
    h.Render(16);
    h.plug.syncClicked = true;
    h.Set(kLfo1Sync, 0);
    EXPECT_EQ(h.plug.GetParam(kLfo1RateMs)->Value(), 500.0);
    EXPECT_FALSE(h.plug.syncClicked);

    // Back on: the nearest division is chosen on increments.
    for (auto [ms, division] : {std::pair{700.0, 10}, {707.0, 11}, {500.0, 9}, {60.0, 0}, {64000.0, 30}}) {
        h.Set(kLfo1RateMs, ms);
        h.plug.syncClicked = true;
        h.Set(kLfo1Sync, 1);
        EXPECT_EQ(h.plug.GetParam(kLfo1RateSynced)->Value(), division) << ms << " ms";
        h.Set(kLfo1Sync, 0); // a host switch: no conversion
        EXPECT_EQ(h.plug.GetParam(kLfo1RateMs)->Value(), ms);
    }
}

TEST(EngineLfo, NearestDivisionAtTheEdges)
{
    EngineHarness h(48000.0, 120.0);
    h.Render(16);
    const double quarter = kTwoPi / 24000.0;
    EXPECT_EQ(h.plug.FindNearestDivision(quarter), 9);
    EXPECT_EQ(h.plug.FindNearestDivision(1.0), -1); // faster than "1/32"
    EXPECT_EQ(h.plug.FindNearestDivision(0.0), 31); // slower than "32/1"
}

TEST(EngineLfo, HostSyncSwitchRunsAtTheRateTheHostSees)
{
    EngineHarness h(48000.0, 120.0);
    h.Set(kLfo1RateSynced, 9);
    h.Set(kLfo1RateMs, 1000);
    h.Render(16);
    ASSERT_NEAR(kTwoPi / h.plug.lfoInc[0], 24000.0, 1e-6);
    h.Set(kLfo1Sync, 0);
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[0], 48000.0, 1e-6); // 1000 ms
    EXPECT_EQ(h.plug.GetParam(kLfo1RateMs)->Value(), 1000.0);
    h.Set(kLfo1Sync, 1);
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[0], 24000.0, 1e-6);
    EXPECT_EQ(h.plug.GetParam(kLfo1RateSynced)->Value(), 9.0);
}

TEST(EngineLfo, SwingRanges)
{
    EngineHarness h;
    h.Set(kPan, 30);
    h.Set(kLfo1Depth, 100);
    h.Set(kLfo1Target, 4);
    EXPECT_EQ(h.plug.lfoAmp[0], 1.0f);
    EXPECT_EQ(h.plug.lfoBase[0], 0.0f);

    h.Set(kRound, 75);
    h.Set(kLfo1Depth, 40);
    h.Set(kLfo1Target, 3);
    EXPECT_FLOAT_EQ(h.plug.lfoAmp[0], 0.2f);
    EXPECT_FLOAT_EQ(h.plug.lfoBase[0], 0.75f);
    h.Set(kLfo1Depth, 60);
    EXPECT_FLOAT_EQ(h.plug.lfoAmp[0], 0.3f);
    EXPECT_FLOAT_EQ(h.plug.lfoBase[0], 0.7f);

    // The LFO rewrites roundAmount every sample; the centre stays on the setting.
    h.Set(kLfo1Depth, 40);
    h.Render(5000);
    EXPECT_NE(h.plug.roundAmount, 0.75f);
    h.Set(kLfo1Depth, 40);
    EXPECT_FLOAT_EQ(h.plug.lfoBase[0], 0.75f);

    h.Set(kMix, 100);
    h.Set(kLfo1Depth, 100);
    h.Set(kLfo1Target, 5);
    EXPECT_EQ(h.plug.lfoAmp[0], 0.499995f);
    EXPECT_EQ(h.plug.lfoBase[0], std::max(std::min(1.0f, 1.0f - 0.499995f), 0.499995f + 0.00001f));

    h.Set(kBaseFreq, 20000);
    h.Set(kLfo1Depth, 10);
    h.Set(kLfo1Target, 1);
    const float hi = static_cast<float>(125663.70614359173 / 48000.0);
    EXPECT_EQ(h.plug.lfoBase[0], hi - h.plug.lfoAmp[0]); // pushed inwards at the top
}

TEST(EngineLfo, SecondLfoYieldsASharedTarget)
{
    EngineHarness h;
    h.Set(kLfo1Target, 4);
    h.Set(kLfo2Depth, 50);
    h.Set(kLfo2Target, 4);
    EXPECT_TRUE(h.plug.lfoActive[0]);
    EXPECT_FALSE(h.plug.lfoActive[1]);
    h.Set(kLfo1Target, 3);
    EXPECT_TRUE(h.plug.lfoActive[1]);
    EXPECT_EQ(h.plug.lfoAmp[1], 0.5f); // its swing is worked out when it runs again

    const double before = h.plug.lfoPhase[1];
    h.Render(64);
    EXPECT_NE(h.plug.lfoPhase[1], before);
}

TEST(EngineLfo, RestartStartAndWave)
{
    EngineHarness h;
    h.Set(kLfo1Target, 4);
    h.Render(300);
    const double running = h.plug.lfoPhase[0];
    ASSERT_NE(running, 0.0);
    h.Set(kLfo1Wave, 1); // keeps the phase
    EXPECT_EQ(h.plug.lfoPhase[0], running);
    h.Set(kLfo1Start, 0); // 0 to 0: no restart
    EXPECT_EQ(h.plug.lfoPhase[0], running);
    h.Set(kLfo1Start, 50); // triangle: π + π/2
    EXPECT_EQ(h.plug.lfoPhase[0], static_cast<double>(0.5f * 2.0f) * 3.141592653589793 + 1.5707963267948966);

    h.Render(300);
    h.Set(kLfoRestart, 1);
    EXPECT_EQ(h.plug.lfoPhase[0], static_cast<double>(0.5f * 2.0f) * 3.141592653589793 + 1.5707963267948966);
    h.Render(300);
    const double held = h.plug.lfoPhase[0];
    h.Set(kLfoRestart, 1); // still held: no second restart
    EXPECT_EQ(h.plug.lfoPhase[0], held);
    h.Set(kLfoRestart, 0);
    h.Set(kLfo1Wave, 5);
    h.Set(kLfo1Start, 100); // 2π + 3π/2, less 2π once
    h.Set(kLfoRestart, 1);
    EXPECT_NEAR(h.plug.lfoPhase[0], 4.71238898038469, 1e-12);
}

TEST(EngineLfo, TargetChangeHandsTheParameterBack)
{
    EngineHarness h;
    h.Set(kLfo1Target, 1);
    h.Render(1000);
    h.Set(kBaseFreq, 300);
    const double target = h.plug.carrierIncTarget;
    h.Set(kLfo1Target, 0);
    EXPECT_EQ(h.plug.carrierIncTarget, target);
    EXPECT_EQ(h.plug.lfoTargetParam[0], -1);
    EXPECT_FALSE(h.plug.lfoActive[0]);
}

TEST(EngineLfo, EngineChangesReachTheHostAsAGesture)
{
    EngineHarness h;
    h.Render(16);
    TestTime().told.clear();
    h.plug.SetParameterFromEngine(kLfo1RateSynced, 99.0); // clamped to the range
    EXPECT_EQ(h.plug.GetParam(kLfo1RateSynced)->Value(), 30.0);
    EXPECT_EQ(TestTime().told,
              (std::vector<int>{vst2::kHostBeginEdit, vst2::kHostAutomate, vst2::kHostEndEdit}));
    EXPECT_EQ(h.plug.lfoInc[0], static_cast<double>(1.0f / DivisionLength(30)) / 96000.0 * kTwoPi);
    h.plug.SetParameterFromEngine(kLfo1RateSynced, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(h.plug.GetParam(kLfo1RateSynced)->Value(), 0.0);
    h.plug.SetParameterFromEngine(99, 1.0); // no such parameter: nothing happens
}

namespace {

// Stands in for the panel: records what the engine asks of it and, like the
// bound controls, pushes an engine-made change back through the editor path.
struct PanelLog {
    std::vector<std::pair<int, bool>> hidden;
    std::vector<int> fromEngine;
};

class FakePanel : public EditorLink {
public:
    FakePanel(VSTCLASS& owner, PanelLog& record) : plug(owner), log(record) {}
    void UpdateControlsForParameter(int, double, bool) override {}
    void paramChangedFromUser(int index, double normalized) override
    {
        log.fromEngine.push_back(index);
        plug.SetParameterFromEditor(index, normalized);
    }
    void hideBoundControls(int index, bool hide) override { log.hidden.emplace_back(index, hide); }
    bool createCanvas() override { return true; }
    void* openWindow(void*) override { return nullptr; }
    void closeWindow() override {}
    bool wheelFromHost(float) override { return false; }
    void armEndEditCountdown(int) override {}
    void clearEndEditCountdown() override {}
    int FrameRate() const override { return 24; }
    int Width() const override { return 550; }
    int Height() const override { return 365; }

private:
    VSTCLASS& plug;
    PanelLog& log;
};

} // namespace

TEST(EngineLfo, SyncSwitchShowsOneRateControlAndGoesThroughThePanel)
{
    EngineHarness h(48000.0, 120.0);
    PanelLog log;
    h.plug.AttachEditor(new FakePanel(h.plug, log));
    h.Set(kLfo2RateSynced, 9);
    h.Render(16);

    h.Set(kLfo2Sync, 0); // from the host: controls swap, no conversion
    using Hide = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(log.hidden, (Hide{{kLfo2RateSynced, true}, {kLfo2RateMs, false}}));
    EXPECT_TRUE(log.fromEngine.empty());

    log.hidden.clear();
    h.Set(kLfo2RateMs, 700);
    h.plug.syncClicked = true;
    h.Set(kLfo2Sync, 1); // a panel click: the controls take the nearest division
    EXPECT_EQ(log.hidden, (Hide{{kLfo2RateSynced, false}, {kLfo2RateMs, true}}));
    EXPECT_EQ(log.fromEngine, std::vector<int>{kLfo2RateSynced});
    EXPECT_EQ(h.plug.GetParam(kLfo2RateSynced)->Value(), 10.0);
    EXPECT_EQ(h.plug.lfoInc[1], static_cast<double>(1.0f / DivisionLength(10)) / 96000.0 * kTwoPi);
}
