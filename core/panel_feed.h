#pragma once
// How the tone engine feeds the panel's read-outs without knowing the editor:
// the two LFO indicators and the pulse-rate display implement these, and the
// engine holds plain pointers to them for as long as the editor lives. The
// engine writes on the audio thread (or under the instance lock on any thread);
// the editor reads while it paints on the UI thread, so implementations keep
// the values in atomics. No OS calls.

class LfoIndicatorFeed {
public:
    virtual ~LfoIndicatorFeed() = default;
    // The modulated value of the LFO's target, in the target's own unit.
    virtual void ShowLevel(float level) = 0;
    // The range the target can take while the LFO swings it.
    virtual void ShowRange(float lo, float hi) = 0;
    // The LFO runs.
    virtual void ShowActive(bool active) = 0;
    // The LFO yields to the other one, which has the same target.
    virtual void ShowConflict(bool conflict) = 0;
};

class PulseRateFeed {
public:
    virtual ~PulseRateFeed() = default;
    // The pulse rate in hertz.
    virtual void ShowRate(float hz) = 0;
};
