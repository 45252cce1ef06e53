#include "raster/png_image.h"
#include "raster/resources.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

struct PngFormat {
    int colourType;
    int bitDepth;
    bool interlaced = false;
    bool transparency = false; // a tRNS chunk
};

constexpr int kW = 7;
constexpr int kH = 3;

int Channels(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1; // palette index
    }
}

// The raw sample of channel c of pixel i: distinct values across the range.
int Sample(const PngFormat& format, int i, int c)
{
    const int max = (1 << format.bitDepth) - 1;
    if (format.colourType == PNG_COLOR_TYPE_PALETTE)
        return (i * 5 + 1) % (max + 1 < 16 ? max + 1 : 16);
    return static_cast<int>((static_cast<long long>(i) * 37 + c * 91 + 3) * (max / 255 + 1) % (max + 1));
}

std::uint8_t PaletteChannel(int index, int c)
{
    return static_cast<std::uint8_t>(index * 15 + c * 60 + 2);
}

int TransparentSample(const PngFormat& format, int c)
{
    return Sample(format, 2, c); // pixel 2 is the transparent colour
}

int To8(const PngFormat& format, int v)
{
    if (format.bitDepth == 16)
        return v >> 8;
    if (format.bitDepth < 8)
        return v * 255 / ((1 << format.bitDepth) - 1);
    return v;
}

std::uint32_t ExpectedPixel(const PngFormat& format, int i)
{
    int r, g, b, a = 255;
    switch (format.colourType) {
    case PNG_COLOR_TYPE_PALETTE: {
        const int index = Sample(format, i, 0);
        r = PaletteChannel(index, 0);
        g = PaletteChannel(index, 1);
        b = PaletteChannel(index, 2);
        if (format.transparency && index < 4)
            a = index * 60;
        break;
    }
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        r = g = b = To8(format, Sample(format, i, 0));
        if (format.colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
            a = To8(format, Sample(format, i, 1));
        else if (format.transparency && Sample(format, i, 0) == TransparentSample(format, 0))
            a = 0;
        break;
    default:
        r = To8(format, Sample(format, i, 0));
        g = To8(format, Sample(format, i, 1));
        b = To8(format, Sample(format, i, 2));
        if (format.colourType == PNG_COLOR_TYPE_RGB_ALPHA)
            a = To8(format, Sample(format, i, 3));
        else if (format.transparency && Sample(format, i, 0) == TransparentSample(format, 0) &&
                 Sample(format, i, 1) == TransparentSample(format, 1) &&
                 Sample(format, i, 2) == TransparentSample(format, 2))
            a = 0;
    }
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

void Append(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void Flush(png_structp) {}

// Packs the samples row by row (most significant bits first, 16-bit
// big-endian), as the file stores them.
std::vector<std::vector<std::uint8_t>> PackRows(const PngFormat& format)
{
    const int channels = Channels(format.colourType);
    std::vector<std::vector<std::uint8_t>> rows;
    for (int y = 0; y < kH; ++y) {
        std::vector<std::uint8_t> row((static_cast<std::size_t>(kW) * channels * format.bitDepth + 7) / 8, 0);
        int bit = 0;
        for (int x = 0; x < kW; ++x)
            for (int c = 0; c < channels; ++c) {
                const int v = Sample(format, y * kW + x, c);
                if (format.bitDepth == 16) {
                    row[bit / 8] = static_cast<std::uint8_t>(v >> 8);
                    row[bit / 8 + 1] = static_cast<std::uint8_t>(v);
                } else if (format.bitDepth == 8) {
                    row[bit / 8] = static_cast<std::uint8_t>(v);
                } else {
                    row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - format.bitDepth - bit % 8));
                }
                bit += format.bitDepth;
            }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::uint8_t> Encode(const PngFormat& format)
{
    std::vector<std::uint8_t> out;
    auto rows = PackRows(format);
    std::vector<png_bytep> pointers;
    for (auto& r : rows)
        pointers.push_back(r.data());
    png_color palette[16];
    for (int i = 0; i < 16; ++i)
        palette[i] = {PaletteChannel(i, 0), PaletteChannel(i, 1), PaletteChannel(i, 2)};
    png_byte alphas[4] = {0, 60, 120, 180};
    png_color_16 key = {};

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, kW, kH, format.bitDepth, format.colourType,
                 format.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (format.colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 1 << std::min(format.bitDepth, 4));
    if (format.transparency) {
        key.gray = static_cast<png_uint_16>(TransparentSample(format, 0));
        key.red = static_cast<png_uint_16>(TransparentSample(format, 0));
        key.green = static_cast<png_uint_16>(TransparentSample(format, 1));
        key.blue = static_cast<png_uint_16>(TransparentSample(format, 2));
        png_set_tRNS(png, info, alphas, format.colourType == PNG_COLOR_TYPE_PALETTE ? 4 : 0, &key);
    }
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::uint8_t> SampleImage()
{
    return Encode({PNG_COLOR_TYPE_RGB_ALPHA, 8});
}

} // namespace

TEST(DecodePng, EveryColourTypeAndDepthBecomesUnpremultipliedArgb)
{
    const PngFormat formats[] = {
        {PNG_COLOR_TYPE_GRAY, 1},
        {PNG_COLOR_TYPE_GRAY, 2},
        {PNG_COLOR_TYPE_GRAY, 4},
        {PNG_COLOR_TYPE_GRAY, 8},
        {PNG_COLOR_TYPE_GRAY, 16},
        {PNG_COLOR_TYPE_GRAY, 8, false, true},
        {PNG_COLOR_TYPE_GRAY, 2, false, true},
        {PNG_COLOR_TYPE_GRAY, 16, false, true},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 16},
        {PNG_COLOR_TYPE_RGB, 8},
        {PNG_COLOR_TYPE_RGB, 16},
        {PNG_COLOR_TYPE_RGB, 8, false, true},
        {PNG_COLOR_TYPE_RGB, 16, false, true},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8},
        {PNG_COLOR_TYPE_RGB_ALPHA, 16},
        {PNG_COLOR_TYPE_PALETTE, 1},
        {PNG_COLOR_TYPE_PALETTE, 2},
        {PNG_COLOR_TYPE_PALETTE, 4},
        {PNG_COLOR_TYPE_PALETTE, 8},
        {PNG_COLOR_TYPE_PALETTE, 4, false, true},
        {PNG_COLOR_TYPE_PALETTE, 8, false, true},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8, true},
        {PNG_COLOR_TYPE_PALETTE, 2, true, true},
        {PNG_COLOR_TYPE_GRAY, 1, true},
    };
    for (const PngFormat& format : formats) {
        const auto bytes = Encode(format);
        ASSERT_FALSE(bytes.empty());
        const auto image = DecodePng(bytes);
        ASSERT_TRUE(image) << "type " << format.colourType << " depth " << format.bitDepth;
        EXPECT_EQ(image->Width(), kW);
        EXPECT_EQ(image->Height(), kH);
        EXPECT_EQ(image->Span(), 8); // alignment 4
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                ASSERT_EQ(Pixel(*image, x, y), ExpectedPixel(format, y * kW + x))
                    << std::hex << "type " << format.colourType << std::dec << " depth " << format.bitDepth
                    << " tRNS " << format.transparency << " interlaced " << format.interlaced << " at " << x
                    << "," << y;
    }
}

