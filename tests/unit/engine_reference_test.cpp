// Renders blocks through the engine and through a plain scalar model written
// straight from the engine's formulas, and requires the two to agree bit for
// bit, sample by sample, for every carrier wave, gate mode and LFO set-up.

#include "engine_harness.h"
#include "plugin/block_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

const double PI = 3.141592653589793;
const double TWO_PI = 6.283185307179586;

// The engine state a block reads and writes, advanced by the formulas.
struct Model : BlockState {
    int quietSamples = 0;

    static Model Of(const VSTCLASS& p) { return Model{BlockStateOf(p)}; }

    void Tick(int k)
    {
        const double p = lfoPhase[k];
        double v = 0;
        if (lfoWave[k] == 0) {
            v = std::sin(p);
        } else if (lfoWave[k] == 1) {
            if (p < PI)
                v = p * 0.6366197723675814 - 1;
            else
                v = 3 - p * 0.6366197723675814;
        } else if (lfoWave[k] == 2) {
            if (p < PI / 2)
                v = p * 1.2732395447351628 - 1;
            else
                v = 1.6666666666666667 - p * 0.4244131815783876;
        } else if (lfoWave[k] == 3) {
            if (p < 4.71238898038469)
                v = p * 0.4244131815783876 - 1;
            else
                v = 7 - p * 1.2732395447351628;
        } else if (lfoWave[k] == 4) {
            double q = -1;
            if (p < PI)
                q = 1;
            v = (double)squareSmoothIn * q + (double)squareSmoothKeep * lfoSquareState[k];
            lfoSquareState[k] = v;
        } else if (lfoWave[k] == 5) {
            v = 2 * std::sin(p / 2) - 1;
        } else {
            v = 2 * std::sin(p / 2 + PI) + 1;
        }
        lfoPhase[k] += lfoInc[k];
        if (lfoPhase[k] >= TWO_PI)
            lfoPhase[k] -= TWO_PI;
        const double x = (double)lfoAmp[k] * v + (double)lfoBase[k];
        if (lfoTarget[k] == 1)
            carrierInc = x;
        if (lfoTarget[k] == 2)
            isoInc = x;
        if (lfoTarget[k] == 3)
            roundAmount = (float)x;
        if (lfoTarget[k] == 4)
            panCurrent = (float)x;
        if (lfoTarget[k] == 5)
            mixCurrent = (float)x;
    }

    double Carrier() const
    {
        const double p = carrierPhase;
        const double s = goldenSplit;
        switch (wave) {
        case 0:
            return std::sin(p);
        case 1:
            return p < PI ? p * 0.6366197723675814 - 1 : 3 - p * 0.6366197723675814;
        case 2:
            return 1 - p * 0.3183098861837907;
        case 3:
            return p < PI ? 1 : -1;
        case 4:
            return p < s ? std::cos(p * goldenK1) : std::cos(p * goldenK2 + goldenK3);
        case 5:
            return p < s ? 2 * std::sin(p * goldenK1) - 1 : 2 * std::sin(p * goldenK2 + goldenK3) - 1;
        case 6:
            return p < s ? p * goldenK1 - 1 : goldenK2 - p * goldenK3;
        default:
            return p < s ? 1 : -1;
        }
    }

    bool Targeted(int target) const { return lfoTarget[0] == target || lfoTarget[1] == target; }

    void Block(const double* inL, const double* inR, double* outL, double* outR, int n, bool transport)
    {
        float blockMix = 0;
        if (playAnyway || transport)
            blockMix = mixTarget;
        double carrierStep = 0, isoStep = 0;
        float panStep = 0, mixStep = 0;
        if (n > 0) {
            const std::uint32_t m = std::max((std::uint32_t)n, fadeSamples);
            if (std::fabs(carrierIncTarget - carrierInc) > 1e-24 ||
                std::fabs(isoIncTarget - isoInc) > 1e-24) {
                if (!Targeted(1))
                    carrierStep = (carrierIncTarget - carrierInc) / m;
                if (!Targeted(2))
                    isoStep = (isoIncTarget - isoInc) / m;
            }
            if (!Targeted(4))
                panStep = (panTarget - panCurrent) / (float)n;
            if (!Targeted(5))
                mixStep = (blockMix - mixCurrent) / (float)n;
        }
        for (int i = 0; i < n; ++i) {
            const double l = inL[i], r = inR[i];
            if (blockMix <= 1e-24 && mixCurrent <= 1e-24) {
                ++quietSamples;
                outL[i] = (double)(1.0f - mixCurrent) * l;
                outR[i] = (double)(1.0f - mixCurrent) * r;
                continue;
            }
            if (lfoActive[0])
                Tick(0);
            if (lfoActive[1])
                Tick(1);
            carrierInc += carrierStep;
            isoInc += isoStep;
            mixCurrent += mixStep;
            panCurrent += panStep;
            const double w = Carrier();
            double gate = 1;
            if (isochronicOn) {
                const double t = isoPhase;
                const double rr = roundAmount, flat = (double)(1.0f - roundAmount);
                if (!goldenIso)
                    gate = t < PI ? rr * std::sin(t) + flat : -1;
                else
                    gate = t < goldenIsoSplit ? rr * std::sin(t * goldenIsoScale) + flat : -1;
                isoPhase += isoInc;
                if (isoPhase >= TWO_PI)
                    isoPhase -= TWO_PI;
            }
            if (gate > 1e-24) {
                outL[i] = (double)(1.0f - mixCurrent) * l +
                          (double)(1.0f - panCurrent) * (double)mixCurrent * w * gate;
                outR[i] = (double)(1.0f - mixCurrent) * r +
                          (double)(1.0f + panCurrent) * (double)mixCurrent * w * gate;
                carrierPhase += carrierInc;
                if (carrierPhase >= TWO_PI)
                    carrierPhase -= TWO_PI;
            } else {
                outL[i] = (double)(1.0f - mixCurrent) * l;
                outR[i] = (double)(1.0f - mixCurrent) * r;
                carrierPhase = 0;
            }
        }
        panCurrent = panTarget;
        mixCurrent = blockMix;
    }
};

