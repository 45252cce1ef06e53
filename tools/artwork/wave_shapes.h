#pragma once

#include <cairo.h>

namespace artwork {

constexpr int kCarrierShapes = 8;
constexpr int kLfoShapes = 7;

// One period of each shape, phase in [0, 2π), value from -1 to 1, as the
// tone engine makes it (the LFO square drawn with its smoothed edges).
double CarrierShape(int index, double phase);
double LfoShape(int index, double phase);

using ShapeFunction = double (*)(int index, double phase);

// Adds one period of a shape to the current path, fitted into the box
// (x, y, width, height) with 1 at the top.
void TraceShape(cairo_t* cr, ShapeFunction shape, int index, double x, double y, double width, double height);

} // namespace artwork