TEST(DecodePng, ShortTruncatedAndCorruptDataGiveNull)
{
    const auto good = SampleImage();
    ASSERT_TRUE(DecodePng(good));
    EXPECT_EQ(DecodePng({}), nullptr);
    // Every truncation fails cleanly, the signature-only and 7-byte ones too.
    for (std::size_t n = 0; n < good.size(); ++n)
        ASSERT_EQ(DecodePng(std::span(good).first(n)), nullptr) << "length " << n;

    // A changed byte anywhere in the critical chunks breaks a checksum or the
    // structure; the decoder must fail or decode something of the stated size,
    // never read or write out of bounds.
    for (std::size_t i = 0; i < good.size(); ++i) {
        auto bad = good;
        bad[i] ^= 0x5A;
        const auto image = DecodePng(bad);
        if (i < 8) {
            EXPECT_EQ(image, nullptr) << "signature byte " << i;
        }
        if (image) {
            EXPECT_LE(image->Width(), kMaxBitmapSide);
            EXPECT_LE(image->Height(), kMaxBitmapSide);
        }
    }
}

TEST(DecodePng, HugeDimensionsAreRefusedBeforeAllocating)
{
    for (const std::uint32_t side : {20000u, 0x7FFFFFFFu, 16384u}) {
        auto bytes = SampleImage();
        // IHDR data starts at byte 16: width, height; then its CRC at 29.
        for (int k = 0; k < 4; ++k) {
            bytes[16 + k] = static_cast<std::uint8_t>(side >> (24 - 8 * k));
            bytes[20 + k] = static_cast<std::uint8_t>(side >> (24 - 8 * k));
        }
        const auto crc = static_cast<std::uint32_t>(crc32(0, bytes.data() + 12, 17));
        for (int k = 0; k < 4; ++k)
            bytes[29 + k] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
        EXPECT_EQ(DecodePng(bytes), nullptr) << side;
    }
}

TEST(DecodePngResource, FindsEmbeddedImagesByIdOnly)
{
    // Resource 900 is a 4 x 3 test pattern: pixel i has red 16i + 1, green
    // 255 - 16i, blue 7i + 3 and alpha 255, 0, then 20i.
    const auto image = DecodePngResource(nullptr, 900);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->Width(), 4);
    ASSERT_EQ(image->Height(), 3);
    for (std::uint32_t i = 0; i < 12; ++i) {
        const std::uint32_t a = i == 0 ? 255 : (i == 1 ? 0 : 20 * i);
        const std::uint32_t expected = (a << 24) | ((16 * i + 1) << 16) | ((255 - 16 * i) << 8) | (7 * i + 3);
        EXPECT_EQ(Pixel(*image, static_cast<int>(i % 4), static_cast<int>(i / 4)), expected) << i;
    }
    EXPECT_EQ(FindPngResource(nullptr, 900).size(), 119u);
    for (int id : {-1, 0, 99, 111, 899, 901, 1 << 30})
        EXPECT_EQ(DecodePngResource(nullptr, id), nullptr) << id;
}
