#pragma once

#include "tools/artwork/panel_geometry.h"

#include <cairo.h>

#include <string_view>

namespace artwork {

enum class ButtonMark {
    Lamp,   // a round lamp left of the caption (latching buttons)
    Restart // a circular arrow (the momentary restart button)
};

// A push button filling `box`: raised dark face with its caption, lit in
// amber when `lit`. The panel carries the unlit faces; the lit ones are
// separate images drawn over them.
void PaintButton(cairo_t* cr, const geometry::Box& box, std::string_view caption, ButtonMark mark, bool lit);

} // namespace artwork
