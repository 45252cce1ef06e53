#include "raster/draw.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// One bilinear step as the filter defines it: 16-bit fraction, rounded.
int Mix(int a, int b, int f)
{
    return static_cast<int>(
        (static_cast<long long>(a) * (65536 - f) + static_cast<long long>(b) * f + 32768) >> 16);
}

} // namespace

TEST(BlitRotated, AngleZeroReproducesTheSourceFilteredOrNot)
{
    auto f = MakeF();
    for (int mode : {0, 0x100, 0x10000, 0x10100}) {
        auto dst = MakeBitmap(10, 9, 0xFF000000);
        auto expected = MakeBitmap(10, 9, 0xFF000000);
        BlitRotated(dst.get(), f.get(), 2, 3, 6, 5, 0, 0, 6, 5, 0.0, false, 1.0f, mode);
        BlitBitmap(expected.get(), f.get(), 2, 3, {0, 0, 6, 5}, 1.0f, mode & 0x10000);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(Pixel(*dst, x, y), Pixel(*expected, x, y))
                    << "mode " << mode << " at " << x << "," << y;
    }
}

TEST(BlitRotated, QuarterTurnMovesTheTopEdgeToTheRightEdge)
{
    auto f = MakeF();
    // A square part of the F (its left 5 columns) turns exactly:
    // destination (i, j) shows source (j, 4 - i).
    for (int mode : {0, 0x100}) {
        auto dst = MakeBitmap(5, 5);
        BlitRotated(dst.get(), f.get(), 0, 0, 5, 5, 0, 0, 5, 5, kPi / 2, true, 1.0f, mode);
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 5; ++i)
                ASSERT_EQ(Pixel(*dst, i, j), FPixel(j, 4 - i)) << "mode " << mode << " at " << i << "," << j;
    }
    // The whole 6 x 5 F turned about its centre inside its own rectangle:
    // destination (i, j) shows source (j + 1, 5 - i), so the right column holds
    // the top row; positions that fall off the source leave the pixel alone.
    auto dst = MakeBitmap(6, 5, 0x0BADF00D);
    BlitRotated(dst.get(), f.get(), 0, 0, 6, 5, 0, 0, 6, 5, kPi / 2, false, 1.0f, 0);
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 6; ++i) {
            const int sx = j + 1, sy = 5 - i;
            const std::uint32_t expected = sx < 6 && sy < 5 ? FPixel(sx, sy) : 0x0BADF00Du;
            ASSERT_EQ(Pixel(*dst, i, j), expected) << i << "," << j;
        }
}

TEST(BlitRotated, NegativeSizesMirror)
{
    auto f = MakeF();
    auto mirrored = MakeBitmap(6, 5);
    // The rectangle from x = 6 leftwards to 0.
    BlitRotated(mirrored.get(), f.get(), 6, 0, -6, 5, 0, 0, 6, 5, 0.0, false, 1.0f, 0);
    auto flipped = MakeBitmap(6, 5);
    BlitRotated(flipped.get(), f.get(), 0, 5, 6, -5, 0, 0, 6, 5, 0.0, false, 1.0f, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(Pixel(*mirrored, x, y), FPixel(5 - x, y)) << x << "," << y;
            EXPECT_EQ(Pixel(*flipped, x, y), FPixel(x, 4 - y)) << x << "," << y;
        }
}

