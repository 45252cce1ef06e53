#include "editor/band_label.h"

#include "editor/editor_view.h"

GRAPHPRM::GRAPHPRM(IPlugBase* owner, const IArea& area) : IControl(owner, area, -1)
{
    textStyle.size = 15;
    textStyle.colour = IRGBA{200, 255, 255, 255};
    textStyle.align = 1;
}

void GRAPHPRM::ShowRate(float hz)
{
    rate.store(hz, std::memory_order_relaxed);
}

const char* GRAPHPRM::BandFor(float hz)
{
    if (hz > 0.0f && hz < 0.5f)
        return "EPSILON";
    if (!(hz >= 4.0f)) // zero, negative and not-a-number rates too
        return "DELTA";
    if (hz < 8.0f)
        return "THETA";
    if (hz < 14.0f)
        return "ALPHA";
    if (hz < 30.0f)
        return "BETA";
    if (hz < 100.0f)
        return "GAMMA";
    return "LAMBDA";
}

bool GRAPHPRM::paint(IEditorView& view)
{
    return view.printText(textStyle, BandFor(rate.load(std::memory_order_relaxed)), drawRect);
}
