#include "tools/artwork/target_list.h"

#include "tools/artwork/label_fonts.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/panel_geometry.h"
#include "tools/artwork/shading.h"

#include <array>

namespace artwork {

namespace {

using geometry::kTargetFaceHeight;
using geometry::kTargetFaceWidth;
using geometry::kTargetPaneHeight;
using geometry::kTargetPaneWidth;
using geometry::kTargets;

constexpr std::array<std::string_view, kTargets> kTargetNames = {"None",  "Frequency", "Pulse Rate",
                                                                 "Round", "Pan",       "Volume"};

void PaintDropMark(cairo_t* cr, double cx, double cy, Colour colour, double alpha)
{
    cairo_move_to(cr, cx - 3.0, cy - 1.5);
    cairo_line_to(cr, cx + 3.0, cy - 1.5);
    cairo_line_to(cr, cx, cy + 2.0);
    cairo_close_path(cr);
    SetColour(cr, colour, alpha);
    cairo_fill(cr);
}

void PaintFace(cairo_t* cr, int index)
{
    const double top = static_cast<double>(index * kTargetFaceHeight);
    const Box display{0.5, top + 0.5, kTargetFaceWidth - 0.5, top + kTargetFaceHeight - 0.5};
    RoundedRect(cr, display, 2.5);
    SetColour(cr, palette::kGlass);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kGlassEdge);
    cairo_stroke(cr);
    // Divider before the drop-down mark.
    cairo_move_to(cr, kTargetFaceWidth - 14.5, top + 3.0);
    cairo_line_to(cr, kTargetFaceWidth - 14.5, top + kTargetFaceHeight - 3.0);
    SetColour(cr, palette::kGlassEdge);
    cairo_stroke(cr);
    PaintDropMark(cr, kTargetFaceWidth - 7.5, top + kTargetFaceHeight / 2.0, palette::kLabel, 0.8);
    const bool assigned = index > 0;
    const TextStyle style{Face::Label, 9.0, 0.4, assigned ? palette::kAmberHot : palette::kLabelDim};
    DrawText(cr, style, 6.0, top + 10.3, TargetName(index), Align::Left);
}

} // namespace

std::string_view TargetName(int index)
{
    return kTargetNames.at(static_cast<std::size_t>(index));
}

Surface DrawTargetFaces()
{
    Surface surface = MakeSurface(kTargetFaceWidth, kTargetFaceHeight * kTargets, true);
    const Context context = MakeContext(surface);
    for (int i = 0; i < kTargets; ++i)
        PaintFace(context.get(), i);
    cairo_surface_flush(surface.get());
    return surface;
}

Surface DrawTargetPane()
{
    Surface surface = MakeSurface(kTargetPaneWidth, kTargetPaneHeight, false);
    const Context context = MakeContext(surface);
    cairo_t* cr = context.get();
    cairo_pattern_t* body = cairo_pattern_create_linear(0.0, 0.0, 0.0, kTargetPaneHeight);
    AddStop(body, 0.0, Hex(0x1d2025));
    AddStop(body, 1.0, Hex(0x15171b));
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);

    const double row = static_cast<double>(kTargetPaneHeight) / kTargets;
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < kTargets; ++i) {
        const double top = row * i;
        if (i > 0) {
            cairo_move_to(cr, 6.0, static_cast<int>(top) + 0.5);
            cairo_line_to(cr, kTargetPaneWidth - 6.0, static_cast<int>(top) + 0.5);
            SetColour(cr, Hex(0x2c3037));
            cairo_stroke(cr);
        }
        const bool assigned = i > 0;
        // A small marker in front of each entry.
        cairo_arc(cr, 9.5, top + row / 2.0, 1.8, 0.0, 6.2832);
        SetColour(cr, assigned ? palette::kAmber : palette::kLabelDim, assigned ? 0.85 : 0.6);
        cairo_fill(cr);
        const TextStyle style{Face::Label, 9.5, 0.4, assigned ? palette::kLabel : palette::kLabelDim};
        DrawText(cr, style, 17.0, top + row / 2.0 + 3.5, TargetName(i), Align::Left);
    }
    // Frame: amber top edge (it hangs from the face), grey sides.
    cairo_rectangle(cr, 0.5, 0.5, kTargetPaneWidth - 1.0, kTargetPaneHeight - 1.0);
    SetColour(cr, Hex(0x4a505a));
    cairo_stroke(cr);
    cairo_move_to(cr, 0.0, 1.0);
    cairo_line_to(cr, kTargetPaneWidth, 1.0);
    cairo_set_line_width(cr, 2.0);
    SetColour(cr, palette::kAmber, 0.75);
    cairo_stroke(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace artwork
