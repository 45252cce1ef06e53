#pragma once

#include "tools/artwork/cairo_handles.h"

namespace artwork {

// The images the panel is drawn from, by their role.
struct PanelImages
{
    Surface background;
    Surface largeKnob;
    Surface smallKnob;
    Surface carrierSelector;
    Surface lfoWaveSelector;
    Surface playLit;
    Surface switchStrip;
    Surface targetFaces;
    Surface targetPane;
    Surface syncLit;
    Surface restartLit;
};

// A picture of the panel as the editor would paint it: knobs at a few
// values, one switch on, lit buttons, one target list open, indicator
// markers, the band word and sample value texts. For judging the artwork;
// not part of the plug-in.
Surface ComposePreview(const PanelImages& images);

// The same picture enlarged by a whole factor, pixels kept sharp.
Surface Enlarge(const Surface& source, int factor);

} // namespace artwork
