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
    view->HideBoundControls(syncedRate, !synced);
    view->HideBoundControls(freeRate, synced);
}

void VSTCLASS::ShowLfoValue(int lfo, [[maybe_unused]] float value)
{
    if (!lfoDisplay[lfo])
        return;
}

void VSTCLASS::ShowLfoRange(int lfo, [[maybe_unused]] float lo, [[maybe_unused]] float hi)
{
    if (!lfoDisplay[lfo])
        return;
}

void VSTCLASS::ShowLfoActive(int lfo, [[maybe_unused]] bool shown)
{
    if (!lfoDisplay[lfo])
        return;
}

void VSTCLASS::ShowLfoConflict(int lfo, [[maybe_unused]] bool conflict)
{
    if (!lfoDisplay[lfo])
        return;
}

void VSTCLASS::ShowIsoRate([[maybe_unused]] float hz)
{
    if (!isoDisplay)
        return;
}
