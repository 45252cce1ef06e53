#pragma once

#include "tools/artwork/cairo_handles.h"

#include <cairo.h>

namespace artwork {

// Angle of position `index` of an n-position selector: the positions spread
// from -150 to +150 degrees (0 = 12 o'clock), in radians.
double SelectorAngle(int index, int positions);

// The Wave selector: 8 frames of 58 x 58 side by side. Frame i shows a knob
// pointing at position i, with carrier shape i on its glass face.
Surface DrawCarrierSelector();

// The LFO wave selectors: 7 frames of 40 x 40 side by side, LFO shapes.
Surface DrawLfoWaveSelector();

// Radius of the selector knob body within a frame of the given size; the
// panel draws its position marks just outside it.
double SelectorBodyRadius(int frameSize);

// Radius and size of the position dots round a selector.
double SelectorMarkRadius(int frameSize);
double SelectorMarkSize(int frameSize);

} // namespace artwork
