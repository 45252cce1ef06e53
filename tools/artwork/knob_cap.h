#pragma once

#include "tools/artwork/cairo_handles.h"

#include <cairo.h>

namespace artwork {

// The knurled outer ring of a knob, lit evenly all round so that it looks
// right at any angle.
void PaintKnobSkirt(cairo_t* cr, double cx, double cy, double radius);

// A pointer line from `inner` to `outer` radius at `angle` radians
// (0 = 12 o'clock, clockwise), amber with a soft glow.
void PaintPointer(cairo_t* cr, double cx, double cy, double inner, double outer, double angle, double width);

// A knob cap image of size x size pixels, pointer at 12 o'clock. The editor
// turns it about its centre, so the cap is round and its shading radially
// symmetric; everything outside the cap is transparent.
Surface DrawKnobCap(int size);

} // namespace artwork
