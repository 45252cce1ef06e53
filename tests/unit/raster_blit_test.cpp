#include "raster/draw.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// One channel of the blit's per-pixel rule, straight from its definition.
// s is the source channel, a the source alpha, old the destination channel.
int ReferenceBlitChannel(int mode, int w, int s, int a, int old, bool alpha)
{
    switch (mode) {
    case 0:
        return w == 256 ? s : s + TruncDiv((old - s) * (256 - w), 256);
    case 0x10000:
        if (a == 0)
            return old;
        if (w == 256) {
            if (a == 255)
                return s;
            return alpha ? std::min(255, old + a) : s + TruncDiv((old - s) * (255 - a), 256);
        } else {
            const int k = TruncDiv(w * (a + 1), 256);
            return alpha ? std::min(255, k + old) : s + TruncDiv((old - s) * (256 - k), 256);
        }
    case 0x10001: {
        if (a == 0)
            return old;
        const int k = TruncDiv(w * (a + 1), 256);
        return std::min(255, old + TruncDiv((alpha ? a : s) * k, 256));
    }
    case 0x10002: {
        const int k = TruncDiv(w * (a + 1), 256);
        const int d = TruncDiv((alpha ? a : s) * k, 256);
        if (d > 254)
            return old == 0 ? 0 : 255;
        return std::min(255, TruncDiv(old * 256, 256 - d));
    }
    }
    return -1;
}

} // namespace

TEST(BlitBitmap, EveryModeMatchesItsFormula)
{
    // Source pixel (x, y) has colour channels x and alpha y, so one blit covers
    // every pair of source colour and alpha.
    auto src = CreateMemoryBitmap(256, 256, 4);
    for (int a = 0; a < 256; ++a)
        for (int s = 0; s < 256; ++s)
            *src->At(s, a) =
                (static_cast<std::uint32_t>(a) << 24) | (0x010101u * static_cast<std::uint32_t>(s));
    const RasterRect all{0, 0, 256, 256};
    for (int mode : {0, 0x10000, 0x10001, 0x10002}) {
        for (int w : {256, 255, 129, 128, 100, 1}) {
            for (int old : {0, 1, 77, 128, 254, 255}) {
                // The destination's colour channels and alpha differ, to catch swaps.
                const int oldAlpha = 255 - old / 2;
                const std::uint32_t dstPixel = (static_cast<std::uint32_t>(oldAlpha) << 24) |
                                               (0x010101u * static_cast<std::uint32_t>(old));
                auto dst = MakeBitmap(256, 256, dstPixel);
                const float weight = w == 128 ? 0.5001f : static_cast<float>(w) / 256.0f;
                BlitBitmap(dst.get(), src.get(), 0, 0, all, weight, mode);
                for (int a = 0; a < 256; ++a)
                    for (int s = 0; s < 256; ++s) {
                        const std::uint32_t p = Pixel(*dst, s, a);
                        for (int c = 0; c < 4; ++c) {
                            const bool isAlpha = c == 3;
                            const int expected = ReferenceBlitChannel(mode, w, isAlpha ? a : s, a,
                                                                      isAlpha ? oldAlpha : old, isAlpha);
                            ASSERT_EQ(Chan(p, c), expected)
                                << "mode " << std::hex << mode << std::dec << " w " << w << " s " << s
                                << " a " << a << " old " << old << " channel " << c;
                        }
                    }
            }
        }
    }
}

TEST(BlitBitmap, CopyAndHalfWeightShortcuts)
{
    auto src = MakeF();
    auto dst = MakeBitmap(6, 5, 0x0BADF00D);
    BlitBitmap(dst.get(), src.get(), 0, 0, {0, 0, 6, 5}, 1.0f, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Pixel(*dst, x, y), FPixel(x, y)); // byte for byte, alpha included

    auto half = MakeBitmap(6, 5, 0xFFFFFFFF);
    BlitBitmap(half.get(), src.get(), 0, 0, {0, 0, 6, 5}, 0.5f, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Pixel(*half, x, y), HalfOf(FPixel(x, y)) + 0x7F7F7F7Fu);
}

// The half-weight shortcut belongs to plain copies only: at weight 0.5 the
// source-alpha modes still follow their formulas.
TEST(BlitBitmap, HalfWeightShortcutIsNotTakenForSourceAlphaModes)
{
    auto src = MakeF();
    const int oldAlpha = 0x90, old = 0x35;
    const std::uint32_t background = 0x90353535;
    for (int mode : {0x10000, 0x10001, 0x10002}) {
        auto dst = MakeBitmap(6, 5, background);
        BlitBitmap(dst.get(), src.get(), 0, 0, {0, 0, 6, 5}, 0.5f, mode);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                for (int c = 0; c < 4; ++c) {
                    const int a = Chan(FPixel(x, y), 3);
                    const bool isAlpha = c == 3;
                    EXPECT_EQ(Chan(Pixel(*dst, x, y), c),
                              ReferenceBlitChannel(mode, 128, Chan(FPixel(x, y), c), a,
                                                   isAlpha ? oldAlpha : old, isAlpha))
                        << "mode " << std::hex << mode << std::dec << " at " << x << "," << y << " channel "
                        << c;
                }
    }
}