TEST(BlitRotated, BilinearWeightsFollowTheFraction)
{
    // Two by two pixels; the centre offset moves the sampling point by a
    // fraction of a pixel in each direction.
    auto src = CreateMemoryBitmap(2, 2, 4);
    const std::uint32_t p00 = 0x10204080, p10 = 0xF0E0C0A0, p01 = 0x80FF0010, p11 = 0x00406080;
    *src->At(0, 0) = p00;
    *src->At(1, 0) = p10;
    *src->At(0, 1) = p01;
    *src->At(1, 1) = p11;
    for (double fx : {0.0, 0.25, 0.5, 0.75})
        for (double fy : {0.0, 0.25, 0.5, 0.875}) {
            auto dst = MakeBitmap(1, 1);
            // A 1 x 1 destination sampling at the centre of pixel (0, 0) plus (fx, fy).
            BlitRotated(dst.get(), src.get(), 0, 0, 1, 1, 0, 0, 1, 1, 0.0, false, 1.0f, 0x100, fx, fy);
            const int ifx = static_cast<int>(fx * 65536), ify = static_cast<int>(fy * 65536);
            for (int c = 0; c < 4; ++c) {
                const int top = Mix(Chan(p00, c), Chan(p10, c), ifx);
                const int bottom = Mix(Chan(p01, c), Chan(p11, c), ifx);
                EXPECT_EQ(Chan(Pixel(*dst, 0, 0), c), Mix(top, bottom, ify))
                    << fx << "," << fy << " channel " << c;
            }
        }
    // On the last column only the rows are mixed; with the clip flag the
    // source rectangle's last column counts as the last.
    auto dst = MakeBitmap(1, 1);
    BlitRotated(dst.get(), src.get(), 0, 0, 1, 1, 0, 0, 1, 2, 0.0, true, 1.0f, 0x100, 0.25, 0.0);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(Chan(Pixel(*dst, 0, 0), c), Mix(Chan(p00, c), Chan(p01, c), 32768)) << c;
}

TEST(BlitRotated, ClipFlagLimitsSamplingToTheSourceRectangle)
{
    auto f = MakeF();
    // Shifting the view by a pixel reaches outside the source rectangle: with the clip
    // flag those pixels stay, without it they come from the rest of the bitmap.
    auto clipped = MakeBitmap(6, 6, 0x12345678);
    auto open = MakeBitmap(6, 6, 0x12345678);
    BlitRotated(clipped.get(), f.get(), 0, 0, 6, 6, 1, 1, 2, 2, 0.0, true, 1.0f, 0, 1.0, 1.0);
    BlitRotated(open.get(), f.get(), 0, 0, 6, 6, 1, 1, 2, 2, 0.0, false, 1.0f, 0, 1.0, 1.0);
    int kept = 0, sampledOutside = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            kept += Pixel(*clipped, x, y) == 0x12345678u;
            sampledOutside += Pixel(*open, x, y) != Pixel(*clipped, x, y);
        }
    EXPECT_GT(kept, 0);
    EXPECT_EQ(kept, sampledOutside);
    EXPECT_EQ(Pixel(*clipped, 2, 2), FPixel(2, 2));
}

TEST(BlitRotated, BadInputDrawsNothingOutsideTheBitmap)
{
    auto f = MakeF();
    struct Case {
        int dx, dy, dw, dh, sx, sy, sw, sh;
        double angle;
    };
    const Case cases[] = {
        {0, 0, 0, 5, 0, 0, 6, 5, 0.3},
        {0, 0, 6, 0, 0, 0, 6, 5, 0.3},
        {-(1 << 30), -(1 << 30), 1 << 30, 1 << 30, 0, 0, 6, 5, 1.0},
        {1 << 30, 1 << 30, 1 << 30, 1 << 30, 0, 0, 6, 5, 1.0},
        {-(1 << 30), -(1 << 30), 0x7FFFFFFF, 0x7FFFFFFF, -(1 << 30), -(1 << 30), 0x7FFFFFFF, 0x7FFFFFFF, 2.0},
        {0, 0, 8, 8, 1 << 30, 1 << 30, 1 << 30, 1 << 30, 0.7},
        {0, 0, 8, 8, 0, 0, 0x7FFFFFFF, 1, -0.7},
        {0, 0, 8, 8, 0, 0, 6, 5, 1e300},
        {3, 3, 1, 1, 0, 0, 6, 5, std::numeric_limits<double>::quiet_NaN()},
        {0, 0, -0x7FFFFFFF, -0x7FFFFFFF, 0, 0, 6, 5, 0.1},
    };
    for (const Case& c : cases)
        for (bool clip : {false, true})
            for (int mode : {0, 0x100, 0x10102}) {
                BottomUpBitmap dst(8, 8, 10);
                BlitRotated(&dst, f.get(), c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, c.angle, clip,
                            1.0f, mode);
                EXPECT_TRUE(dst.GuardsIntact()) << c.dx << " " << c.dw << " " << c.sw;
            }
    auto dst = MakeBitmap(4, 4, 7);
    BlitRotated(dst.get(), nullptr, 0, 0, 4, 4, 0, 0, 4, 4, 0.0, false, 1.0f, 0);
    BlitRotated(nullptr, f.get(), 0, 0, 4, 4, 0, 0, 4, 4, 0.0, false, 1.0f, 0);
    BlitRotated(dst.get(), f.get(), 0, 0, 4, 4, 0, 0, 4, 4, 0.0, false, 0.0f, 0);
    EXPECT_EQ(Pixel(*dst, 2, 2), 7u);
}

