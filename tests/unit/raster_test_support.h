#pragma once
// Helpers for the drawing-layer tests: small bitmaps, a bottom-up test double
// and the asymmetric "F" image.

#include "raster/draw.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// A bitmap whose rows are stored bottom-up, like a Windows system bitmap, with
// guard words around the pixels so that writes outside the bitmap show up.
class BottomUpBitmap final : public RasterBitmap {
public:
    static constexpr std::uint32_t kGuard = 0xDEADBEEFu;
    static constexpr int kGuardWords = 64;

    BottomUpBitmap(int w, int h, int spanPixels)
        : width(w), height(h), span(spanPixels),
          storage(static_cast<std::size_t>(spanPixels) * h + 2 * kGuardWords, kGuard)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < spanPixels; ++x)
                Pixels()[y * spanPixels + x] = x < w ? 0 : kGuard;
    }

    std::uint32_t* Pixels() const override
    {
        return const_cast<std::uint32_t*>(storage.data()) + kGuardWords;
    }
    int Width() const override { return width; }
    int Height() const override { return height; }
    int Span() const override { return span; }
    bool BottomUp() const override { return true; }
    bool Resize(int, int) override { return false; }

    // True when every word outside the pixels (padding included) is intact.
    bool GuardsIntact() const
    {
        for (int i = 0; i < kGuardWords; ++i) {
            if (storage[i] != kGuard || storage[storage.size() - 1 - i] != kGuard)
                return false;
        }
        for (int y = 0; y < height; ++y)
            for (int x = width; x < span; ++x)
                if (Pixels()[y * span + x] != kGuard)
                    return false;
        return true;
    }

private:
    int width, height, span;
    std::vector<std::uint32_t> storage;
};

inline std::unique_ptr<RasterBitmap> MakeBitmap(int w, int h, std::uint32_t fill = 0)
{
    auto b = CreateMemoryBitmap(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            *b->At(x, y) = fill;
    return b;
}

inline std::uint32_t Pixel(const RasterBitmap& b, int x, int y)
{
    return *b.At(x, y);
}

// A 6 x 5 "F": ink on the left column, the top row and half of the middle
// row. Every pixel differs from every other in each channel, so flips,
// off-by-one rotations and swapped channels all show.
inline std::uint32_t FPixel(int x, int y)
{
    static const char* const rows[5] = {"######", "#.....", "####..", "#.....", "#....."};
    const bool ink = rows[y][x] == '#';
    const int i = y * 6 + x;
    const auto a = static_cast<std::uint32_t>(ink ? 255 - i : 40 + i);
    const auto r = static_cast<std::uint32_t>(ink ? 200 + i : 10 + i);
    const auto g = static_cast<std::uint32_t>(ink ? 100 + 2 * i : 3 * i);
    const auto b = static_cast<std::uint32_t>(ink ? 30 + i : 150 + i);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

inline std::unique_ptr<RasterBitmap> MakeF()
{
    auto f = CreateMemoryBitmap(6, 5, 4);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            *f->At(x, y) = FPixel(x, y);
    return f;
}

// Integer division truncating toward zero, computed in double precision: the
// independent form the formulas are checked against.
inline int TruncDiv(long long num, long long den)
{
    return static_cast<int>(std::trunc(static_cast<double>(num) / static_cast<double>(den)));
}

inline int Chan(std::uint32_t p, int c)
{
    return static_cast<int>((p >> (8 * c)) & 0xFF);
}
