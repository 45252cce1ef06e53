#include "raster/draw.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

namespace {

// The fill's general rule for one channel, straight from its definition.
int ReferenceFillChannel(int op, int old, int v, int w, bool alpha)
{
    if (op == 0)
        return alpha ? w + TruncDiv((old - w) * (256 - w), 256) : TruncDiv((old - v) * (256 - w), 256) + v;
    const int s = TruncDiv(alpha ? w * w : v * w, 256);
    if (op == 1)
        return std::min(255, old + s);
    if (s > 254)
        return old == 0 ? 0 : 255;
    return std::min(255, TruncDiv(old * 256, 256 - s));
}

std::uint32_t Grey(int v)
{
    return 0x01010101u * static_cast<std::uint32_t>(v);
}

} // namespace

TEST(FillArea, HalfWeightOfBlackOverWhiteHalvesBothWords)
{
    auto b = MakeBitmap(3, 3, 0xFFFFFFFF);
    FillArea(b.get(), 0, 0, 3, 3, 0xFF000000, 0.5f, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(Pixel(*b, x, y), 0xFE7F7F7Fu);
}

TEST(FillArea, QuarterStepsUseChannelShifts)
{
    const std::uint32_t old = 0x80FF4010, c = 0x20C8F003;
    const struct {
        float weight;
        std::uint32_t expected;
    } cases[] = {
        {0.25f, HalfOf(old) + QuarterOf(old) + QuarterOf(c)},
        {0.5f, HalfOf(old) + HalfOf(c)},
        {0.75f, HalfOf(c) + QuarterOf(c) + QuarterOf(old)},
        {1.0f, c},
        // Weights that truncate to a quarter step take the shortcut too.
        {0.2505f, HalfOf(old) + QuarterOf(old) + QuarterOf(c)},
    };
    for (const auto& k : cases) {
        auto b = MakeBitmap(2, 2, old);
        FillArea(b.get(), 0, 0, 2, 2, c, k.weight, 0);
        EXPECT_EQ(Pixel(*b, 1, 1), k.expected) << k.weight;
    }
}

TEST(FillArea, EveryModeMatchesItsFormulaOverAllChannelValues)
{
    // Each pixel of a 256-wide row holds one old value in all four channels;
    // each fill colour holds one value in all four channels.
    for (int op : {0, 1, 2}) {
        for (int w : {1, 37, 100, 127, 129, 200, 255}) {
            if (op == 0 && (w == 64 || w == 128 || w == 192))
                continue;
            for (int v = 0; v < 256; ++v) {
                auto b = CreateMemoryBitmap(256, 1, 4);
                for (int x = 0; x < 256; ++x)
                    *b->At(x, 0) = Grey(x);
                FillArea(b.get(), 0, 0, 256, 1, Grey(v), static_cast<float>(w) / 256.0f, op);
                for (int old = 0; old < 256; ++old) {
                    const std::uint32_t p = Pixel(*b, old, 0);
                    for (int c = 0; c < 4; ++c)
                        ASSERT_EQ(Chan(p, c), ReferenceFillChannel(op, old, v, w, c == 3))
                            << "mode " << op << " w " << w << " v " << v << " old " << old << " channel "
                            << c;
                }
            }
        }
    }
}

TEST(FillArea, SourceAlphaScalesTheWeight)
{
    EXPECT_EQ(255.0f * AlphaFactor(), 1.0f);
    // Alpha 255 at weight 1 is a plain copy; alpha 0 draws nothing.
    auto b = MakeBitmap(1, 1, 0x11223344);
    FillArea(b.get(), 0, 0, 1, 1, 0xFFA0B0C0, 1.0f, 0x10000);
    EXPECT_EQ(Pixel(*b, 0, 0), 0xFFA0B0C0u);
    FillArea(b.get(), 0, 0, 1, 1, 0x00FFFFFF, 1.0f, 0x10000);
    EXPECT_EQ(Pixel(*b, 0, 0), 0xFFA0B0C0u);

    for (int alpha : {1, 64, 128, 200, 254}) {
        const std::uint32_t colour = (static_cast<std::uint32_t>(alpha) << 24) | 0x00C08040u;
        const float scaled = 0.9f * (static_cast<float>(alpha) * AlphaFactor());
        const int w = static_cast<int>(scaled * 256.0f);
        auto got = MakeBitmap(1, 1, 0x80404040);
        auto want = MakeBitmap(1, 1, 0x80404040);
        FillArea(got.get(), 0, 0, 1, 1, colour, 0.9f, 0x10001);
        FillArea(want.get(), 0, 0, 1, 1, colour, static_cast<float>(w) / 256.0f, 1);
        EXPECT_EQ(Pixel(*got, 0, 0), Pixel(*want, 0, 0)) << alpha;
    }
}

TEST(FillArea, ClipsAtEveryEdgeAndIgnoresEmptyRequests)
{
    struct Case {
        int x, y, w, h;
        int l, t, r, b; // expected painted area
    };
    const Case cases[] = {
        {-2, -3, 5, 6, 0, 0, 3, 3},
        {6, 5, 10, 10, 6, 5, 8, 6},
        {-100, 2, 1000, 1, 0, 2, 8, 3},
        {3, -1 << 30, 2, 1 << 30, 0, 0, 0, 0},
        {1 << 30, 0, 1 << 30, 4, 0, 0, 0, 0},
        {0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0},
        {-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0},
        {2, 2, 0, 3, 0, 0, 0, 0},
        {2, 2, 3, -3, 0, 0, 0, 0},
        {8, 0, 1, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        BottomUpBitmap b(8, 6, 9);
        FillArea(&b, c.x, c.y, c.w, c.h, 0xFFFFFFFF, 1.0f, 0);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= c.l && x < c.r && y >= c.t && y < c.b;
                ASSERT_EQ(Pixel(b, x, y), inside ? 0xFFFFFFFFu : 0u)
                    << c.x << "," << c.y << " at " << x << "," << y;
            }
        EXPECT_TRUE(b.GuardsIntact());
    }
    FillArea(nullptr, 0, 0, 5, 5, 0xFFFFFFFF, 1.0f, 0);
    auto b = MakeBitmap(2, 2, 0x12345678);
    for (float weight : {0.0f, 0.001f, -1.0f, std::nanf("")})
        FillArea(b.get(), 0, 0, 2, 2, 0xFFFFFFFF, weight, 0);
    FillArea(b.get(), 0, 0, 2, 2, 0xFFFFFFFF, 1.0f, 7); // an unknown mode draws nothing
    EXPECT_EQ(Pixel(*b, 1, 1), 0x12345678u);
}

TEST(FillArea, BottomUpRowsAreAddressedFromTheTop)
{
    BottomUpBitmap b(4, 3, 4);
    FillArea(&b, 0, 0, 4, 1, 0xFF0000FF, 1.0f, 0);
    // The top row is the last one stored.
    EXPECT_EQ(b.Pixels()[2 * 4], 0xFF0000FFu);
    EXPECT_EQ(b.Pixels()[0], 0u);
    EXPECT_TRUE(b.GuardsIntact());
}

TEST(DrawSegment, DrawsBothEndsAndClipsFarAwayEndpoints)
{
    auto b = MakeBitmap(8, 8);
    DrawSegment(b.get(), 1, 1, 6, 1, 0xFFFFFFFF, 1.0f, 0, false);
    DrawSegment(b.get(), 2, 7, 2, 3, 0xFFFFFFFF, 1.0f, 0, false);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(Pixel(*b, x, 1), x >= 1 && x <= 6 ? 0xFFFFFFFFu : 0u) << x;
    for (int y = 2; y < 8; ++y)
        EXPECT_EQ(Pixel(*b, 2, y), y >= 3 ? 0xFFFFFFFFu : 0u) << y;

    // A diagonal from far outside still crosses the bitmap on its diagonal.
    BottomUpBitmap d(8, 8, 8);
    DrawSegment(&d, -(1 << 30), -(1 << 30), 1 << 30, 1 << 30, 0xFF00FF00, 1.0f, 0, false);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Pixel(d, i, i), 0xFF00FF00u) << i;
    DrawSegment(&d, -(1 << 30), 3, 1 << 30, 3, 0xFF0000FF, 1.0f, 0, true);
    DrawSegment(&d, 100, 100, 200, 300, 0xFF0000FF, 1.0f, 0, true);
    EXPECT_TRUE(d.GuardsIntact());
    EXPECT_EQ(Pixel(d, 0, 3), 0xFF0000FFu);
    EXPECT_EQ(Pixel(d, 7, 3), 0xFF0000FFu);
}

TEST(DrawSegment, AntialiasingSplitsTheWeightBetweenTwoPixels)
{
    auto b = MakeBitmap(5, 3);
    DrawSegment(b.get(), 0, 0, 4, 2, 0xFFFFFFFF, 1.0f, 1, true); // add, half a row per step
    // At x = 1 the segment sits half-way between rows 0 and 1.
    EXPECT_EQ(Chan(Pixel(*b, 1, 0), 0), 255 * 128 / 256);
    EXPECT_EQ(Chan(Pixel(*b, 1, 1), 0), 255 * 128 / 256);
    EXPECT_EQ(Pixel(*b, 2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(*b, 2, 0), 0u);
}
