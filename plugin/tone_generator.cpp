#include "plugin/engine_math.h"
#include "plugin/vstclass.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

// The tone generator: a carrier at "Base Freq" switched by a pulse gate at the
// "Isochronic" rate, mixed into the input with "Mix" and "Pan". The sample loop
// is specialised per block on the carrier wave, the gate mode and whether any
// LFO runs, so that the per-sample work is only the arithmetic the sample
// needs; every variant computes the same samples as the plain definition.

namespace {

using engine::kSilence;

enum GateMode { kGateOff = 0, kGatePlain = 1, kGateGolden = 2 };

// What the sample loop changes, held in locals while a block renders.
struct Voice {
    double carrierPhase;
    double isoPhase;
    double carrierInc;
    double isoInc;
    float mix;
    float pan;
    float round;
    double lfoPhase[2];
    double lfoSquare[2];
    double lfoLast[2];
};

struct LfoSetup {
    bool active;
    int wave;
    int target;
    double inc;
    float amp;
    float base;
};

// What stays fixed for the whole block.
struct BlockSetup {
    double carrierStep;
    double isoStep;
    float panStep;
    float mixStep;
    bool quietPossible; // the block aims at silence: a sample may take the quiet path
    engine::GoldenShape golden;
    double goldenIsoSplit;
    double goldenIsoScale;
    double smoothIn;
    double smoothKeep;
    LfoSetup lfo[2];
};

inline void StepLfo(const BlockSetup& s, Voice& v, int k)
{
    const LfoSetup& l = s.lfo[k];
    const double value = engine::LfoWaveValue(l.wave, v.lfoPhase[k], v.lfoSquare[k], s.smoothIn, s.smoothKeep);
    v.lfoPhase[k] = engine::AdvancePhase(v.lfoPhase[k], l.inc);
    const double x = l.amp * value + l.base;
    switch (l.target) {
    case 1: v.carrierInc = x; break;
    case 2: v.isoInc = x; break;
    case 3: v.round = static_cast<float>(x); break;
    case 4: v.pan = static_cast<float>(x); break;
    case 5: v.mix = static_cast<float>(x); break;
    default: return;
    }
    v.lfoLast[k] = x;
}

// Renders samples [0, n) and returns how many were rendered before the quiet
// path took over (n when it never did).
template <int Wave, int Gate, bool Lfos>
int RenderSamples(const BlockSetup& s, Voice& v, const double* inL, const double* inR, double* outL,
                  double* outR, int n)
{
    Voice w = v; // locals: the compiler keeps them in registers, clear of the buffers
    int i = 0;
    for (; i < n; ++i) {
        if (s.quietPossible && w.mix <= kSilence)
            break;
        if constexpr (Lfos) {
            if (s.lfo[0].active)
                StepLfo(s, w, 0);
            if (s.lfo[1].active)
                StepLfo(s, w, 1);
        }
        w.carrierInc += s.carrierStep;
        w.isoInc += s.isoStep;
        w.mix += s.mixStep;
        w.pan += s.panStep;

        double gate = 1.0;
        if constexpr (Gate != kGateOff) {
            const double r = w.round;
            const double flat = 1.0f - w.round;
            if constexpr (Gate == kGatePlain)
                gate = engine::PlainGate(w.isoPhase, r, flat);
            else
                gate = engine::GoldenGate(w.isoPhase, r, flat, s.goldenIsoSplit, s.goldenIsoScale);
            w.isoPhase = engine::AdvancePhase(w.isoPhase, w.isoInc);
        }

        const double l = inL[i];
        const double r = inR[i];
        const double dry = 1.0f - w.mix;
        if (gate > kSilence) {
            const double tone = engine::CarrierValue<Wave>(w.carrierPhase, s.golden);
            const double mix = w.mix;
            outL[i] = dry * l + static_cast<double>(1.0f - w.pan) * mix * tone * gate;
            outR[i] = dry * r + static_cast<double>(1.0f + w.pan) * mix * tone * gate;
            w.carrierPhase = engine::AdvancePhase(w.carrierPhase, w.carrierInc);
        } else {
            outL[i] = dry * l;
            outR[i] = dry * r;
            w.carrierPhase = 0.0; // every pulse starts the carrier at phase 0
        }
    }
    v = w;
    return i;
}

using RenderFn = int (*)(const BlockSetup&, Voice&, const double*, const double*, double*, double*, int);

template <std::size_t... I>
constexpr std::array<RenderFn, sizeof...(I)> MakeTable(std::index_sequence<I...>)
{
    // Index = (wave × 3 + gate) × 2 + lfos.
    return {&RenderSamples<static_cast<int>(I / 6), static_cast<int>(I / 2 % 3), (I % 2) != 0>...};
}

constexpr auto kRenderTable = MakeTable(std::make_index_sequence<8 * 3 * 2>{});

// Input scaled by 1 − mix: the tone held back, nothing advances.
void RenderQuiet(float mix, const double* inL, const double* inR, double* outL, double* outR, int from, int n)
{
    const double dry = 1.0f - mix;
    for (int i = from; i < n; ++i) {
        const double l = inL[i];
        const double r = inR[i];
        outL[i] = dry * l;
        outR[i] = dry * r;
    }
}

bool UsableRate(double rate)
{
    return std::isfinite(rate) && rate > 0.0;
}

} // namespace

