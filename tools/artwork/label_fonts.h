#pragma once

#include "tools/artwork/palette.h"

#include <cairo.h>

#include <string_view>

namespace artwork {

enum class Align { Left, Centre, Right };

enum class Face {
    Label,    // DejaVu Sans Condensed Bold: knob and switch names, buttons
    Title,    // DejaVu Sans Bold: section titles
    Thin,     // DejaVu Sans ExtraLight: the product name
    ValueText // Liberation Sans: the host-drawn value texts (preview only)
};

struct TextStyle {
    Face face;
    double size;           // em size in pixels
    double tracking = 0.0; // extra pixels after each character
    Colour colour = palette::kLabel;
    double alpha = 1.0;
};

// Loads the fonts from the installed Debian font packages through
// fontconfig; throws std::runtime_error when one is missing, so the artwork
// is never drawn with a substitute.
void LoadFonts();

double TextWidth(cairo_t* cr, const TextStyle& style, std::string_view text);

// Draws `text` on the baseline y, aligned about x.
void DrawText(cairo_t* cr, const TextStyle& style, double x, double baseline, std::string_view text,
              Align align);

// Text cut into the panel: a dark shadow one pixel below, then the text.
void DrawEngraved(cairo_t* cr, const TextStyle& style, double x, double baseline, std::string_view text,
                  Align align);

} // namespace artwork
