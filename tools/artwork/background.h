#pragma once

#include "tools/artwork/cairo_handles.h"

namespace artwork {

// Which of the opaque buttons to draw lit: the background has both unlit,
// and their lit images are cut from a background drawn with them lit, so the
// pixels round the faces match exactly.
struct LitButtons {
    bool play = false;
    bool restart = false;
};

// The whole 550 x 365 panel without alpha: chassis, title plate, section
// panels with titles, every knob and switch label, knob scales, the unlit
// button faces, the band display and the LFO indicator tracks.
Surface DrawBackground(const LitButtons& lit);

} // namespace artwork
