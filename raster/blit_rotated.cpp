#include "raster/draw.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kOne = 65536; // 1.0 in 16.16 fixed point
// Limits that keep every fixed-point position inside 64 bits for any input:
// a row has at most kMaxBitmapSide pixels, so start + count * step stays far
// below 2^63.
constexpr double kMaxPosition = 1099511627776.0 * kOne; // 2^40 pixels
constexpr double kMaxStep = 1073741824.0 * kOne;        // 2^30 pixels per pixel

std::int64_t ToFixed(double v, double limit)
{
    const double scaled = std::clamp(v * kOne, -limit, limit);
    return std::llround(scaled);
}

// The area of the source that may be sampled, edges exclusive on the right.
struct SampleArea {
    std::int64_t x0, y0, x1, y1;
};

// The source's rows, read once per blit: the sampling below reaches the
// pixels without asking the bitmap for its layout at every pixel.
class SourceRows {
public:
    explicit SourceRows(const RasterBitmap& bitmap)
        : first(bitmap.Pixels()), span(bitmap.Span()), lastRow(bitmap.Height() - 1),
          bottomUp(bitmap.BottomUp())
    {
    }

    // Pixel (x, y) counted from the top-left, as RasterBitmap::At.
    [[gnu::always_inline]] const std::uint32_t* At(int x, int y) const
    {
        const int row = bottomUp ? lastRow - y : y;
        return first + static_cast<std::ptrdiff_t>(row) * span + x;
    }

private:
    const std::uint32_t* first;
    std::ptrdiff_t span;
    int lastRow;
    bool bottomUp;
};

// Mixes a and b with the 16-bit fraction f (0: all a), channel by channel.
[[gnu::always_inline]] inline std::uint32_t LerpChannel(std::uint32_t a, std::uint32_t b, std::int64_t f,
                                                        int shift)
{
    const std::int64_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    const std::int64_t c = (ca * (kOne - f) + cb * f + kOne / 2) >> 16;
    return static_cast<std::uint32_t>(c) << shift;
}

[[gnu::always_inline]] inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::int64_t f)
{
    if (f == 0)
        return a;
    return LerpChannel(a, b, f, 0) | LerpChannel(a, b, f, 8) | LerpChannel(a, b, f, 16) |
           LerpChannel(a, b, f, 24);
}

// Bilinear sample at the fixed-point position (u, v), which lies inside the
// area. Pixel centres sit at half-pixel positions: a position on a centre
// returns that pixel unmixed. On the area's last column or row only the other
// direction is mixed.
[[gnu::always_inline]] inline std::uint32_t SampleFiltered(const SourceRows& src, const SampleArea& area,
                                                           std::int64_t u, std::int64_t v)
{
    std::int64_t fu = u - kOne / 2, fv = v - kOne / 2;
    std::int64_t x = fu >> 16, y = fv >> 16;
    std::int64_t fx = fu & (kOne - 1), fy = fv & (kOne - 1);
    if (x < area.x0) {
        x = area.x0;
        fx = 0;
    }
    if (y < area.y0) {
        y = area.y0;
        fy = 0;
    }
    const bool lastColumn = x + 1 >= area.x1;
    const bool lastRow = y + 1 >= area.y1;
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    const std::uint32_t* row0 = src.At(ix, iy);
    const std::uint32_t top = lastColumn ? row0[0] : Lerp(row0[0], row0[1], fx);
    if (lastRow || fy == 0)
        return top;
    const std::uint32_t* row1 = src.At(ix, iy + 1);
    const std::uint32_t bottom = lastColumn ? row1[0] : Lerp(row1[0], row1[1], fx);
    return Lerp(top, bottom, fy);
}

} // namespace

