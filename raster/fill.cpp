#include "raster/draw.h"

#include <algorithm>

namespace {

// Copy fills at quarter steps need no per-channel multiplication.
template <typename Op>
void FillRows(RasterBitmap& bitmap, int x, int y, int width, int height, Op op)
{
    for (int row = y; row < y + height; ++row) {
        std::uint32_t* p = bitmap.At(x, row);
        for (int i = 0; i < width; ++i)
            p[i] = op(p[i]);
    }
}

} // namespace

void FillArea(RasterBitmap* bitmap, int x, int y, int width, int height, std::uint32_t colour, float weight,
              int mode)
{
    if (!bitmap || !bitmap->Pixels())
        return;
    const FillRule rule = MakeFillRule(colour, weight, mode);
    if (rule.op == FillRule::kNone)
        return;

    // Clip in 64 bits: x + width may overflow for coordinates far outside.
    std::int64_t left = x, top = y;
    std::int64_t right = left + width, bottom = top + height;
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, bitmap->Width());
    bottom = std::min<std::int64_t>(bottom, bitmap->Height());
    if (right <= left || bottom <= top)
        return;
    const int cx = static_cast<int>(left), cy = static_cast<int>(top);
    const int cw = static_cast<int>(right - left), ch = static_cast<int>(bottom - top);

    if (rule.op == FillRule::kCopy) {
        const std::uint32_t c = colour;
        switch (rule.w) {
        case 64:
            FillRows(*bitmap, cx, cy, cw, ch,
                     [c](std::uint32_t old) { return HalfOf(old) + QuarterOf(old) + QuarterOf(c); });
            return;
        case 128:
            FillRows(*bitmap, cx, cy, cw, ch, [c](std::uint32_t old) { return HalfOf(old) + HalfOf(c); });
            return;
        case 192:
            FillRows(*bitmap, cx, cy, cw, ch,
                     [c](std::uint32_t old) { return HalfOf(c) + QuarterOf(c) + QuarterOf(old); });
            return;
        case 256:
            FillRows(*bitmap, cx, cy, cw, ch, [c](std::uint32_t) { return c; });
            return;
        default:
            break;
        }
    }
    FillRows(*bitmap, cx, cy, cw, ch, [&rule](std::uint32_t old) { return FillPixel(rule, old); });
}
