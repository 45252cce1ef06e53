#pragma once
// GRAPHPRM, the band label: the name of the brain-wave band of the pulse
// rate. The tone engine writes the rate (any thread, so an atomic); writing it
// does not mark the label dirty: it shows the new band when its area is next
// repainted.

#include "core/panel_feed.h"
#include "editor/icontrol.h"

#include <atomic>

class GRAPHPRM : public IControl, public PulseRateFeed {
public:
    GRAPHPRM(IPlugBase* plug, const IArea& area);

    void ShowRate(float hz) override;
    bool paint(IEditorView& view) override;

    // The band's name for a pulse rate in hertz.
    static const char* BandFor(float hz);

private:
    std::atomic<float> rate{0.0f};
    ITextStyle textStyle;
};
