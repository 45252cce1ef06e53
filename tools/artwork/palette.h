#pragma once

#include <cairo.h>

namespace artwork {

// One colour of the panel's palette, channels from 0 to 1.
struct Colour {
    double r;
    double g;
    double b;
};

constexpr Colour Hex(unsigned rgb)
{
    return {static_cast<double>((rgb >> 16) & 0xFF) / 255.0, static_cast<double>((rgb >> 8) & 0xFF) / 255.0,
            static_cast<double>(rgb & 0xFF) / 255.0};
}

inline void SetColour(cairo_t* cr, Colour colour, double alpha = 1.0)
{
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

inline void AddStop(cairo_pattern_t* pattern, double offset, Colour colour, double alpha = 1.0)
{
    cairo_pattern_add_color_stop_rgba(pattern, offset, colour.r, colour.g, colour.b, alpha);
}

namespace palette {

// Panel body: a cool charcoal, darker towards the bottom.
constexpr Colour kChassisTop = Hex(0x24272d);
constexpr Colour kChassisBottom = Hex(0x17191d);
constexpr Colour kPanelTop = Hex(0x2e323a);
constexpr Colour kPanelBottom = Hex(0x25282f);
constexpr Colour kPanelEdgeLight = Hex(0x464c57);
constexpr Colour kPanelEdgeDark = Hex(0x0b0c0e);
constexpr Colour kGroove = Hex(0x101114);

// Text.
constexpr Colour kLabel = Hex(0xc3c8d0);
constexpr Colour kLabelDim = Hex(0x7d848f);
constexpr Colour kEngraveShadow = Hex(0x000000);

// The one accent: warm amber for everything lit or selected.
constexpr Colour kAmber = Hex(0xffb23e);
constexpr Colour kAmberHot = Hex(0xffd690);
constexpr Colour kAmberDeep = Hex(0xc56a10);

// Displays: nearly black glass.
constexpr Colour kGlass = Hex(0x0b0d10);
constexpr Colour kGlassEdge = Hex(0x2a2f37);

// Knob metal.
constexpr Colour kCapCentre = Hex(0x555b65);
constexpr Colour kCapEdge = Hex(0x2c2f35);
constexpr Colour kSkirtInner = Hex(0x32363d);
constexpr Colour kSkirtOuter = Hex(0x15171a);

} // namespace palette

} // namespace artwork