void BlitRotated(RasterBitmap* dst, const RasterBitmap* src, int dx, int dy, int dw, int dh, int sx, int sy,
                 int sw, int sh, double angle, bool clipToSource, float weight, int mode, double offsetX,
                 double offsetY)
{
    if (!dst || !src || !dst->Pixels() || !src->Pixels() || dw == 0 || dh == 0)
        return;
    const BlendRule rule = MakeBlendRule(weight, mode & ~kBlendFilter);
    if (rule.op == BlendRule::kNone || !std::isfinite(angle) || !std::isfinite(offsetX) ||
        !std::isfinite(offsetY))
        return;
    const bool filter = (mode & kBlendFilter) != 0;

    SampleArea area{0, 0, src->Width(), src->Height()};
    if (clipToSource) {
        const std::int64_t l = sx, t = sy, r = l + sw, b = t + sh;
        area.x0 = std::max(area.x0, std::min(l, r));
        area.y0 = std::max(area.y0, std::min(t, b));
        area.x1 = std::min(area.x1, std::max(l, r));
        area.y1 = std::min(area.y1, std::max(t, b));
    }
    if (area.x1 <= area.x0 || area.y1 <= area.y0)
        return;

    // The destination rectangle lies between dx and dx + dw (dy and dy + dh);
    // a negative size mirrors through the signs of the steps below.
    const std::int64_t left = std::max<std::int64_t>(std::min<std::int64_t>(dx, std::int64_t{dx} + dw), 0);
    const std::int64_t top = std::max<std::int64_t>(std::min<std::int64_t>(dy, std::int64_t{dy} + dh), 0);
    const std::int64_t right =
        std::min<std::int64_t>(std::max<std::int64_t>(dx, std::int64_t{dx} + dw), dst->Width());
    const std::int64_t bottom =
        std::min<std::int64_t>(std::max<std::int64_t>(dy, std::int64_t{dy} + dh), dst->Height());
    if (right <= left || bottom <= top)
        return;

    // One pixel right in the destination moves the source position by
    // (sw/dw cos a, -sh/dh sin a), one row down by (sw/dw sin a, sh/dh cos a).
    const double scaleX = static_cast<double>(sw) / dw, scaleY = static_cast<double>(sh) / dh;
    const double c = std::cos(angle), s = std::sin(angle);
    const double rightU = scaleX * c, rightV = -scaleY * s;
    const double downU = scaleX * s, downV = scaleY * c;

    // Source position of the first clipped destination pixel's centre.
    const double centreX = dx + dw / 2.0, centreY = dy + dh / 2.0;
    const double ox = static_cast<double>(left) + 0.5 - centreX;
    const double oy = static_cast<double>(top) + 0.5 - centreY;
    const double u0 = sx + sw / 2.0 + offsetX + ox * rightU + oy * downU;
    const double v0 = sy + sh / 2.0 + offsetY + ox * rightV + oy * downV;

    const std::int64_t stepRightU = ToFixed(rightU, kMaxStep), stepRightV = ToFixed(rightV, kMaxStep);
    const std::int64_t stepDownU = ToFixed(downU, kMaxStep), stepDownV = ToFixed(downV, kMaxStep);
    std::int64_t rowU = ToFixed(u0, kMaxPosition), rowV = ToFixed(v0, kMaxPosition);

    const SourceRows rows(*src);
    const int x0 = static_cast<int>(left), width = static_cast<int>(right - left);
    for (int y = static_cast<int>(top); y < bottom; ++y, rowU += stepDownU, rowV += stepDownV) {
        std::uint32_t* d = dst->At(x0, y);
        std::int64_t u = rowU, v = rowV;
        for (int i = 0; i < width; ++i, u += stepRightU, v += stepRightV) {
            const std::int64_t px = u >> 16, py = v >> 16;
            if (px < area.x0 || px >= area.x1 || py < area.y0 || py >= area.y1)
                continue; // outside the sampled area: the pixel stays
            const std::uint32_t sample = filter ? SampleFiltered(rows, area, u, v)
                                                : *rows.At(static_cast<int>(px), static_cast<int>(py));
            d[i] = BlendPixel(rule, sample, d[i]);
        }
    }
}
