#include "engine_harness.h"

#include "plugin/engine_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kTwoPi = 6.283185307179586;

bool AllFinite(const Stereo& s)
{
    for (std::size_t i = 0; i < s.left.size(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i]))
            return false;
    return true;
}

// A hard pulse at 1 Hz: square carrier, full mix, no input, glide settled.
EngineHarness* PulseAt1Hz(EngineHarness& h, int golden, int wave = 3)
{
    h.Set(kWave, wave);
    h.Set(kRound, 0);
    h.Set(kIsoRate, 1.0);
    h.Set(kGoldenIso, golden);
    h.Set(kMix, 100);
    h.Set(kFade, 1);
    h.RenderLong(96000, 4096);
    return &h;
}

} // namespace

TEST(EngineRender, PulsePeriodHoldsTheToneForTheOpenPart)
{
    for (auto [golden, open] : {std::pair{0, 24000.0}, {1, 18336.0}}) {
        EngineHarness h(48000.0);
        PulseAt1Hz(h, golden);
        const Stereo period = h.RenderLong(48000, 4096);
        int sounding = 0;
        for (double v : period.left)
            sounding += v != 0.0;
        EXPECT_NEAR(sounding, open, 1.0) << "golden " << golden;
    }
}

TEST(EngineRender, EveryPulseStartsTheCarrierAtPhaseZero)
{
    EngineHarness h(48000.0);
    PulseAt1Hz(h, 0, 2); // saw: 1 at phase 0
    h.Set(kIsoRate, 9.0);
    const Stereo out = h.RenderLong(48000, 1000);
    int starts = 0;
    for (std::size_t i = 1; i < out.left.size(); ++i)
        if (out.left[i - 1] == 0.0 && out.left[i] != 0.0) {
            EXPECT_EQ(out.left[i], 1.0) << "sample " << i;
            ++starts;
        }
    EXPECT_GE(starts, 8);
}

TEST(EngineRender, QuietPathAdvancesNothingAndGivesTheInputBack)
{
    EngineHarness h(48000.0);
    h.Set(kLfo1Target, 4);
    h.RenderLong(5000, 512, 0.3);
    TestTime().playing = false;
    const Stereo rampOut = h.Render(512, 0.3);
    EXPECT_EQ(h.plug.mixCurrent, 0.0f);
    EXPECT_EQ(rampOut.left[511], 0.3); // the ramp ends on the dry signal

    const double carrier = h.plug.carrierPhase, iso = h.plug.isoPhase, lfo = h.plug.lfoPhase[0];
    const double carrierInc = h.plug.carrierInc;
    Stereo in(300), out(300);
    for (int i = 0; i < 300; ++i)
        in.left[i] = in.right[i] = std::sin(i * 0.37);
    h.plug.RenderBlock(in.Pointers(), out.Pointers(), 300);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
    EXPECT_EQ(h.plug.carrierPhase, carrier);
    EXPECT_EQ(h.plug.isoPhase, iso);
    EXPECT_EQ(h.plug.lfoPhase[0], lfo);
    EXPECT_EQ(h.plug.carrierInc, carrierInc);

    // "Play Anyway" brings the tone back with the transport still stopped.
    h.Set(kPlayAnyway, 1);
    h.Render(300);
    EXPECT_NE(h.plug.carrierPhase, carrier);
}

TEST(EngineRender, ZeroFrameBlockOnlyPrepares)
{
    EngineHarness h(48000.0);
    h.Render(64);
    h.Set(kPan, -40);
    h.Set(kMix, 80);
    const double carrier = h.plug.carrierPhase, inc = h.plug.carrierInc;
    for (int frames : {0, -5}) {
        h.plug.RenderBlock(nullptr, nullptr, frames);
        Stereo none(0);
        h.plug.RenderBlock(none.Pointers(), none.Pointers(), frames);
    }
    EXPECT_EQ(h.plug.panCurrent, h.plug.panTarget);
    EXPECT_EQ(h.plug.mixCurrent, h.plug.mixTarget);
    EXPECT_EQ(h.plug.carrierPhase, carrier);
    EXPECT_EQ(h.plug.carrierInc, inc);
}