struct LfoSetup {
    int target, wave, depth;
};

struct Config {
    int wave;
    int isoSwitch, golden, round;
    LfoSetup lfo1, lfo2;
    bool playing;
};

std::string Describe(const Config& c)
{
    return "wave " + std::to_string(c.wave) + " iso " + std::to_string(c.isoSwitch) + " golden " +
           std::to_string(c.golden) + " round " + std::to_string(c.round) + " lfo1 " +
           std::to_string(c.lfo1.target) + "/" + std::to_string(c.lfo1.wave) + " lfo2 " +
           std::to_string(c.lfo2.target) + "/" + std::to_string(c.lfo2.wave);
}

void CheckAgainstModel(const Config& c)
{
    EngineHarness h(44100.0, 133.0, c.playing);
    h.Set(kWave, c.wave);
    h.Set(kIsoSwitch, c.isoSwitch);
    h.Set(kGoldenIso, c.golden);
    h.Set(kRound, c.round);
    h.Set(kIsoRate, 37.5);
    h.Set(kFade, 20);
    h.Set(kLfo1Sync, 0);
    h.Set(kLfo1RateMs, 60);
    h.Set(kLfo2RateSynced, 0);
    h.Set(kLfo1Wave, c.lfo1.wave);
    h.Set(kLfo1Depth, c.lfo1.depth);
    h.Set(kLfo1Target, c.lfo1.target);
    h.Set(kLfo2Wave, c.lfo2.wave);
    h.Set(kLfo2Depth, c.lfo2.depth);
    h.Set(kLfo2Target, c.lfo2.target);
    h.Render(7, 0.1);

    const int sizes[] = {513, 1, 64, 2000, 0, 300};
    int block = 0;
    for (int n : sizes) {
        // Something moves in every block: pan, mix, frequency.
        h.Set(kPan, -80 + 37 * block);
        h.Set(kMix, block == 3 ? 0 : 30 + 13 * block);
        h.Set(kBaseFreq, 150.0 + 900.0 * block);
        if (block == 4)
            h.Set(kPlayAnyway, 1);

        Stereo in(n), out(n), expected(n);
        for (int i = 0; i < n; ++i) {
            in.left[i] = std::sin(i * 0.01) * 0.5;
            in.right[i] = 0.25 - i * 1e-4;
        }
        Model model = Model::Of(h.plug);
        model.Block(in.left.data(), in.right.data(), expected.left.data(), expected.right.data(), n,
                    TestTime().playing);
        h.plug.RenderBlock(in.Pointers(), out.Pointers(), n);
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(out.left[i], expected.left[i]) << Describe(c) << " block " << block << " sample " << i;
            ASSERT_EQ(out.right[i], expected.right[i])
                << Describe(c) << " block " << block << " sample " << i;
        }
        const Model after = Model::Of(h.plug);
        EXPECT_EQ(after.carrierPhase, model.carrierPhase) << Describe(c);
        EXPECT_EQ(after.isoPhase, model.isoPhase) << Describe(c);
        EXPECT_EQ(after.carrierInc, model.carrierInc) << Describe(c);
        EXPECT_EQ(after.isoInc, model.isoInc) << Describe(c);
        EXPECT_EQ(after.mixCurrent, model.mixCurrent) << Describe(c);
        EXPECT_EQ(after.panCurrent, model.panCurrent) << Describe(c);
        EXPECT_EQ(after.roundAmount, model.roundAmount) << Describe(c);
        EXPECT_EQ(after.lfoPhase[0], model.lfoPhase[0]) << Describe(c);
        EXPECT_EQ(after.lfoPhase[1], model.lfoPhase[1]) << Describe(c);
        EXPECT_EQ(after.lfoSquareState[0], model.lfoSquareState[0]) << Describe(c);
        EXPECT_EQ(after.lfoSquareState[1], model.lfoSquareState[1]) << Describe(c);
        ++block;
    }
}

} // namespace

