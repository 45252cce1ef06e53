#pragma once

#include "tools/artwork/cairo_handles.h"

namespace artwork {

// The images the panel is drawn from, by their role.
struct PanelImages {
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

// Pictures of the panel as the editor would paint it, for judging the
// artwork (not part of the plug-in). Scene 0: knobs at a few values, one
// switch on, play and one SYNC lit, a target list open, indicator markers,
// the band word and sample value texts; scene 1: the other states (extreme
// values, lists closed, restart held).
int PreviewCount();
Surface ComposePreview(const PanelImages& images, int scene);

// The same picture enlarged by a whole factor, pixels kept sharp.
Surface Enlarge(const Surface& source, int factor);

} // namespace artwork
