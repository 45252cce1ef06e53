#include "tools/artwork/knob_cap.h"

#include "tools/artwork/palette.h"
#include "tools/artwork/shading.h"

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr double kPi = std::numbers::pi;

void Disc(cairo_t* cr, double cx, double cy, double radius)
{
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * kPi);
}

void PaintMetalFace(cairo_t* cr, double cx, double cy, double radius)
{
    // The face sits a little above the skirt: a dark seam around it.
    Disc(cr, cx, cy, radius + 1.0);
    SetColour(cr, palette::kEngraveShadow, 0.55);
    cairo_fill(cr);
    FillRadialDisc(cr, cx, cy, 0.0, radius,
                   {{0.0, palette::kCapCentre}, {0.75, Hex(0x3f434b)}, {1.0, palette::kCapEdge}});
    // Fine concentric turning marks.
    cairo_set_line_width(cr, 0.5);
    for (double r = 1.5; r < radius - 1.0; r += 1.0) {
        const bool light = static_cast<int>(r) % 2 == 0;
        SetColour(cr, light ? Hex(0xffffff) : palette::kEngraveShadow, light ? 0.035 : 0.05);
        Disc(cr, cx, cy, r);
        cairo_stroke(cr);
    }
    // A bright bevel on the rim of the face.
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0x8a919c), 0.35);
    Disc(cr, cx, cy, radius - 0.5);
    cairo_stroke(cr);
}

} // namespace

void PaintKnobSkirt(cairo_t* cr, double cx, double cy, double radius)
{
    FillRadialDisc(cr, cx, cy, radius * 0.5, radius,
                   {{0.0, palette::kSkirtInner}, {0.8, Hex(0x23262b)}, {1.0, palette::kSkirtOuter}});
    // Knurling: fine grooves round the edge.
    const int grooves = radius > 20.0 ? 60 : 44;
    cairo_set_line_width(cr, 0.8);
    for (int i = 0; i < grooves; ++i) {
        const double angle = 2.0 * kPi * i / grooves;
        const double s = std::sin(angle);
        const double c = std::cos(angle);
        cairo_move_to(cr, cx + s * radius * 0.80, cy - c * radius * 0.80);
        cairo_line_to(cr, cx + s * (radius - 0.8), cy - c * (radius - 0.8));
        SetColour(cr, i % 2 == 0 ? Hex(0x6a707b) : palette::kEngraveShadow, i % 2 == 0 ? 0.22 : 0.35);
        cairo_stroke(cr);
    }
    // Outer edge: a thin dark line and a faint light ring inside it.
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kEngraveShadow, 0.8);
    Disc(cr, cx, cy, radius - 0.5);
    cairo_stroke(cr);
    SetColour(cr, Hex(0x7a808a), 0.18);
    Disc(cr, cx, cy, radius - 1.5);
    cairo_stroke(cr);
}

void PaintPointer(cairo_t* cr, double cx, double cy, double inner, double outer, double angle, double width)
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + s * inner, cy - c * inner);
    cairo_line_to(cr, cx + s * outer, cy - c * outer);
    StrokeWithGlow(cr, width, width * 2.6, 0.16, palette::kAmber);
    cairo_set_line_width(cr, width * 0.4);
    SetColour(cr, palette::kAmberHot, 0.8);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

Surface DrawKnobCap(int size)
{
    Surface surface = MakeSurface(size, size, true);
    const Context context = MakeContext(surface);
    cairo_t* cr = context.get();
    const double centre = size / 2.0;
    const double radius = centre - 2.0;
    // An even dark halo, so the cap stands off the panel at any angle.
    FillRadialDisc(cr, centre, centre, radius - 1.0, centre,
                   {{0.0, palette::kEngraveShadow, 0.55}, {1.0, palette::kEngraveShadow, 0.0}});

    PaintKnobSkirt(cr, centre, centre, radius);
    PaintMetalFace(cr, centre, centre, radius * 0.68);
    const double width = size > 50 ? 2.6 : 2.1;
    PaintPointer(cr, centre, centre, radius * 0.22, radius * 0.9, 0.0, width);
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace artwork
