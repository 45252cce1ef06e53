#pragma once
// The plug-in itself: the isochronic tone engine. Its definition and parameter
// table, the engine state that parameter changes, the tone generator and the
// two LFOs work on, and the factory bank. No OS calls.

#include "core/panel_feed.h"
#include "editor/platform_view.h"
#include "vst2/iplug_vst.h"

#include <cstdint>

enum ParamIndex : int {
    kBaseFreq = 0,
    kIsoRate = 1,
    kRound = 2,
    kWave = 3,
    kPan = 4,
    kGoldenIso = 5,
    kIsoSwitch = 6,
    kPlayAnyway = 7,
    kFade = 8,
    kMix = 9,
    kLfo1Target = 10,
    kLfo1Wave = 11,
    kLfo1Sync = 12,
    kLfo1RateSynced = 13,
    kLfo1RateMs = 14,
    kLfo1Depth = 15,
    kLfo1Start = 16,
    kLfo2Target = 17,
    kLfo2Wave = 18,
    kLfo2Sync = 19,
    kLfo2RateSynced = 20,
    kLfo2RateMs = 21,
    kLfo2Depth = 22,
    kLfo2Start = 23,
    kLfoRestart = 24,
    kNumParams = 25,
};

constexpr int kNumPrograms = 150;

class VSTCLASS : public IPlugVST {
public:
    // makeView makes the editor view the panel is built on; the platform's
    // (none where the platform has no editor window) unless a test or tool
    // asks for another. Without a view the plug-in has no editor.
    explicit VSTCLASS(vst2::HostCallback host, EditorViewFactory makeView = MakePlatformView);
    ~VSTCLASS() override;

    // Audio or UI thread; the caller holds the instance lock (taken again here).
    void ResetEngine() override;
    void ParameterChanged(int index) override;
    // Audio thread, lock held. No allocation, no I/O.
    void RenderBlock(double** inputs, double** outputs, int frames) override;

    // LFO operations; lfo is 0 for LFO 1 and 1 for LFO 2. Lock held by the caller.
    void LfoTick(int lfo);
    void LfoRestart(int lfo);
    void UpdateLfoActivity(int lfo);
    void UpdateLfoRange(int lfo);
    // Index of the division whose increment is nearest to phaseInc (-1 to 31;
    // the parameter's clamp makes that 0 to 30).
    int FindNearestDivision(double phaseInc) const;
    // Changes a parameter on the engine's own initiative, so that host and
    // editor follow. Any thread; takes the lock.
    void SetParameterFromEngine(int index, double value);

protected:
    void DefineParameters();
    void BuildPanel(EditorViewFactory makeView);
    void MakeFactoryPrograms();

private:
    void LfoParameterChanged(int index, std::int32_t a, float b);
    void ApplyGoldenCoefficients();
    float RoundSetting() const;

    // Panel hooks: the indicators and the bound controls follow the engine.
    // They do nothing while no editor panel is attached.
    void HideRateControls(int lfo, bool synced);
    void ShowLfoValue(int lfo, float value);
    void ShowLfoRange(int lfo, float lo, float hi);
    void ShowLfoActive(int lfo, bool shown);
    void ShowLfoConflict(int lfo, bool conflict);
    void ShowIsoRate(float hz);

public:
    // The tone engine's state: targets, increments and coefficients that
    // ParameterChanged sets, phases and smoothed values that RenderBlock
    // advances. Public so that tests and benchmarks can set an exact state.
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
