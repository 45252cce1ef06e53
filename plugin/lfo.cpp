#include "plugin/divisions.h"
#include "plugin/engine_math.h"
#include "plugin/vstclass.h"

#include "core/editor_link.h"

#include <algorithm>

// The two LFOs: their share of ParameterChanged, the per-sample step, the
// phase restart, activity and swing range, and the conversion between free
// and tempo-locked rates when the panel's Sync button is clicked.

namespace {

// Both LFOs lay out their seven parameters alike.
static_assert(kLfo2Target - kLfo1Target == 7 && kLfo2Start - kLfo2Target == 6);

int FirstParam(int lfo)
{
    return lfo == 0 ? kLfo1Target : kLfo2Target;
}

// Parameter index each target modulates ("No Assign" has none).
std::int16_t TargetParam(std::int32_t target)
{
    static constexpr std::int16_t kParams[] = {-1, kBaseFreq, kIsoRate, kRound, kPan, kMix};
    return target >= 0 && target <= 5 ? kParams[target] : std::int16_t{-1};
}

// The smaller of the centre and the upper bound, then the larger of that and
// the lower bound.
float ClampCentre(float centre, float lo, float hi)
{
    return std::max(std::min(centre, hi), lo);
}

} // namespace

void VSTCLASS::LfoParameterChanged(int index, std::int32_t a, float b)
{
    if (index == kLfoRestart) {
        if (a == 1 && !restartLatch) {
            restartLatch = true;
            LfoRestart(0);
            LfoRestart(1);
        } else if (a == 0) {
            restartLatch = false;
        }
        return;
    }
    if (index < kLfo1Target || index > kLfo2Start)
        return;

    const int k = index < kLfo2Target ? 0 : 1;
    const int first = FirstParam(k);
    const int syncedRate = first + 3;
    const int freeRate = first + 4;
    const double sr = engineSampleRate;

    switch (index - first) {
    case 0: { // target
        lfoTarget[k] = static_cast<std::int16_t>(std::clamp(a, 0, 5));
        UpdateLfoActivity(k);
        const std::int16_t old = lfoTargetParam[k];
        const std::int16_t now = TargetParam(lfoTarget[k]);
        if (old >= 0 && old != now)
            ParameterChanged(old); // the parameter's own value takes over again
        lfoTargetParam[k] = now;
        break;
    }
    case 1: // wave; the phase runs on
        lfoWave[k] = static_cast<std::int16_t>(std::clamp(a, 0, 6));
        break;
    case 2: { // sync
        const bool clicked = syncClicked;
        if (lfoSync[k] && a == 0) {
            lfoSync[k] = false;
            HideRateControls(k, false);
            if (sr > 0.0 && initialised && clicked)
                SetParameterFromEngine(freeRate, 1.0 / sr / lfoInc[k] * 6283.185307179586);
            else
                ParameterChanged(freeRate); // a host switched: run at the rate it now sees
        } else if (!lfoSync[k] && a == 1) {
            lfoSync[k] = true;
            HideRateControls(k, true);
            if (initialised && clicked)
                SetParameterFromEngine(syncedRate, FindNearestDivision(lfoInc[k]));
            else
                ParameterChanged(syncedRate);
        }
        break;
    }
    case 3: // tempo-locked rate
        if (lfoSync[k]) {
            const float length = DivisionLength(std::clamp(a, 0, kDivisionCount - 1));
            // Without a host tempo the LFO holds where it is.
            if (samplesPerWholeNote > 0.0)
                lfoInc[k] = static_cast<double>(1.0f / length) / samplesPerWholeNote * engine::kTwoPi;
            else
                lfoInc[k] = 0.0;
        }
        break;
    case 4: // free rate, one cycle every a milliseconds
        if (!lfoSync[k] && sr > 0.0 && a > 0)
            lfoInc[k] = 1.0 / sr / a * 6283.185307179586;
        break;
    case 5: // depth
        lfoDepth[k] = b;
        if (lfoActive[k] && lfoTargetParam[k] >= 0)
            ParameterChanged(lfoTargetParam[k]);
        break;
    case 6: // start
        if (b != lfoStart[k]) {
            lfoStart[k] = b;
            LfoRestart(k);
        }
        break;
    default:
        break;
    }
}

