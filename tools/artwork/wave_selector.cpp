#include "tools/artwork/wave_selector.h"

#include "tools/artwork/knob_cap.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/shading.h"
#include "tools/artwork/wave_shapes.h"

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr double kPi = std::numbers::pi;

void PaintGlassFace(cairo_t* cr, double cx, double cy, double radius)
{
    cairo_arc(cr, cx, cy, radius + 1.0, 0.0, 2.0 * kPi);
    SetColour(cr, palette::kEngraveShadow, 0.85);
    cairo_fill(cr);
    FillRadialDisc(cr, cx, cy, 0.0, radius, {{0.0, Hex(0x1a1d22)}, {1.0, palette::kGlass}});
}

void PaintGlassReflection(cairo_t* cr, double cx, double cy, double radius)
{
    // A soft sheen on the upper half of the glass.
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0.0, cy - radius, 0.0, cy + radius * 0.1);
    AddStop(sheen, 0.0, Hex(0xffffff), 0.11);
    AddStop(sheen, 1.0, Hex(0xffffff), 0.0);
    cairo_set_source(cr, sheen);
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);
}

// The panel marks every position with a dim dot just outside the knob; the
// frame lights the dot of its own position.
void PaintPositionLamp(cairo_t* cr, double cx, double cy, double radius, double angle, double size)
{
    const double x = cx + std::sin(angle) * radius;
    const double y = cy - std::cos(angle) * radius;
    DrawGlow(cr, x, y, size * 3.5, palette::kAmber, 0.5);
    cairo_arc(cr, x, y, size, 0.0, 2.0 * kPi);
    SetColour(cr, palette::kAmberHot);
    cairo_fill(cr);
}

void PaintShapeOnGlass(cairo_t* cr, ShapeFunction shape, int index, double cx, double cy, double radius)
{
    const double width = radius * 1.42;
    const double height = radius * 0.86;
    // A faint centre line, like a scope's graticule.
    cairo_set_line_width(cr, 0.6);
    cairo_move_to(cr, cx - width / 2.0, cy);
    cairo_line_to(cr, cx + width / 2.0, cy);
    SetColour(cr, palette::kAmber, 0.14);
    cairo_stroke(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    TraceShape(cr, shape, index, cx - width / 2.0, cy - height / 2.0, width, height);
    const double line = radius > 12.0 ? 1.3 : 1.05;
    StrokeWithGlow(cr, line, line * 3.0, 0.22, palette::kAmber);
    SetColour(cr, palette::kAmberHot);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

Surface DrawSelector(int frameSize, int positions, ShapeFunction shape)
{
    Surface surface = MakeSurface(frameSize * positions, frameSize, true);
    const Context context = MakeContext(surface);
    cairo_t* cr = context.get();
    const double body = SelectorBodyRadius(frameSize);
    const double glass = body * 0.66;
    for (int i = 0; i < positions; ++i) {
        const double cx = frameSize * i + frameSize / 2.0;
        const double cy = frameSize / 2.0;
        DrawRoundShadow(cr, cx, cy, body);
        PaintKnobSkirt(cr, cx, cy, body);
        PaintGlassFace(cr, cx, cy, glass);
        PaintShapeOnGlass(cr, shape, i, cx, cy, glass);
        PaintGlassReflection(cr, cx, cy, glass);
        const double angle = SelectorAngle(i, positions);
        PaintPointer(cr, cx, cy, glass + 2.2, body - 1.2, angle, frameSize > 50 ? 2.2 : 1.8);
        PaintPositionLamp(cr, cx, cy, SelectorMarkRadius(frameSize), angle, SelectorMarkSize(frameSize));
    }
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace

double SelectorAngle(int index, int positions)
{
    const double degrees = -150.0 + 300.0 * index / (positions - 1);
    return degrees * kPi / 180.0;
}

double SelectorBodyRadius(int frameSize)
{
    return frameSize > 50 ? 21.5 : 14.5;
}

double SelectorMarkRadius(int frameSize)
{
    return SelectorBodyRadius(frameSize) + (frameSize > 50 ? 3.6 : 2.9);
}

double SelectorMarkSize(int frameSize)
{
    return frameSize > 50 ? 1.2 : 1.0;
}

Surface DrawCarrierSelector()
{
    return DrawSelector(58, kCarrierShapes, CarrierShape);
}

Surface DrawLfoWaveSelector()
{
    return DrawSelector(40, kLfoShapes, LfoShape);
}

} // namespace artwork