TEST(BlitBitmap, TransparentSourceLeavesTheDestination)
{
    auto src = MakeBitmap(3, 3, 0x00FFFFFF);
    for (int mode : {0x10000, 0x10001})
        for (float weight : {1.0f, 0.6f}) {
            auto dst = MakeBitmap(3, 3, 0x80123456);
            BlitBitmap(dst.get(), src.get(), 0, 0, {0, 0, 3, 3}, weight, mode);
            EXPECT_EQ(Pixel(*dst, 1, 1), 0x80123456u) << mode << " " << weight;
        }
}

TEST(BlitBitmap, ClipsAtEveryEdgeAndKeepsSourcePixelsInPlace)
{
    auto src = MakeF();
    struct Case {
        int x, y;
        RasterRect rect;
    };
    const Case cases[] = {
        {0, 0, {0, 0, 6, 5}},
        {-2, -1, {0, 0, 6, 5}},
        {4, 5, {0, 0, 6, 5}},
        {7, 6, {0, 0, 6, 5}},
        {1, 1, {2, 1, 5, 4}},
        {-3, 2, {1, 0, 6, 5}},
        {2, -4, {0, 0, 6, 5}},
        {1, 1, {-2, -1, 3, 9}},
        {3, 3, {4, 2, 100, 100}},
        {0, 0, {5, 0, 2, 5}},
        {-9, 0, {0, 0, 6, 5}},
        {0, 9, {0, 0, 6, 5}},
        {1 << 30, 0, {0, 0, 6, 5}},
        {-(1 << 30), -(1 << 30), {0, 0, 6, 5}},
        {0, 0, {-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}},
        {-0x7FFFFFFF, 0x7FFFFFFF, {-0x7FFFFFFF, 0, 0x7FFFFFFF, 5}},
    };
    for (const Case& c : cases) {
        BottomUpBitmap dst(9, 7, 11);
        BlitBitmap(&dst, src.get(), c.x, c.y, c.rect, 1.0f, 0);
        // Each destination pixel shows the source pixel that lies under it
        // when the source rectangle's top-left is put at (x, y), or stays 0.
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 9; ++x) {
                const long long sx = static_cast<long long>(x) - c.x + c.rect.L;
                const long long sy = static_cast<long long>(y) - c.y + c.rect.T;
                const bool shown = sx >= std::max(0, c.rect.L) && sx < std::min(6, c.rect.R) &&
                                   sy >= std::max(0, c.rect.T) && sy < std::min(5, c.rect.B);
                const std::uint32_t expected =
                    shown ? FPixel(static_cast<int>(sx), static_cast<int>(sy)) : 0u;
                ASSERT_EQ(Pixel(dst, x, y), expected)
                    << "case " << c.x << "," << c.y << " at " << x << "," << y;
            }
        EXPECT_TRUE(dst.GuardsIntact());
    }
}

TEST(BlitBitmap, MissingBitmapsAndZeroWeightsDrawNothing)
{
    auto src = MakeF();
    auto dst = MakeBitmap(6, 5, 0x01020304);
    BlitBitmap(nullptr, src.get(), 0, 0, {0, 0, 6, 5}, 1.0f, 0);
    BlitBitmap(dst.get(), nullptr, 0, 0, {0, 0, 6, 5}, 1.0f, 0);
    for (float weight : {0.0f, 0.003f, -0.5f, std::nanf("")})
        for (int mode : {0, 0x10000, 0x10001, 0x10002})
            BlitBitmap(dst.get(), src.get(), 0, 0, {0, 0, 6, 5}, weight, mode);
    MemoryBitmap empty(0, 0, 4);
    BlitBitmap(dst.get(), &empty, 0, 0, {0, 0, 6, 5}, 1.0f, 0);
    BlitBitmap(&empty, src.get(), 0, 0, {0, 0, 6, 5}, 1.0f, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Pixel(*dst, x, y), 0x01020304u);
}

TEST(BlitBitmap, BottomUpSourceAndDestinationKeepTheImageUpright)
{
    auto f = MakeF();
    BottomUpBitmap upside(6, 5, 8);
    BlitBitmap(&upside, f.get(), 0, 0, {0, 0, 6, 5}, 1.0f, 0);
    // The first stored row is the image's bottom row.
    EXPECT_EQ(upside.Pixels()[0], FPixel(0, 4));
    auto back = MakeBitmap(6, 5);
    BlitBitmap(back.get(), &upside, 0, 0, {0, 0, 6, 5}, 0.7f, 0x10000);
    auto direct = MakeBitmap(6, 5);
    BlitBitmap(direct.get(), f.get(), 0, 0, {0, 0, 6, 5}, 0.7f, 0x10000);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Pixel(*back, x, y), Pixel(*direct, x, y));
    EXPECT_TRUE(upside.GuardsIntact());
}
