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

// What the sample loop changes, held in locals while a block renders. Kept
// apart from the LFOs' state so that nothing takes its address and the
// compiler can hold every field in a register.
struct Voice {
    double carrierPhase;
    double isoPhase;
    double carrierInc;
    double isoInc;
    float mix;
    float pan;
    float round;
};

// What the LFO steps change: phase and smoothed square per LFO, and the last
// value each wrote to its target in the block (NaN when it wrote none).
struct LfoVoices {
    double phase[2];
    double square[2];
    double last[2];
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

// len steps of one LFO from its phase and square state: the values it writes
// to its target, in order.
template <int LfoWave>
void FillLfo(const BlockSetup& s, const LfoSetup& l, double& phase, double& square, double* __restrict values,
             int len)
{
    // Locals, so that the stores to values need not reload them.
    const double inc = l.inc;
    const double amp = l.amp;
    const double base = l.base;
    const double smoothIn = s.smoothIn;
    const double smoothKeep = s.smoothKeep;
    const bool held = inc == 0.0;
    double p = phase;
    double q = square;
    for (int j = 0; j < len; ++j) {
        const double value = engine::LfoWaveValue<LfoWave>(p, q, smoothIn, smoothKeep, held);
        p = engine::AdvancePhase(p, inc);
        values[j] = amp * value + base;
    }
    phase = p;
    square = q;
}

void FillLfo(const BlockSetup& s, LfoVoices& v, int k, double* values, int len)
{
    const LfoSetup& l = s.lfo[k];
    switch (l.wave) {
    case 0:
        FillLfo<0>(s, l, v.phase[k], v.square[k], values, len);
        break;
    case 1:
        FillLfo<1>(s, l, v.phase[k], v.square[k], values, len);
        break;
    case 2:
        FillLfo<2>(s, l, v.phase[k], v.square[k], values, len);
        break;
    case 3:
        FillLfo<3>(s, l, v.phase[k], v.square[k], values, len);
        break;
    case 4:
        FillLfo<4>(s, l, v.phase[k], v.square[k], values, len);
        break;
    case 5:
        FillLfo<5>(s, l, v.phase[k], v.square[k], values, len);
        break;
    default:
        FillLfo<6>(s, l, v.phase[k], v.square[k], values, len);
        break;
    }
}

// The per-sample arithmetic of one carrier/gate set-up: given the LFO targets
// already written for this sample, smooth, gate, mix and advance.
template <int Wave, int Gate>
inline void StepVoice(const BlockSetup& s, Voice& w, double l, double r, double& outL, double& outR)
{
    w.carrierInc += s.carrierStep;
    w.isoInc += s.isoStep;
    w.mix += s.mixStep;
    w.pan += s.panStep;

    double gate = 1.0;
    if constexpr (Gate != kGateOff) {
        const double round = w.round;
        const double flat = 1.0f - w.round;
        if constexpr (Gate == kGatePlain)
            gate = engine::PlainGate(w.isoPhase, round, flat);
        else
            gate = engine::GoldenGate(w.isoPhase, round, flat, s.goldenIsoSplit, s.goldenIsoScale);
        w.isoPhase = engine::AdvancePhase(w.isoPhase, w.isoInc);
    }

    const double dry = 1.0f - w.mix;
    if (gate > kSilence) {
        const double tone = engine::CarrierValue<Wave>(w.carrierPhase, s.golden);
        const double mix = w.mix;
        outL = dry * l + static_cast<double>(1.0f - w.pan) * mix * tone * gate;
        outR = dry * r + static_cast<double>(1.0f + w.pan) * mix * tone * gate;
        w.carrierPhase = engine::AdvancePhase(w.carrierPhase, w.carrierInc);
    } else {
        outL = dry * l;
        outR = dry * r;
        w.carrierPhase = 0.0; // every pulse starts the carrier at phase 0
    }
}

// Renders samples [0, n) and returns how many were rendered before the quiet
// path took over (n when it never did).
template <int Wave, int Gate>
int RenderPlain(const BlockSetup& s, Voice& v, LfoVoices&, const double* inL, const double* inR, double* outL,
                double* outR, int n)
{
    Voice w = v; // locals: the compiler keeps them in registers, clear of the buffers
    int i = 0;
    if (s.quietPossible) {
        for (; i < n && !(w.mix <= kSilence); ++i) {
            const double l = inL[i];
            const double r = inR[i];
            StepVoice<Wave, Gate>(s, w, l, r, outL[i], outR[i]);
        }
    } else {
        // The block aims at a mix above silence: no sample takes the quiet path.
        for (; i < n; ++i) {
            const double l = inL[i];
            const double r = inR[i];
            StepVoice<Wave, Gate>(s, w, l, r, outL[i], outR[i]);
        }
    }
    v = w;
    return i;
}

// With LFOs running. An LFO's values within a block depend only on its own
// state, so they are worked out a chunk ahead in a tight loop of their own and
// then written to their targets sample by sample, as the step would.
template <int Wave, int Gate, bool QuietPossible>
int RenderWithLfosFor(const BlockSetup& s, Voice& v, LfoVoices& lfos, const double* inL, const double* inR,
                      double* outL, double* outR, int n)
{
    constexpr int kChunk = 64;
    // Row t (1 to 5) holds the values an LFO writes to target t, sample by
    // sample; row 0 those of an LFO that writes none. When both LFOs name one
    // target, LFO 2's step comes last and its value stands, so LFO 1 fills
    // row 0. A bit per written row: tested against one register, where five
    // row pointers would crowd the buffer pointers out of the registers.
    double rows[6][kChunk];
    const bool active[2] = {s.lfo[0].active, s.lfo[1].active};
    int row[2];
    for (int k = 0; k < 2; ++k)
        row[k] = active[k] && s.lfo[k].target >= 1 && s.lfo[k].target <= 5 ? s.lfo[k].target : 0;
    if (row[0] == row[1])
        row[0] = 0;
    const unsigned written = (1u << row[0] | 1u << row[1]) & ~1u;
    auto writes = [written](int target) { return (written & (1u << target)) != 0; };

    Voice w = v;
    for (int start = 0; start < n; start += kChunk) {
        const int len = std::min(kChunk, n - start);
        const LfoVoices chunkStart = lfos;
        for (int k = 0; k < 2; ++k)
            if (active[k])
                FillLfo(s, lfos, k, rows[row[k]], len);

        for (int j = 0; j < len; ++j) {
            if (QuietPossible && w.mix <= kSilence) {
                // The LFOs step only on samples that leave the quiet path.
                for (int k = 0; k < 2; ++k) {
                    lfos.phase[k] = chunkStart.phase[k];
                    lfos.square[k] = chunkStart.square[k];
                    if (active[k])
                        FillLfo(s, lfos, k, rows[row[k]], j); // the same values again, j of them
                    if (active[k] && j > 0)
                        lfos.last[k] = rows[row[k]][j - 1];
                }
                v = w;
                return start + j;
            }
            if (writes(1))
                w.carrierInc = rows[1][j];
            if (writes(2))
                w.isoInc = rows[2][j];
            if (writes(3))
                w.round = static_cast<float>(rows[3][j]);
            if (writes(4))
                w.pan = static_cast<float>(rows[4][j]);
            if (writes(5))
                w.mix = static_cast<float>(rows[5][j]);
            const int i = start + j;
            const double l = inL[i];
            const double r = inR[i];
            StepVoice<Wave, Gate>(s, w, l, r, outL[i], outR[i]);
        }
        for (int k = 0; k < 2; ++k)
            if (active[k] && s.lfo[k].target >= 1 && s.lfo[k].target <= 5)
                lfos.last[k] = rows[row[k]][len - 1];
    }
    v = w;
    return n;
}

template <int Wave, int Gate>
int RenderWithLfos(const BlockSetup& s, Voice& v, LfoVoices& lfos, const double* inL, const double* inR,
                   double* outL, double* outR, int n)
{
    return s.quietPossible ? RenderWithLfosFor<Wave, Gate, true>(s, v, lfos, inL, inR, outL, outR, n)
                           : RenderWithLfosFor<Wave, Gate, false>(s, v, lfos, inL, inR, outL, outR, n);
}

using RenderFn = int (*)(const BlockSetup&, Voice&, LfoVoices&, const double*, const double*, double*,
                         double*, int);

template <std::size_t... I>
constexpr std::array<RenderFn, sizeof...(I)> MakeTable(std::index_sequence<I...>)
{
    // Index = (wave × 3 + gate) × 2 + lfos.
    return {((I % 2) != 0 ? &RenderWithLfos<static_cast<int>(I / 6), static_cast<int>(I / 2 % 3)>
                          : &RenderPlain<static_cast<int>(I / 6), static_cast<int>(I / 2 % 3)>)...};
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

// The block's preparation, before any sample: the first block's set-up, a
// tempo change, and the transport. Returns the mix the block aims at.
float VSTCLASS::StartBlock()
{
    const double spwn = 4.0 * ComputeSamplesPerBeat();
    if (!initialised) {
        initialised = true;
        if (UsableRate(SampleRate()))
            engineSampleRate = SampleRate();
        samplesPerWholeNote = spwn;
        for (int index :
             {kBaseFreq, kIsoRate, kFade, kLfo1RateSynced, kLfo1RateMs, kLfo2RateSynced, kLfo2RateMs})
            ParameterChanged(index);
    } else if (spwn != samplesPerWholeNote) {
        samplesPerWholeNote = spwn;
        ParameterChanged(kLfo1RateSynced);
        ParameterChanged(kLfo2RateSynced);
    }

    // Without a usable sample rate there is no tone to make: hold it back.
    const bool sounding = engineSampleRate > 0.0 && (playAnyway || GetTransportState() != 0);
    return sounding ? mixTarget : 0.0f;
}

// The level ramps end on their targets, whatever the LFOs did.
void VSTCLASS::FinishBlock(float blockMix)
{
    panCurrent = panTarget;
    mixCurrent = blockMix;
}

// Audio thread, lock held. A block the tone is held back from and silent in
// from its first sample takes the quiet path throughout: its samples are the
// input times 1 − mix and nothing but the block's start and finish changes.
bool VSTCLASS::RenderBlockAsGain(int, double& gain)
{
    LockGuard guard(lock);
    const float blockMix = StartBlock();
    if (!(blockMix <= kSilence && mixCurrent <= kSilence)) {
        // The tone sounds: RenderBlock follows and renders it, started.
        startedBlockMix = blockMix;
        blockStarted = true;
        return false;
    }
    gain = static_cast<double>(1.0f - mixCurrent);
    FinishBlock(blockMix);
    return true;
}

// Audio thread, lock held. No allocation, no I/O.
void VSTCLASS::RenderBlock(double** inputs, double** outputs, int frames)
{
    LockGuard guard(lock);
    const float blockMix = blockStarted ? startedBlockMix : StartBlock();
    blockStarted = false;
    const int n = frames > 0 ? frames : 0;

    auto targets = [this](int target) { return lfoTarget[0] == target || lfoTarget[1] == target; };
    BlockSetup s{};
    if (n > 0) {
        const std::uint32_t m = std::max(static_cast<std::uint32_t>(n), fadeSamples);
        if (std::fabs(carrierIncTarget - carrierInc) > kSilence ||
            std::fabs(isoIncTarget - isoInc) > kSilence) {
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

            Voice v{carrierPhase, isoPhase, carrierInc, isoInc, mixCurrent, panCurrent, roundAmount};
            LfoVoices lfos{{lfoPhase[0], lfoPhase[1]},
                           {lfoSquareState[0], lfoSquareState[1]},
                           {std::nan(""), std::nan("")}};
            const int waveIndex = wave >= 0 && wave < 8 ? wave : 7;
            const int gateMode = !isochronicOn ? kGateOff : goldenIso ? kGateGolden : kGatePlain;
            const bool anyLfo = lfoActive[0] || lfoActive[1];
            done = kRenderTable[static_cast<std::size_t>((waveIndex * 3 + gateMode) * 2 + (anyLfo ? 1 : 0))](
                s, v, lfos, inL, inR, outL, outR, n);

            carrierPhase = v.carrierPhase;
            isoPhase = v.isoPhase;
            carrierInc = v.carrierInc;
            isoInc = v.isoInc;
            mixCurrent = v.mix;
            roundAmount = v.round;
            for (int k = 0; k < 2; ++k) {
                lfoPhase[k] = lfos.phase[k];
                lfoSquareState[k] = lfos.square[k];
                if (!std::isnan(lfos.last[k]))
                    ShowLfoValue(k, static_cast<float>(lfos.last[k]));
            }
        }
        RenderQuiet(mixCurrent, inL, inR, outL, outR, done, n);
    }

    FinishBlock(blockMix);
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
    blockStarted = false; // the next block starts afresh, after the reset
}
