#include "plugin/vstclass.h"

#include "core/editor_link.h"

// Where the engine reaches the editor panel: the rate controls that share one
// spot, the two LFO indicators and the pulse-rate display. The indicator links
// are set by the panel layout; while they are null (no panel built) the
// indicator hooks have nothing to update.

void VSTCLASS::HideRateControls(int lfo, bool synced)
{
    EditorLink* view = Editor();
    if (!view)
        return;
    const int syncedRate = lfo == 0 ? kLfo1RateSynced : kLfo2RateSynced;
    const int freeRate = lfo == 0 ? kLfo1RateMs : kLfo2RateMs;
    view->hideBoundControls(syncedRate, !synced);
    view->hideBoundControls(freeRate, synced);
}

void VSTCLASS::ShowLfoValue(int lfo, float value)
{
    if (LfoIndicatorFeed* display = lfoDisplay[lfo])
        display->ShowLevel(value);
}

void VSTCLASS::ShowLfoRange(int lfo, float lo, float hi)
{
    if (LfoIndicatorFeed* display = lfoDisplay[lfo])
        display->ShowRange(lo, hi);
}

void VSTCLASS::ShowLfoActive(int lfo, bool shown)
{
    if (LfoIndicatorFeed* display = lfoDisplay[lfo])
        display->ShowActive(shown);
}

void VSTCLASS::ShowLfoConflict(int lfo, bool conflict)
{
    if (LfoIndicatorFeed* display = lfoDisplay[lfo])
        display->ShowConflict(conflict);
}

void VSTCLASS::ShowIsoRate(float hz)
{
    if (isoDisplay)
        isoDisplay->ShowRate(hz);
}