TEST(EngineReference, EveryWaveAndGateModeMatchesTheFormulas)
{
    for (int wave = 0; wave < 8; ++wave)
        for (auto [isoSwitch, golden] : {std::pair{0, 0}, {1, 0}, {1, 1}})
            for (int round : {0, 75, 100})
                CheckAgainstModel({wave, isoSwitch, golden, round, {0, 0, 90}, {0, 0, 90}, true});
}

TEST(EngineReference, EveryLfoWaveOnEveryTargetMatchesTheFormulas)
{
    for (int target = 1; target <= 5; ++target)
        for (int lfoWave = 0; lfoWave < 7; ++lfoWave) {
            const int other = target % 5 + 1;
            CheckAgainstModel({lfoWave,
                               1,
                               lfoWave % 2,
                               60,
                               {target, lfoWave, 100 - 10 * lfoWave},
                               {other, 6 - lfoWave, 35},
                               true});
            // Both on one target: the second yields.
            CheckAgainstModel({0, 1, 0, 75, {target, lfoWave, 50}, {target, 4, 50}, true});
        }
}

TEST(EngineReference, StoppedTransportRampsOutAndThenPassesThrough)
{
    for (int wave : {0, 4})
        CheckAgainstModel({wave, 1, 0, 75, {4, 0, 90}, {5, 4, 90}, false});
}

TEST(EngineReference, QuietPathTakingOverInsideABlockStopsTheLfos)
{
    // A ramp to silence whose float steps reach 0 before the block ends hands
    // the rest of the block to the quiet path, which must not step the LFOs.
    EngineHarness h(48000.0, 120.0, false);
    h.Set(kLfo1Target, 4);
    h.Set(kLfo2Target, 3);
    h.Set(kLfo2Wave, 4);
    h.Render(16);
    int quietInside = 0;
    // Ramp lengths and starting mixes whose float steps reach 0 one sample early,
    // and neighbours that do not.
    const std::pair<int, int> ramps[] = {{8218, 126}, {8241, 115}, {8245, 103}, {8250, 101},
                                         {8254, 113}, {8219, 126}, {4000, 3},   {100, 7}};
    for (auto [n, trial] : ramps) {
        h.plug.mixCurrent = 0.3f + 0.0017f * static_cast<float>(trial);
        Stereo in(n, 0.5), out(n), expected(n);
        Model model = Model::Of(h.plug);
        model.Block(in.left.data(), in.right.data(), expected.left.data(), expected.right.data(), n, false);
        h.plug.RenderBlock(in.Pointers(), out.Pointers(), n);
        ASSERT_EQ(out.left, expected.left) << "trial " << trial;
        ASSERT_EQ(out.right, expected.right) << "trial " << trial;
        EXPECT_EQ(h.plug.lfoPhase[0], model.lfoPhase[0]) << "trial " << trial;
        EXPECT_EQ(h.plug.lfoPhase[1], model.lfoPhase[1]) << "trial " << trial;
        EXPECT_EQ(h.plug.lfoSquareState[1], model.lfoSquareState[1]) << "trial " << trial;
        quietInside += model.quietSamples > 0;
    }
    EXPECT_GT(quietInside, 0); // the case really occurred
}

TEST(EngineReference, SingleLfoStepMatchesTheFormulas)
{
    EngineHarness h(44100.0);
    h.Set(kLfo1Sync, 0);
    h.Set(kLfo1RateMs, 61);
    h.Render(16);
    for (int target = 1; target <= 5; ++target)
        for (int wave = 0; wave < 7; ++wave) {
            h.Set(kLfo1Wave, wave);
            h.Set(kLfo1Target, target);
            Model model = Model::Of(h.plug);
            for (int i = 0; i < 3000; ++i) {
                h.plug.LfoTick(0);
                model.Tick(0);
            }
            const Model after = Model::Of(h.plug);
            EXPECT_EQ(after.lfoPhase[0], model.lfoPhase[0]) << target << "/" << wave;
            EXPECT_EQ(after.lfoSquareState[0], model.lfoSquareState[0]) << target << "/" << wave;
            EXPECT_EQ(after.carrierInc, model.carrierInc) << target << "/" << wave;
            EXPECT_EQ(after.isoInc, model.isoInc) << target << "/" << wave;
            EXPECT_EQ(after.roundAmount, model.roundAmount) << target << "/" << wave;
            EXPECT_EQ(after.panCurrent, model.panCurrent) << target << "/" << wave;
            EXPECT_EQ(after.mixCurrent, model.mixCurrent) << target << "/" << wave;
        }
}