// Audio thread, lock held.
void VSTCLASS::LfoTick(int k)
{
    const double v = engine::LfoWaveValue(lfoWave[k], lfoPhase[k], lfoSquareState[k], squareSmoothIn,
                                          squareSmoothKeep, lfoInc[k] == 0.0);
    lfoPhase[k] = engine::AdvancePhase(lfoPhase[k], lfoInc[k]);
    const double x = lfoAmp[k] * v + lfoBase[k];
    switch (lfoTarget[k]) {
    case 1:
        carrierInc = x;
        break;
    case 2:
        isoInc = x;
        break;
    case 3:
        roundAmount = static_cast<float>(x);
        break;
    case 4:
        panCurrent = static_cast<float>(x);
        break;
    case 5:
        mixCurrent = static_cast<float>(x);
        break;
    default:
        return;
    }
    ShowLfoValue(k, static_cast<float>(x));
}

void VSTCLASS::LfoRestart(int k)
{
    double offset = engine::kHalfPi;
    if (lfoWave[k] == 0 || lfoWave[k] == 3)
        offset = 0.0;
    else if (lfoWave[k] == 5)
        offset = engine::kThreeHalvesPi;
    double phase = static_cast<double>(lfoStart[k] * 2.0f) * engine::kPi + offset;
    if (phase >= engine::kTwoPi)
        phase -= engine::kTwoPi;
    lfoPhase[k] = phase;
}

void VSTCLASS::UpdateLfoActivity(int k)
{
    ShowLfoConflict(1, false);
    lfoActive[k] = lfoTarget[k] > 0;
    ShowLfoActive(k, lfoActive[k]);
    if (lfoTarget[1] > 0) {
        if (lfoTarget[1] == lfoTarget[0]) {
            // LFO 1 wins; LFO 2 waits until one of the targets changes.
            ShowLfoConflict(1, true);
            lfoActive[1] = false;
            ShowLfoActive(1, false);
        } else if (!lfoActive[1]) {
            lfoActive[1] = true;
            ShowLfoActive(1, true);
            // Its swing was last worked out before it yielded, or never.
            UpdateLfoRange(1);
        }
    }
}

void VSTCLASS::UpdateLfoRange(int k)
{
    const float d = lfoDepth[k];
    const double sr = engineSampleRate;
    float lo = 0.0f, hi = 0.0f, amp = 0.0f, base = 0.0f;
    switch (lfoTarget[k]) {
    case 1:
    case 2: {
        if (!(sr > 0.0))
            return; // increments are unknown until the sample rate is
        const bool freq = lfoTarget[k] == 1;
        lo = static_cast<float>((freq ? 125.66370614359172 : 0.06283185307179587) / sr);
        hi = static_cast<float>((freq ? 125663.70614359173 : 3216.990877275948) / sr);
        amp = (hi - lo) * d * 0.5f;
        const float centre = static_cast<float>(freq ? carrierIncTarget : isoIncTarget);
        base = ClampCentre(centre, lo + amp, hi - amp);
        break;
    }
    case 3:
        lo = 0.0f;
        hi = 1.0f;
        amp = d * 0.5f;
        // roundAmount is this LFO's own output; the centre is the setting.
        base = ClampCentre(RoundSetting(), amp, 1.0f - amp);
        break;
    case 4:
        lo = -1.0f;
        hi = 1.0f;
        amp = d;
        base = ClampCentre(panTarget, d - 1.0f, 1.0f - d);
        break;
    case 5:
        lo = 0.00001f;
        hi = 1.0f;
        amp = d * 0.499995f;
        base = ClampCentre(mixTarget, amp + 0.00001f, 1.0f - amp);
        break;
    default:
        return;
    }
    lfoAmp[k] = amp;
    lfoBase[k] = base;
    ShowLfoRange(k, lo, hi);
}

int VSTCLASS::FindNearestDivision(double x) const
{
    double previous = 0.0;
    for (int i = 0; i < kDivisionCount; ++i) {
        const double d = static_cast<double>(1.0f / DivisionLengthSingle(i)) * (1.0 / samplesPerWholeNote) *
                         engine::kTwoPi;
        if (d <= x)
            return d + previous < 2.0 * x ? i - 1 : i;
        previous = d;
    }
    return kDivisionCount;
}

// Any thread; takes the lock.
void VSTCLASS::SetParameterFromEngine(int index, double value)
{
    LockGuard guard(lock);
    IParameter* param = GetParam(index);
    if (!param)
        return;
    BeginParamEdit(index);
    param->SetClamped(value);
    if (EditorLink* view = Editor()) {
        view->paramChangedFromUser(index, param->ReadNormalized());
    } else {
        // What the bound controls would do: snap, tell the host, update the engine.
        const double normalized = param->ReadNormalized();
        param->WriteNormalized(normalized);
        AutomateParam(index, normalized);
        ParameterChanged(index);
    }
    EndParamEdit(index);
}
