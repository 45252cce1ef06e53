#pragma once
// The tone engine's state: targets, increments and coefficients that
// ParameterChanged sets, phases and smoothed values that RenderBlock advances.
// A plain value, public so that tests and benchmarks can set an exact state
// and a copy taken from one instance can bring another back to exactly that
// moment of its engine.

#include "core/panel_feed.h"

#include <cstdint>

struct EngineState {
    // In declaration order.
    double engineSampleRate = 0.0;
    double samplesPerWholeNote = 0.0;
    std::uint32_t fadeSamples = 0;
    std::int32_t wave = 0;
    float panTarget = 0.0f;
    float roundAmount = 0.0f;
    float mixTarget = 0.0f;
    float mixCurrent = 0.0f;
    float panCurrent = 0.0f;
    float goldenRatio = 0.618f;
    double carrierIncTarget = 0.0;
    double carrierInc = 0.0;
    double isoIncTarget = 0.0;
    double isoInc = 0.0;
    double carrierPhase = 0.0;
    double isoPhase = 0.0;
    double goldenSplit = 3.8830083370775546;
    double goldenK1 = 0.0;
    double goldenK2 = 0.0;
    double goldenK3 = 0.0;
    double goldenIsoSplit = 2.4001769701020317;
    double goldenIsoScale = 1.3089004238950945;
    double lfoInc[2] = {0.0, 0.0};
    double lfoPhase[2] = {0.0, 0.0};
    double lfoSquareState[2] = {0.0, 0.0};
    std::int16_t lfoTarget[2] = {0, 0};
    std::int16_t lfoTargetParam[2] = {0, 0};
    std::int16_t lfoWave[2] = {0, 0};
    float squareSmoothIn = 0.0f; // bits 0x3C23D700, set in the constructor
    float squareSmoothKeep = 0.99f;
    float lfoBase[2] = {0.0f, 0.0f};
    float lfoAmp[2] = {0.0f, 0.0f};
    float lfoDepth[2] = {0.0f, 0.0f};
    float lfoStart[2] = {0.0f, 0.0f};
    bool initialised = false;
    bool isochronicOn = false;
    bool playAnyway = false;
    bool goldenIso = false;
    bool lfoActive[2] = {false, false};
    bool lfoSync[2] = {true, true};
    bool restartLatch = false;
    bool syncClicked = false;
    LfoIndicatorFeed* lfoDisplay[2] = {nullptr, nullptr}; // owned by the editor view
    PulseRateFeed* isoDisplay = nullptr;                  // owned by the editor view
};
