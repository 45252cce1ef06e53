#include "raster/draw.h"

#include <algorithm>
#include <cstring>

void BlitBitmap(RasterBitmap* dst, const RasterBitmap* src, int x, int y, RasterRect srcRect, float weight,
                int mode)
{
    if (!dst || !src || !dst->Pixels() || !src->Pixels())
        return;
    const BlendRule rule = MakeBlendRule(weight, mode & ~kBlendFilter);
    if (rule.op == BlendRule::kNone)
        return;

    // All edges in 64 bits so that coordinates far outside cannot overflow.
    std::int64_t sl = srcRect.L, st = srcRect.T, sr = srcRect.R, sb = srcRect.B;
    std::int64_t dx = x, dy = y;
    // Clipping the source's left or top edge moves the destination with it, so
    // every source pixel still lands where it would have without the clip.
    if (sl < 0) {
        dx -= sl;
        sl = 0;
    }
    if (st < 0) {
        dy -= st;
        st = 0;
    }
    sr = std::min<std::int64_t>(sr, src->Width());
    sb = std::min<std::int64_t>(sb, src->Height());
    if (dx < 0) {
        sl -= dx;
        dx = 0;
    }
    if (dy < 0) {
        st -= dy;
        dy = 0;
    }
    const std::int64_t width = std::min(sr - sl, dst->Width() - dx);
    const std::int64_t height = std::min(sb - st, dst->Height() - dy);
    if (width <= 0 || height <= 0)
        return;

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const int srcX = static_cast<int>(sl), srcY = static_cast<int>(st);
    const int dstX = static_cast<int>(dx), dstY = static_cast<int>(dy);

    if (mode == kBlendCopy) {
        if (rule.w == 256) {
            for (int row = 0; row < h; ++row)
                std::memmove(dst->At(dstX, dstY + row), src->At(srcX, srcY + row), sizeof(std::uint32_t) * w);
            return;
        }
        if (weight == 0.5f) {
            for (int row = 0; row < h; ++row) {
                const std::uint32_t* s = src->At(srcX, srcY + row);
                std::uint32_t* d = dst->At(dstX, dstY + row);
                for (int i = 0; i < w; ++i)
                    d[i] = HalfOf(s[i]) + HalfOf(d[i]);
            }
            return;
        }
    }
    for (int row = 0; row < h; ++row) {
        const std::uint32_t* s = src->At(srcX, srcY + row);
        std::uint32_t* d = dst->At(dstX, dstY + row);
        for (int i = 0; i < w; ++i)
            d[i] = BlendPixel(rule, s[i], d[i]);
    }
}
