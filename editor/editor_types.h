#pragma once
// The editor's plain value types: areas in view pixels, multi-frame image
// strips, mouse state and key codes. Colour, blend and text style come from
// the drawing layer. No OS calls.

#include "raster/draw_types.h"

#include <algorithm>
#include <cstdint>

class RasterBitmap;

// A rectangle in view pixels, origin top-left, y downwards; right and bottom
// excluded. All four fields 0 is the empty area.
struct IArea {
    std::int32_t L = 0;
    std::int32_t T = 0;
    std::int32_t R = 0;
    std::int32_t B = 0;

    std::int32_t W() const { return R - L; }
    std::int32_t H() const { return B - T; }
    bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
    bool Contains(int x, int y) const { return L <= x && x < R && T <= y && y < B; }
    bool Overlaps(const IArea& b) const { return b.L < R && L < b.R && b.T < B && T < b.B; }

    IArea Union(const IArea& b) const
    {
        if (Empty())
            return b;
        if (b.Empty())
            return *this;
        return {std::min(L, b.L), std::min(T, b.T), std::max(R, b.R), std::max(B, b.B)};
    }

    IArea Intersect(const IArea& b) const
    {
        if (Empty() || b.Empty() || !Overlaps(b))
            return {};
        return {std::max(L, b.L), std::max(T, b.T), std::min(R, b.R), std::min(B, b.B)};
    }

    bool operator==(const IArea&) const = default;
};

// An image of `frames` equally sized frames, side by side or stacked (each
// drawing call says which). The bitmap belongs to the image cache; a strip
// whose image could not be loaded has no bitmap and draws nothing.
struct IImageStrip {
    RasterBitmap* bitmap = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t frames = 1;
};

// Buttons held and modifier keys down at the time of a mouse event.
struct MouseState {
    bool left = false;
    bool right = false;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Key codes handed to keyAt: space 0, the arrows 1-4, digits 5-14, letters
// A-Z 15-40.
enum EditorKey : int {
    kKeySpace = 0,
    kKeyUp = 1,
    kKeyDown = 2,
    kKeyLeft = 3,
    kKeyRight = 4,
    kKeyDigit0 = 5,
    kKeyLetterA = 15,
};

// v + 0.5 truncated for v >= 0, v - 0.5 truncated otherwise: the editor's
// rounding of pixel positions. Saturates at the 32-bit range; NaN gives 0.
inline int NearestInt(double v)
{
    if (!(v == v))
        return 0;
    const double r = v >= 0.0 ? v + 0.5 : v - 0.5;
    if (r >= 2147483647.0)
        return 2147483647;
    if (r <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(r);
}
