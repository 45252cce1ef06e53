#pragma once
// The part of the tone engine's state that one rendered block reads and
// writes, copied out as a plain value: what a model of the render loop starts
// from and is compared against. Field names and types are the engine's own.

#include "plugin/vstclass.h"

#include <cstdint>

struct BlockState {
    double carrierInc, carrierIncTarget, isoInc, isoIncTarget, carrierPhase, isoPhase;
    double goldenSplit, goldenK1, goldenK2, goldenK3, goldenIsoSplit, goldenIsoScale;
    float mixCurrent, mixTarget, panCurrent, panTarget, roundAmount, squareSmoothIn, squareSmoothKeep;
    std::uint32_t fadeSamples;
    std::int32_t wave;
    bool isochronicOn, goldenIso, playAnyway;
    bool lfoActive[2];
    std::int16_t lfoTarget[2], lfoWave[2];
    double lfoInc[2], lfoPhase[2], lfoSquareState[2];
    float lfoAmp[2], lfoBase[2];
};

inline BlockState BlockStateOf(const VSTCLASS& p)
{
    BlockState s{};
    s.carrierInc = p.carrierInc;
    s.carrierIncTarget = p.carrierIncTarget;
    s.isoInc = p.isoInc;
    s.isoIncTarget = p.isoIncTarget;
    s.carrierPhase = p.carrierPhase;
    s.isoPhase = p.isoPhase;
    s.goldenSplit = p.goldenSplit;
    s.goldenK1 = p.goldenK1;
    s.goldenK2 = p.goldenK2;
    s.goldenK3 = p.goldenK3;
    s.goldenIsoSplit = p.goldenIsoSplit;
    s.goldenIsoScale = p.goldenIsoScale;
    s.mixCurrent = p.mixCurrent;
    s.mixTarget = p.mixTarget;
    s.panCurrent = p.panCurrent;
    s.panTarget = p.panTarget;
    s.roundAmount = p.roundAmount;
    s.squareSmoothIn = p.squareSmoothIn;
    s.squareSmoothKeep = p.squareSmoothKeep;
    s.fadeSamples = p.fadeSamples;
    s.wave = p.wave;
    s.isochronicOn = p.isochronicOn;
    s.goldenIso = p.goldenIso;
    s.playAnyway = p.playAnyway;
    for (int k = 0; k < 2; ++k) {
        s.lfoActive[k] = p.lfoActive[k];
        s.lfoTarget[k] = p.lfoTarget[k];
        s.lfoWave[k] = p.lfoWave[k];
        s.lfoInc[k] = p.lfoInc[k];
        s.lfoPhase[k] = p.lfoPhase[k];
        s.lfoSquareState[k] = p.lfoSquareState[k];
        s.lfoAmp[k] = p.lfoAmp[k];
        s.lfoBase[k] = p.lfoBase[k];
    }
    return s;
}