TEST(EngineRender, PanExtremesPutTheToneOnOneSideAtTwiceTheLevel)
{
    EngineHarness centre(48000.0), right(48000.0), left(48000.0);
    for (auto [h, pan] : {std::pair{&centre, 0}, {&right, 100}, {&left, -100}}) {
        h->Set(kMix, 100);
        h->Set(kPan, pan);
        h->Set(kBaseFreq, 440);
        h->Render(256); // pan and mix ramp within the first block
    }
    const Stereo c = centre.RenderLong(4096, 512), r = right.RenderLong(4096, 512),
                 l = left.RenderLong(4096, 512);
    double energy = 0.0;
    for (int i = 0; i < 4096; ++i) {
        EXPECT_EQ(r.left[i], 0.0);
        EXPECT_EQ(r.right[i], 2.0 * c.left[i]);
        EXPECT_EQ(l.right[i], 0.0);
        EXPECT_EQ(l.left[i], 2.0 * c.right[i]);
        energy += c.left[i] * c.left[i];
    }
    EXPECT_GT(energy, 100.0);
}

TEST(EngineRender, SampleRateChangeBetweenBlocks)
{
    EngineHarness h(48000.0);
    h.Set(kLfo1Sync, 0);
    h.Set(kLfo2RateSynced, 9);
    h.Render(512);
    const double carrier = h.plug.carrierIncTarget, iso = h.plug.isoIncTarget, lfo = h.plug.lfoInc[0];
    const std::uint32_t fade = h.plug.fadeSamples;
    h.plug.Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(h.plug.engineSampleRate, 96000.0);
    EXPECT_DOUBLE_EQ(h.plug.carrierIncTarget, carrier / 2);
    EXPECT_DOUBLE_EQ(h.plug.isoIncTarget, iso / 2);
    EXPECT_DOUBLE_EQ(h.plug.lfoInc[0], lfo / 2);
    EXPECT_EQ(h.plug.fadeSamples, 2 * fade);
    h.Render(512); // the tempo-locked rate follows with the next block
    EXPECT_NEAR(kTwoPi / h.plug.lfoInc[1], 48000.0, 1e-6);
}

TEST(EngineRender, GoldenShapesMeetAtTheirTurn)
{
    EngineHarness h;
    for (int wave : {4, 5, 6}) {
        h.Set(kWave, wave);
        const engine::GoldenShape g{h.plug.goldenSplit, h.plug.goldenK1, h.plug.goldenK2, h.plug.goldenK3};
        const double s = g.split;
        const double below = engine::CarrierValue(wave, std::nextafter(s, 0.0), g);
        const double at = engine::CarrierValue(wave, s, g);
        EXPECT_NEAR(below, at, 1e-6) << "wave " << wave;
        // The period closes on the value it opened with.
        EXPECT_NEAR(engine::CarrierValue(wave, 0.0, g), engine::CarrierValue(wave, kTwoPi, g), 1e-6) << wave;
        EXPECT_NEAR(std::fabs(at), 1.0, 1e-6) << "wave " << wave;
    }
}