// Audio thread, lock held. No allocation, no I/O.
void VSTCLASS::RenderBlock(double** inputs, double** outputs, int frames)
{
    LockGuard guard(lock);
    const double spwn = 4.0 * ComputeSamplesPerBeat();
    if (!initialised) {
        initialised = true;
        if (UsableRate(SampleRate()))
            engineSampleRate = SampleRate();
        samplesPerWholeNote = spwn;
        for (int index : {kBaseFreq, kIsoRate, kFade, kLfo1RateSynced, kLfo1RateMs, kLfo2RateSynced, kLfo2RateMs})
            ParameterChanged(index);
    } else if (spwn != samplesPerWholeNote) {
        samplesPerWholeNote = spwn;
        ParameterChanged(kLfo1RateSynced);
        ParameterChanged(kLfo2RateSynced);
    }

    // Without a usable sample rate there is no tone to make: hold it back.
    const bool sounding = engineSampleRate > 0.0 && (playAnyway || GetTransportState() != 0);
    const float blockMix = sounding ? mixTarget : 0.0f;
    const int n = frames > 0 ? frames : 0;

    auto targets = [this](int target) { return lfoTarget[0] == target || lfoTarget[1] == target; };
    BlockSetup s{};
    if (n > 0) {
        const std::uint32_t m = std::max(static_cast<std::uint32_t>(n), fadeSamples);
        if (std::fabs(carrierIncTarget - carrierInc) > kSilence || std::fabs(isoIncTarget - isoInc) > kSilence) {
            if (!targets(1))
                s.carrierStep = (carrierIncTarget - carrierInc) / m;
            if (!targets(2))
                s.isoStep = (isoIncTarget - isoInc) / m;
        }
        if (!targets(4))
            s.panStep = (panTarget - panCurrent) / static_cast<float>(n);
        if (!targets(5))
            s.mixStep = (blockMix - mixCurrent) / static_cast<float>(n);
    }

    const double* inL = inputs ? inputs[0] : nullptr;
    const double* inR = inputs ? inputs[1] : nullptr;
    double* outL = outputs ? outputs[0] : nullptr;
    double* outR = outputs ? outputs[1] : nullptr;
    if (n > 0 && inL && inR && outL && outR) {
        int done = 0;
        if (!(blockMix <= kSilence && mixCurrent <= kSilence)) {
            s.quietPossible = blockMix <= kSilence;
            s.golden = {goldenSplit, goldenK1, goldenK2, goldenK3};
            s.goldenIsoSplit = goldenIsoSplit;
            s.goldenIsoScale = goldenIsoScale;
            s.smoothIn = squareSmoothIn;
            s.smoothKeep = squareSmoothKeep;
            for (int k = 0; k < 2; ++k)
                s.lfo[k] = {lfoActive[k], lfoWave[k], lfoTarget[k], lfoInc[k], lfoAmp[k], lfoBase[k]};

            Voice v{carrierPhase, isoPhase, carrierInc, isoInc, mixCurrent, panCurrent, roundAmount,
                    {lfoPhase[0], lfoPhase[1]}, {lfoSquareState[0], lfoSquareState[1]}, {0.0, 0.0}};
            v.lfoLast[0] = v.lfoLast[1] = std::nan("");
            const int waveIndex = wave >= 0 && wave < 8 ? wave : 7;
            const int gateMode = !isochronicOn ? kGateOff : goldenIso ? kGateGolden : kGatePlain;
            const bool lfos = lfoActive[0] || lfoActive[1];
            done = kRenderTable[static_cast<std::size_t>((waveIndex * 3 + gateMode) * 2 + (lfos ? 1 : 0))](
                s, v, inL, inR, outL, outR, n);

            carrierPhase = v.carrierPhase;
            isoPhase = v.isoPhase;
            carrierInc = v.carrierInc;
            isoInc = v.isoInc;
            mixCurrent = v.mix;
            roundAmount = v.round;
            for (int k = 0; k < 2; ++k) {
                lfoPhase[k] = v.lfoPhase[k];
                lfoSquareState[k] = v.lfoSquare[k];
                if (!std::isnan(v.lfoLast[k]))
                    ShowLfoValue(k, static_cast<float>(v.lfoLast[k]));
            }
        }
        RenderQuiet(mixCurrent, inL, inR, outL, outR, done, n);
    }

    panCurrent = panTarget;
    mixCurrent = blockMix;
}

// Lock held by the caller (taken again here).
void VSTCLASS::ResetEngine()
{
    LockGuard guard(lock);
    const double rate = SampleRate();
    if (UsableRate(rate) && rate != engineSampleRate) {
        engineSampleRate = rate;
        for (int index : {kBaseFreq, kIsoRate, kFade, kLfo1RateMs, kLfo2RateMs})
            ParameterChanged(index);
    }
    LfoRestart(0);
    LfoRestart(1);
}
