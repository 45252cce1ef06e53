#include "plugin/engine_math.h"
#include "plugin/vstclass.h"

#include "core/bounded_string.h"

#include <cmath>

// Turns a parameter's value into the derived engine state. Values reach the
// engine rounded: tenths of a hertz for "Base Freq", hundredths for the pulse
// rate, whole units otherwise; percentages become single-precision factors.

namespace {

std::int32_t RoundedSetting(int index, double value)
{
    if (index == kBaseFreq)
        return RoundHalfAway(value * 10.0);
    if (index == kIsoRate)
        return RoundHalfAway(value * 100.0);
    return RoundHalfAway(value);
}

float Percent(std::int32_t a)
{
    return static_cast<float>(a) * 0.01f;
}

} // namespace

// Any thread; takes the lock (recursive: RenderBlock and ResetEngine call it too).
void VSTCLASS::ParameterChanged(int index)
{
    LockGuard guard(lock);
    const IParameter* param = GetParam(index);
    if (!param)
        return;

    const std::int32_t a = RoundedSetting(index, param->Value());
    const float b = Percent(a);
    const double sr = engineSampleRate;

    switch (index) {
    case kBaseFreq:
        if (sr > 0.0)
            carrierIncTarget = static_cast<double>(static_cast<float>(a)) / sr * 0.6283185307179586;
        break;
    case kIsoRate:
        if (sr > 0.0)
            isoIncTarget = static_cast<double>(static_cast<float>(a)) / sr * 0.06283185307179587;
        ShowIsoRate(b);
        break;
    case kRound:
        roundAmount = b;
        break;
    case kWave:
        wave = a;
        ApplyGoldenCoefficients();
        break;
    case kPan:
        panTarget = b;
        break;
    case kGoldenIso:
        goldenIso = a > 0.5;
        break;
    case kIsoSwitch:
        if (a == 1 && !isochronicOn) {
            isochronicOn = true;
            isoPhase = engine::kHalfPi; // the first pulse starts at the top of its envelope
        } else if (a == 0 && isochronicOn) {
            isochronicOn = false;
            mixCurrent = 0.0f; // the now continuous tone ramps in over the next block
        }
        break;
    case kPlayAnyway:
        playAnyway = a > 0.5;
        break;
    case kFade:
        // A quarter of the set time; saturates for absurd sample rates.
        fadeSamples = engine::RoundToCount(static_cast<double>(a) * sr * 0.00025);
        break;
    case kMix:
        mixTarget = static_cast<double>(b) >= 0.00001 ? b : 0.00001f;
        break;
    default:
        LfoParameterChanged(index, a, b);
        break;
    }

    // A change of the modulated parameter, the target or the depth moves the
    // centre of the LFO's swing.
    for (int k = 0; k < 2; ++k) {
        const int targetIndex = k == 0 ? kLfo1Target : kLfo2Target;
        const int depthIndex = k == 0 ? kLfo1Depth : kLfo2Depth;
        if (lfoActive[k] && (index == targetIndex || index == depthIndex || index == lfoTargetParam[k]))
            UpdateLfoRange(k);
    }
    syncClicked = false;
}

void VSTCLASS::ApplyGoldenCoefficients()
{
    const float g = goldenRatio;
    switch (wave) {
    case 4:
        goldenK1 = 0.5f / g;
        goldenK2 = 0.5f / (1.0f - g);
        goldenK3 = static_cast<double>(1.0f - 2.0f * g) * engine::kPi / static_cast<double>(1.0f - g);
        break;
    case 5:
        goldenK1 = 0.25f / g;
        goldenK2 = 0.25f / (1.0f - g);
        goldenK3 = static_cast<double>(1.0f - 2.0f * g) * engine::kPi / static_cast<double>(1.0f - g) * 0.5;
        break;
    case 6:
        goldenK1 = 2.0 / goldenSplit;
        goldenK2 = (g + 1.0f) / (1.0f - g);
        goldenK3 = static_cast<double>(1.0f / (1.0f - g)) * engine::kOneOverPi;
        break;
    default:
        break; // the other waves do not use the coefficients; keep the last ones
    }
}

float VSTCLASS::RoundSetting() const
{
    const IParameter* round = GetParam(kRound);
    return round ? Percent(RoundedSetting(kRound, round->Value())) : roundAmount;
}