TEST(EngineRender, SyncedLfoWithoutTempoHolds)
{
    EngineHarness h(48000.0, 0.0);
    h.Set(kLfo1Target, 1);
    h.Set(kLfo2Target, 4);
    h.Set(kLfo2Wave, 4);
    const Stereo out = h.RenderLong(10000, 1000);
    EXPECT_TRUE(AllFinite(out));
    EXPECT_EQ(h.plug.lfoInc[0], 0.0);
    const double phase = h.plug.lfoPhase[0];
    const double carrier = h.plug.carrierInc;
    const double square = h.plug.lfoSquareState[1];
    h.Render(1000);
    EXPECT_EQ(h.plug.lfoPhase[0], phase);
    EXPECT_EQ(h.plug.carrierInc, carrier);
    EXPECT_EQ(h.plug.lfoSquareState[1], square); // the smoothed square holds as well

    // The tempo comes and goes again.
    TestTime().tempo = 90.0;
    h.Render(1000);
    EXPECT_GT(h.plug.lfoInc[0], 0.0);
    TestTime().tempo = 0.0;
    EXPECT_TRUE(AllFinite(h.Render(1000)));
    EXPECT_EQ(h.plug.lfoInc[0], 0.0);
}

TEST(EngineRender, PhasesStayInRangeForExtremeIncrements)
{
    EXPECT_EQ(engine::AdvancePhase(6.0, 0.5), 6.0 + 0.5 - kTwoPi);
    EXPECT_EQ(engine::AdvancePhase(1.0, 0.5), 1.5);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double inc : {-0.3, -100.0, 7.0, 1e9, std::numeric_limits<double>::infinity(), nan, -nan}) {
        const double p = engine::AdvancePhase(3.0, inc);
        EXPECT_TRUE(p >= 0.0 && p < kTwoPi) << inc;
    }

    for (float rate : {1.0f, 7.0f, 300.0f}) {
        EngineHarness h(rate);
        h.Set(kBaseFreq, 20000);
        h.Set(kIsoRate, 512);
        h.Set(kLfo1Sync, 0);
        h.Set(kLfo1RateMs, 60);
        h.Set(kLfo1Target, 2);
        h.Set(kLfo2Target, 1);
        const Stereo out = h.RenderLong(2000, 100, 0.5);
        EXPECT_TRUE(AllFinite(out)) << rate;
        for (double p : {h.plug.carrierPhase, h.plug.isoPhase, h.plug.lfoPhase[0], h.plug.lfoPhase[1]})
            EXPECT_TRUE(p >= 0.0 && p < kTwoPi) << "rate " << rate << " phase " << p;
    }
}

TEST(EngineRender, UnusableSampleRateHoldsTheToneBack)
{
    for (double rate :
         {std::numeric_limits<double>::quiet_NaN(), -48000.0, 0.0, std::numeric_limits<double>::infinity()}) {
        TestTime() = {120.0, true, 0, {}};
        EnginePlug plug(TestHostCallback);
        plug.ForceSampleRate(rate);
        plug.Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        plug.Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
        Stereo in(256, 0.25), out(256);
        plug.RenderBlock(in.Pointers(), out.Pointers(), 256);
        EXPECT_EQ(out.left, in.left) << rate;
        EXPECT_EQ(plug.engineSampleRate, 0.0);

        // A usable rate later brings the tone; an odd one after that is ignored.
        plug.ForceSampleRate(44100.0);
        plug.ResetEngine();
        plug.ForceSampleRate(rate);
        plug.ResetEngine();
        EXPECT_EQ(plug.engineSampleRate, 44100.0);
        plug.RenderBlock(in.Pointers(), out.Pointers(), 256);
        plug.RenderBlock(in.Pointers(), out.Pointers(), 256);
        EXPECT_NE(out.left, in.left);
        EXPECT_TRUE(AllFinite(out));
    }
}

TEST(EngineRender, ContinuousToneWithThePulseSwitchOff)
{
    EngineHarness h(48000.0);
    h.Set(kIsoSwitch, 0);
    h.Set(kMix, 100);
    h.Set(kWave, 3);
    const double iso = h.plug.isoPhase;
    const Stereo out = h.RenderLong(48000, 512);
    EXPECT_EQ(h.plug.isoPhase, iso);
    int silent = 0;
    for (int i = 512; i < 48000; ++i)
        silent += out.left[i] == 0.0;
    EXPECT_EQ(silent, 0);
}
