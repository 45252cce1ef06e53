#include "tools/artwork/shading.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr double kPi = std::numbers::pi;

cairo_pattern_t* Vertical(double top, double bottom)
{
    return cairo_pattern_create_linear(0.0, top, 0.0, bottom);
}

} // namespace

void RoundedRect(cairo_t* cr, const Box& box, double radius)
{
    const double r = std::min({radius, box.Width() / 2.0, box.Height() / 2.0});
    cairo_new_sub_path(cr);
    cairo_arc(cr, box.right - r, box.top + r, r, -kPi / 2.0, 0.0);
    cairo_arc(cr, box.right - r, box.bottom - r, r, 0.0, kPi / 2.0);
    cairo_arc(cr, box.left + r, box.bottom - r, r, kPi / 2.0, kPi);
    cairo_arc(cr, box.left + r, box.top + r, r, kPi, 1.5 * kPi);
    cairo_close_path(cr);
}

void DrawWell(cairo_t* cr, const Box& box, double radius, Colour fill)
{
    // Lit lower lip, then the dark hollow one pixel higher.
    RoundedRect(cr, {box.left, box.top + 1.0, box.right, box.bottom + 1.0}, radius);
    SetColour(cr, palette::kPanelEdgeLight, 0.35);
    cairo_fill(cr);
    RoundedRect(cr, box, radius);
    SetColour(cr, fill);
    cairo_fill(cr);
    // Inner shadow along the top.
    cairo_save(cr);
    RoundedRect(cr, box, radius);
    cairo_clip(cr);
    cairo_pattern_t* shade = Vertical(box.top, box.top + 5.0);
    AddStop(shade, 0.0, palette::kEngraveShadow, 0.55);
    AddStop(shade, 1.0, palette::kEngraveShadow, 0.0);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
}

void DrawPlate(cairo_t* cr, const Box& box, double radius, Colour top, Colour bottom)
{
    // Outline and a faint drop below.
    RoundedRect(cr, {box.left - 0.5, box.top - 0.5, box.right + 0.5, box.bottom + 1.5}, radius + 0.5);
    SetColour(cr, palette::kPanelEdgeDark, 0.8);
    cairo_fill(cr);
    RoundedRect(cr, box, radius);
    cairo_pattern_t* body = Vertical(box.top, box.bottom);
    AddStop(body, 0.0, top);
    AddStop(body, 1.0, bottom);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // Light catching the upper edge.
    cairo_save(cr);
    RoundedRect(cr, box, radius);
    cairo_clip(cr);
    RoundedRect(cr, {box.left + 0.5, box.top + 0.5, box.right - 0.5, box.bottom + 4.0}, radius);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kPanelEdgeLight, 0.55);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DrawGlow(cairo_t* cr, double cx, double cy, double radius, Colour colour, double alpha)
{
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0.0, cx, cy, radius);
    AddStop(glow, 0.0, colour, alpha);
    AddStop(glow, 0.45, colour, alpha * 0.35);
    AddStop(glow, 1.0, colour, 0.0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

void DrawLamp(cairo_t* cr, double cx, double cy, double radius, bool lit)
{
    cairo_arc(cr, cx, cy + 0.5, radius + 1.0, 0.0, 2.0 * kPi);
    SetColour(cr, palette::kPanelEdgeLight, 0.25);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, radius + 1.0, 0.0, 2.0 * kPi);
    SetColour(cr, palette::kEngraveShadow, 0.8);
    cairo_fill(cr);
    if (lit)
        DrawGlow(cr, cx, cy, radius * 3.2, palette::kAmber, 0.45);
    cairo_pattern_t* body =
        cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.35, 0.0, cx, cy, radius);
    if (lit) {
        AddStop(body, 0.0, Hex(0xfff4dc));
        AddStop(body, 0.45, palette::kAmberHot);
        AddStop(body, 1.0, palette::kAmber);
    } else {
        AddStop(body, 0.0, Hex(0x4a4238));
        AddStop(body, 1.0, Hex(0x1d1a17));
    }
    cairo_set_source(cr, body);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
}

void StrokeWithGlow(cairo_t* cr, double width, double glowWidth, double glowAlpha, Colour colour)
{
    cairo_set_line_width(cr, glowWidth);
    SetColour(cr, colour, glowAlpha);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    SetColour(cr, colour);
    cairo_stroke_preserve(cr);
}

void FillRadialDisc(cairo_t* cr, double cx, double cy, double innerRadius, double radius,
                    std::initializer_list<GradientStop> stops)
{
    cairo_pattern_t* gradient = cairo_pattern_create_radial(cx, cy, innerRadius, cx, cy, radius);
    for (const GradientStop& stop : stops)
        AddStop(gradient, stop.offset, stop.colour, stop.alpha);
    cairo_set_source(cr, gradient);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

void DrawRoundShadow(cairo_t* cr, double cx, double cy, double radius)
{
    const double drop = radius * 0.08 + 1.0;
    cairo_pattern_t* shadow =
        cairo_pattern_create_radial(cx, cy + drop, radius * 0.8, cx, cy + drop, radius + 2.0 + radius * 0.12);
    AddStop(shadow, 0.0, palette::kEngraveShadow, 0.7);
    AddStop(shadow, 1.0, palette::kEngraveShadow, 0.0);
    cairo_set_source(cr, shadow);
    cairo_arc(cr, cx, cy + drop, radius + 2.0 + radius * 0.12, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);
}

} // namespace artwork
