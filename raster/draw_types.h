#pragma once
// Colour, blend and text-style records shared by the editor and the drawing
// layer. Plain copyable values. No OS calls.

#include <cstdint>

class RasterFont;

// A colour as four channels 0..255, in the order alpha, red, green, blue.
struct IRGBA {
    std::int32_t A = 255;
    std::int32_t R = 0;
    std::int32_t G = 0;
    std::int32_t B = 0;

    // 0xAARRGGBB, each channel limited to its byte.
    std::uint32_t Packed() const
    {
        return (static_cast<std::uint32_t>(A & 0xFF) << 24) | (static_cast<std::uint32_t>(R & 0xFF) << 16) |
               (static_cast<std::uint32_t>(G & 0xFF) << 8) | static_cast<std::uint32_t>(B & 0xFF);
    }
};

// How a drawing call combines its source with the canvas. Kind 0 weights the
// source by the weight and by its own alpha; kind 1 copies it weighted by the
// weight only (the opaque background).
struct IBlend {
    std::int32_t kind = 0;
    float weight = 1.0f;
};

inline constexpr int kTextBold = 1;
inline constexpr int kTextItalic = 2;

// Text appearance. The font is a non-owning reference into the library-wide
// font cache, filled in on first use; copying a style copies the reference.
struct ITextStyle {
    char fontName[32] = "Arial";
    std::int32_t size = 12; // character height in pixels; 0 means no text
    IRGBA colour;
    std::int32_t style = 0;       // kTextBold | kTextItalic
    std::int32_t align = 0;       // 0 left, 1 centre, 2 right
    std::int32_t orientation = 0; // degrees, counter-clockwise
    std::int32_t quality = 0;     // 0 system default, 1 plain, 2 antialiased, 3 ClearType
    RasterFont* font = nullptr;   // owned by the font cache
};