TEST(BlitRotated, WeightAndModeUseTheBlitRule)
{
    auto f = MakeF();
    for (int mode : {0x10000, 0x10001, 0x10002})
        for (float weight : {1.0f, 0.4f}) {
            auto turned = MakeBitmap(6, 5, 0x80402010);
            auto blitted = MakeBitmap(6, 5, 0x80402010);
            BlitRotated(turned.get(), f.get(), 0, 0, 6, 5, 0, 0, 6, 5, 0.0, false, weight, mode);
            BlitBitmap(blitted.get(), f.get(), 0, 0, {0, 0, 6, 5}, weight, mode);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x)
                    ASSERT_EQ(Pixel(*turned, x, y), Pixel(*blitted, x, y)) << mode << " " << weight;
        }
}

// Any angle, scaled and mirrored, from a bottom-up source: each destination
// pixel shows the source pixel under its centre, mapped back through the turn
// and the scale, computed here plainly in double precision. Centres that land
// within a hair of a pixel edge are skipped (the blit steps in 16.16 fixed point).
TEST(BlitRotated, AnyAngleScaledAndMirroredMatchesThePlainMapping)
{
    BottomUpBitmap src(6, 5, 7);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            *src.At(x, y) = FPixel(x, y);
    struct Case {
        int dx, dy, dw, dh;
        double angle;
    };
    const Case cases[] = {
        {4, 3, 12, 10, 0.3},   {4, 3, 12, 10, -2.2}, {16, 2, -12, 15, 1.0},
        {3, 17, 14, -14, 4.0}, {5, 5, 9, 7, kPi},    {18, 18, -15, -13, -0.7},
    };
    const std::uint32_t background = 0x01020304;
    int compared = 0;
    for (const Case& c : cases) {
        auto dst = MakeBitmap(24, 24, background);
        BlitRotated(dst.get(), &src, c.dx, c.dy, c.dw, c.dh, 0, 0, 6, 5, c.angle, true, 1.0f, 0);
        const double cx = c.dx + c.dw / 2.0, cy = c.dy + c.dh / 2.0;
        const double scaleX = 6.0 / c.dw, scaleY = 5.0 / c.dh;
        const double cosA = std::cos(c.angle), sinA = std::sin(c.angle);
        for (int j = 0; j < 24; ++j)
            for (int i = 0; i < 24; ++i) {
                const bool insideX = (i >= std::min(c.dx, c.dx + c.dw)) && (i < std::max(c.dx, c.dx + c.dw));
                const bool insideY = (j >= std::min(c.dy, c.dy + c.dh)) && (j < std::max(c.dy, c.dy + c.dh));
                const double ox = i + 0.5 - cx, oy = j + 0.5 - cy;
                const double u = 3.0 + scaleX * (ox * cosA + oy * sinA);
                const double v = 2.5 + scaleY * (oy * cosA - ox * sinA);
                if (std::fabs(u - std::round(u)) < 1e-3 || std::fabs(v - std::round(v)) < 1e-3)
                    continue;
                const int px = static_cast<int>(std::floor(u)), py = static_cast<int>(std::floor(v));
                const bool onSource = px >= 0 && px < 6 && py >= 0 && py < 5;
                const std::uint32_t expected = insideX && insideY && onSource ? FPixel(px, py) : background;
                ASSERT_EQ(Pixel(*dst, i, j), expected) << "angle " << c.angle << " at " << i << "," << j;
                compared += onSource;
            }
    }
    EXPECT_GT(compared, 300);
}
