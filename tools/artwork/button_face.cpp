#include "tools/artwork/button_face.h"

#include "tools/artwork/label_fonts.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/shading.h"

#include <numbers>

namespace artwork {

namespace {

constexpr double kPi = std::numbers::pi;

void PaintRestartMark(cairo_t* cr, double cx, double cy, bool lit)
{
    const double radius = 4.0;
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (lit)
        DrawGlow(cr, cx, cy, 9.0, palette::kAmber, 0.35);
    SetColour(cr, lit ? palette::kAmberHot : palette::kLabelDim);
    cairo_arc(cr, cx, cy, radius, -0.35 * kPi, 1.45 * kPi);
    cairo_stroke(cr);
    // Arrow head at the open end of the circle, pointing clockwise.
    const double tipX = cx + radius * 0.454;
    const double tipY = cy - radius * 0.891;
    cairo_move_to(cr, tipX + 2.6, tipY - 0.2);
    cairo_line_to(cr, tipX - 0.6, tipY - 2.4);
    cairo_line_to(cr, tipX - 0.2, tipY + 1.8);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

} // namespace

void PaintButton(cairo_t* cr, const geometry::Box& box, std::string_view caption, ButtonMark mark, bool lit)
{
    const Box face{box.left + 1.0, box.top + 1.0, box.right - 1.0, box.bottom - 1.5};
    if (lit)
        DrawPlate(cr, face, 3.0, Hex(0x4a4136), Hex(0x2f2a24));
    else
        DrawPlate(cr, face, 3.0, Hex(0x3b4048), Hex(0x2a2d33));
    if (lit) {
        // Light from the lamp washing over the face.
        cairo_save(cr);
        RoundedRect(cr, face, 3.0);
        cairo_clip(cr);
        DrawGlow(cr, (face.left + face.right) / 2.0, face.bottom + 4.0, face.Width() * 0.6, palette::kAmber,
                 0.22);
        cairo_restore(cr);
    }
    const double markX = face.left + 8.5;
    const double centreY = (face.top + face.bottom) / 2.0;
    if (mark == ButtonMark::Lamp)
        DrawLamp(cr, markX, centreY, 2.6, lit);
    else
        PaintRestartMark(cr, markX + 0.5, centreY, lit);
    TextStyle style{Face::Label, 9.0, 1.0, lit ? palette::kAmberHot : palette::kLabel};
    const double textX = (markX + 5.0 + face.right) / 2.0;
    if (lit) {
        DrawGlow(cr, textX, centreY, face.Width() * 0.45, palette::kAmber, 0.12);
        DrawText(cr, style, textX, centreY + 3.3, caption, Align::Centre);
    } else {
        DrawEngraved(cr, style, textX, centreY + 3.3, caption, Align::Centre);
    }
}

} // namespace artwork
