#include "raster/raster_bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(RasterBitmap, SpanFollowsTheAlignmentHint)
{
    struct Case {
        int width, alignment, span;
    };
    const Case cases[] = {
        {1, 4, 4},
        {4, 4, 4},
        {5, 4, 8},
        {550, 4, 552},
        {7, 0, 7},
        {7, 1, 7},
        {7, 2, 8},
        {7, 6, 8},
        {9, 8, 16},
        {1, 16, 16},
        {17, 16, 32},
        {3, -4, 3},
        // Hints above 16 keep m at 16: the span never drops below the width.
        {1, 64, 1},
        {16, 64, 32},
        {20, 64, 36},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MemoryBitmap::SpanFor(c.width, c.alignment), c.span) << c.width << " / " << c.alignment;
        EXPECT_GE(MemoryBitmap::SpanFor(c.width, c.alignment), c.width);
    }
}

TEST(RasterBitmap, MemoryBitmapIsAlignedZeroedAndTopDown)
{
    for (int w : {1, 3, 58, 550}) {
        auto b = CreateMemoryBitmap(w, 7, 4);
        ASSERT_TRUE(b);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b->Pixels()) % 64, 0u);
        EXPECT_FALSE(b->BottomUp());
        EXPECT_EQ(b->At(0, 1), b->Pixels() + b->Span());
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(*b->At(x, y), 0u);
    }
}

TEST(RasterBitmap, ResizeKeepsSmallerBuffersAndGrowsByAQuarter)
{
    MemoryBitmap b(10, 10, 4); // span 12: 480 bytes, allocated with a quarter more
    const std::int64_t first = b.CapacityBytes();
    EXPECT_EQ(first, (480 + 120 + 63) / 64 * 64);
    std::uint32_t* pixels = b.Pixels();

    EXPECT_TRUE(b.Resize(10, 10));
    EXPECT_EQ(b.Pixels(), pixels);
    EXPECT_TRUE(b.Resize(4, 4)); // smaller: same buffer
    EXPECT_EQ(b.Pixels(), pixels);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Span(), 4);
    EXPECT_TRUE(b.Resize(12, 12)); // 576 bytes still fit the 640 allocated
    EXPECT_EQ(b.CapacityBytes(), first);
    EXPECT_TRUE(b.Resize(40, 40)); // 6400 bytes: a new buffer of 8000
    EXPECT_EQ(b.CapacityBytes(), 8000);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b.Pixels()) % 64, 0u);
    EXPECT_TRUE(b.Resize(0, 5));
    EXPECT_EQ(b.Pixels(), nullptr);
    EXPECT_EQ(b.CapacityBytes(), 0);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_TRUE(ResizeBitmap(&b, 3, 3));
    EXPECT_NE(b.Pixels(), nullptr);
    EXPECT_FALSE(ResizeBitmap(nullptr, 3, 3));
}

TEST(RasterBitmap, UnreasonableSizesAreRefused)
{
    const int sizes[][2] = {{0, 1}, {1, 0}, {-5, 5}, {5, -5}, {kMaxBitmapSide + 1, 1}, {1 << 30, 1 << 30}};
    for (const auto& s : sizes) {
        EXPECT_EQ(CreateMemoryBitmap(s[0], s[1], 4), nullptr) << s[0] << " x " << s[1];
        EXPECT_EQ(CreateSystemBitmap(s[0], s[1]), nullptr) << s[0] << " x " << s[1];
    }
    MemoryBitmap b(4, 4, 4);
    EXPECT_FALSE(b.Resize(kMaxBitmapSide, kMaxBitmapSide)); // 1 GiB is above the cap
    EXPECT_EQ(b.Pixels(), nullptr);
}

TEST(RasterBitmap, SystemBitmapHasTheLayoutOfAnX11Image)
{
#if defined(_WIN32)
    GTEST_SKIP() << "on Windows the system bitmap is a DIB section, which may be bottom-up";
#endif
    auto b = CreateSystemBitmap(550, 365);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Width(), 550);
    EXPECT_EQ(b->Height(), 365);
    EXPECT_EQ(b->Span(), 550); // bytes per line = 4 x width
    EXPECT_FALSE(b->BottomUp());
    EXPECT_TRUE(b->Resize(600, 400));
    EXPECT_EQ(b->Span(), 600);
}
