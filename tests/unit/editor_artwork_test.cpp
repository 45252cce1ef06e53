// The editor's images as the library carries them (resources 100-110).
#include "raster/png_image.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

namespace {

struct ArtworkImage {
    int id;
    int width;
    int height;
    bool opaque; // copied over the panel without blending
};

constexpr ArtworkImage kArtwork[] = {
    {100, 550, 365, true}, {101, 58, 58, false}, {102, 40, 40, false}, {103, 464, 58, false},
    {104, 280, 40, false}, {105, 68, 23, true},  {106, 54, 16, false}, {107, 80, 84, false},
    {108, 90, 109, true},  {109, 48, 21, false}, {110, 80, 23, true},
};

std::uint32_t Alpha(std::uint32_t pixel)
{
    return pixel >> 24;
}

bool SameRegion(const RasterBitmap& image, int x0, int y0, int x1, int y1, int w, int h)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (Pixel(image, x0 + x, y0 + y) != Pixel(image, x1 + x, y1 + y))
                return false;
    return true;
}

} // namespace

TEST(EditorArtwork, EveryImageDecodesAtItsSizeAndOpaqueOnesHaveNoTransparency)
{
    for (const ArtworkImage& art : kArtwork) {
        const auto image = DecodePngResource(nullptr, art.id);
        ASSERT_TRUE(image) << art.id;
        EXPECT_EQ(image->Width(), art.width) << art.id;
        EXPECT_EQ(image->Height(), art.height) << art.id;
        if (!art.opaque)
            continue;
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x)
                ASSERT_EQ(Alpha(Pixel(*image, x, y)), 255u) << art.id << " at " << x << ", " << y;
    }
}

// A cap is turned about its centre: anything in its corners would sweep a
// square round the knob. Its pointer stands at 12 o'clock.
TEST(EditorArtwork, KnobCapsAreRoundWithThePointerUp)
{
    for (int id : {101, 102}) {
        const auto cap = DecodePngResource(nullptr, id);
        ASSERT_TRUE(cap);
        const int size = cap->Width();
        for (int corner : {0, size - 1}) {
            EXPECT_EQ(Alpha(Pixel(*cap, corner, 0)), 0u) << id;
            EXPECT_EQ(Alpha(Pixel(*cap, corner, size - 1)), 0u) << id;
        }
        const std::uint32_t up = Pixel(*cap, size / 2, size / 4);
        const std::uint32_t down = Pixel(*cap, size / 2, size - size / 4);
        EXPECT_GT((up >> 16) & 0xFF, (down >> 16) & 0xFF) << id; // the warm pointer is above the centre
    }
}

// Each frame of a strip shows its own state.
TEST(EditorArtwork, FramesOfEveryStripDiffer)
{
    struct Strip {
        int id;
        int frames;
        bool stacked;
    };
    for (const Strip strip :
         {Strip{103, 8, false}, Strip{104, 7, false}, Strip{106, 2, false}, Strip{107, 6, true}}) {
        const auto image = DecodePngResource(nullptr, strip.id);
        ASSERT_TRUE(image);
        const int w = strip.stacked ? image->Width() : image->Width() / strip.frames;
        const int h = strip.stacked ? image->Height() / strip.frames : image->Height();
        ASSERT_EQ((strip.stacked ? h * strip.frames : w * strip.frames),
                  strip.stacked ? image->Height() : image->Width());
        for (int a = 0; a < strip.frames; ++a)
            for (int b = a + 1; b < strip.frames; ++b)
                EXPECT_FALSE(SameRegion(*image, strip.stacked ? 0 : a * w, strip.stacked ? a * h : 0,
                                        strip.stacked ? 0 : b * w, strip.stacked ? b * h : 0, w, h))
                    << strip.id << ": frames " << a << " and " << b;
    }
}
