#pragma once

#include "tools/artwork/palette.h"
#include "tools/artwork/panel_geometry.h"

#include <cairo.h>

#include <initializer_list>

namespace artwork {

using geometry::Box;

void RoundedRect(cairo_t* cr, const Box& box, double radius);

// A recess in the panel: dark fill, shadowed top edge, lit bottom edge.
void DrawWell(cairo_t* cr, const Box& box, double radius, Colour fill);

// A raised plate: vertical gradient, light top edge, dark outline.
void DrawPlate(cairo_t* cr, const Box& box, double radius, Colour top, Colour bottom);

// A soft round glow (radial fade from `alpha` to nothing).
void DrawGlow(cairo_t* cr, double cx, double cy, double radius, Colour colour, double alpha);

// A small round indicator lamp, dark or lit.
void DrawLamp(cairo_t* cr, double cx, double cy, double radius, bool lit);

// Strokes the current path `width` wide in `colour` over a wider, faint
// halo of it; the path stays for a further stroke on top.
void StrokeWithGlow(cairo_t* cr, double width, double glowWidth, double glowAlpha, Colour colour);

struct GradientStop {
    double offset;
    Colour colour;
    double alpha = 1.0;
};

// Fills a disc with a radial gradient running from `innerRadius` to its edge.
void FillRadialDisc(cairo_t* cr, double cx, double cy, double innerRadius, double radius,
                    std::initializer_list<GradientStop> stops);

// A soft shadow under a round object, dropped a little downwards.
void DrawRoundShadow(cairo_t* cr, double cx, double cy, double radius);

} // namespace artwork
