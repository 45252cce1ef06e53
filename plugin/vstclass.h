#pragma once
// The plug-in itself: the isochronic tone engine. Its definition and parameter
// table, the engine state that parameter changes, the tone generator and the
// two LFOs work on, and the factory bank. No OS calls.

#include "core/panel_feed.h"
#include "editor/platform_view.h"
#include "plugin/engine_state.h"
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

class VSTCLASS : public IPlugVST, public EngineState {
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
    // Audio thread, lock held: finishes a block the tone is held back from
    // throughout without touching its samples, or starts it for RenderBlock.
    bool RenderBlockAsGain(int frames, double& gain) override;

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
    float StartBlock();
    void FinishBlock(float blockMix);
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

    // A block RenderBlockAsGain started and left to RenderBlock, and the mix
    // it aims at: the host is asked for tempo and transport once per block.
    bool blockStarted = false;
    float startedBlockMix = 0.0f;
};
