#include "tools/artwork/switch_face.h"

#include "tools/artwork/palette.h"
#include "tools/artwork/panel_geometry.h"
#include "tools/artwork/shading.h"

#include <numbers>

namespace artwork {

namespace {

constexpr double kPi = std::numbers::pi;

void PaintToggle(cairo_t* cr, double left, bool on)
{
    const Box track{left + 1.5, 2.0, left + geometry::kSwitchWidth - 1.5, geometry::kSwitchHeight - 2.0};
    const double radius = track.Height() / 2.0;
    // The slot in the panel.
    RoundedRect(cr, {track.left - 1.0, track.top - 1.0, track.right + 1.0, track.bottom + 1.5}, radius + 1.0);
    SetColour(cr, palette::kEngraveShadow, 0.7);
    cairo_fill(cr);
    RoundedRect(cr, track, radius);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0.0, track.top, 0.0, track.bottom);
    if (on) {
        AddStop(fill, 0.0, palette::kAmberDeep);
        AddStop(fill, 0.5, palette::kAmber);
        AddStop(fill, 1.0, Hex(0xe0901e));
    } else {
        AddStop(fill, 0.0, Hex(0x0c0d10));
        AddStop(fill, 1.0, Hex(0x1e2126));
    }
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    const double thumbX = on ? track.right - radius : track.left + radius;
    const double thumbY = (track.top + track.bottom) / 2.0;
    const double thumbRadius = radius - 1.2;
    cairo_arc(cr, thumbX, thumbY + 0.8, thumbRadius + 0.6, 0.0, 2.0 * kPi);
    SetColour(cr, palette::kEngraveShadow, 0.55);
    cairo_fill(cr);
    cairo_pattern_t* thumb =
        cairo_pattern_create_radial(thumbX - 1.2, thumbY - 1.5, 0.0, thumbX, thumbY, thumbRadius);
    AddStop(thumb, 0.0, on ? Hex(0xfbf3e6) : Hex(0x9aa0a9));
    AddStop(thumb, 1.0, on ? Hex(0xc9c1b3) : Hex(0x555a62));
    cairo_set_source(cr, thumb);
    cairo_arc(cr, thumbX, thumbY, thumbRadius, 0.0, 2.0 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(thumb);
}

} // namespace

Surface DrawSwitchStrip()
{
    Surface surface = MakeSurface(2 * geometry::kSwitchWidth, geometry::kSwitchHeight, true);
    const Context context = MakeContext(surface);
    PaintToggle(context.get(), 0.0, false);
    PaintToggle(context.get(), geometry::kSwitchWidth, true);
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace artwork
