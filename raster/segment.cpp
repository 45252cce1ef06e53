#include "raster/draw.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

void Plot(RasterBitmap& bitmap, std::int64_t x, std::int64_t y, const FillRule& rule)
{
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height())
        return;
    std::uint32_t* p = bitmap.At(static_cast<int>(x), static_cast<int>(y));
    *p = FillPixel(rule, *p);
}

} // namespace

void DrawSegment(RasterBitmap* bitmap, int x1, int y1, int x2, int y2, std::uint32_t colour, float weight,
                 int mode, bool antialias)
{
    if (!bitmap || !bitmap->Pixels())
        return;
    const FillRule rule = MakeFillRule(colour, weight, mode);
    if (rule.op == FillRule::kNone)
        return;

    // Step along the axis the segment covers most; only the part of that axis
    // inside the bitmap is visited, so far-away endpoints cost nothing.
    const bool steep = std::llabs(std::int64_t{y2} - y1) > std::llabs(std::int64_t{x2} - x1);
    std::int64_t a1 = steep ? y1 : x1, b1 = steep ? x1 : y1;
    std::int64_t a2 = steep ? y2 : x2, b2 = steep ? x2 : y2;
    if (a2 < a1) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const std::int64_t majorSize = steep ? bitmap->Height() : bitmap->Width();
    const std::int64_t first = std::max<std::int64_t>(a1, 0);
    const std::int64_t last = std::min<std::int64_t>(a2, majorSize - 1);
    const double slope = a2 == a1 ? 0.0 : static_cast<double>(b2 - b1) / static_cast<double>(a2 - a1);

    for (std::int64_t a = first; a <= last; ++a) {
        const double b = static_cast<double>(b1) + static_cast<double>(a - a1) * slope;
        if (!antialias) {
            const auto nb = static_cast<std::int64_t>(std::floor(b + 0.5));
            steep ? Plot(*bitmap, nb, a, rule) : Plot(*bitmap, a, nb, rule);
            continue;
        }
        // Split the weight between the two pixels the segment passes between.
        const double base = std::floor(b);
        const auto nb = static_cast<std::int64_t>(base);
        const float frac = static_cast<float>(b - base);
        const FillRule nearRule = MakeFillRule(colour, weight * (1.0f - frac), mode);
        const FillRule farRule = MakeFillRule(colour, weight * frac, mode);
        if (nearRule.op != FillRule::kNone)
            steep ? Plot(*bitmap, nb, a, nearRule) : Plot(*bitmap, a, nb, nearRule);
        if (farRule.op != FillRule::kNone)
            steep ? Plot(*bitmap, nb + 1, a, farRule) : Plot(*bitmap, a, nb + 1, farRule);
    }
}
