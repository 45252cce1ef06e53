#include "raster/png_image.h"

#include "raster/resources.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

namespace {

struct PngInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* in = static_cast<PngInput*>(png_get_io_ptr(png));
    if (count > in->size - in->pos)
        png_error(png, "truncated");
    std::memcpy(out, in->data + in->pos, count);
    in->pos += count;
}

// libpng must not print, and must not return from its error handler: the
// decoder's frame is left through longjmp.
void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Runs the decode after setjmp. libpng's longjmp skips destructors, so this
// frame holds only plain pointers, released on the error path by hand.
MemoryBitmap* DecodeFrame(png_structp png, png_infop info, PngInput* input)
{
    MemoryBitmap* volatile bitmap = nullptr;
    png_bytep volatile image = nullptr;
    png_bytepp volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        delete bitmap;
        png_free(png, image);
        png_free(png, rows);
        return nullptr;
    }

    png_set_read_fn(png, input, ReadFromMemory);
    png_set_user_limits(png, kMaxBitmapSide, kMaxBitmapSide);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (std::int64_t{width} * height * 4 > kMaxBitmapBytes)
        png_error(png, "too large");

    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    const bool transparencyChunk = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparencyChunk)
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colourType & PNG_COLOR_MASK_ALPHA) && !transparencyChunk)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const png_size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != std::size_t{width} * 4)
        png_error(png, "unexpected layout");

    // png_malloc reports failure through the error handler, so nothing below
    // sees a null pointer.
    image = static_cast<png_bytep>(png_malloc(png, rowBytes * height));
    rows = static_cast<png_bytepp>(png_malloc(png, sizeof(png_bytep) * height));
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image + rowBytes * y;
    png_read_image(png, rows);
    png_read_end(png, nullptr);

    bitmap = new (std::nothrow) MemoryBitmap(static_cast<int>(width), static_cast<int>(height), 4);
    if (!bitmap || !bitmap->Pixels())
        png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < height; ++y) {
        const png_bytep in = rows[y];
        std::uint32_t* out = bitmap->At(0, static_cast<int>(y));
        for (png_uint_32 x = 0; x < width; ++x) {
            const png_bytep p = in + 4 * x;
            out[x] =
                (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        }
    }
    png_free(png, image);
    png_free(png, rows);
    return bitmap;
}

} // namespace

std::unique_ptr<RasterBitmap> DecodePng(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() <= 7 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return nullptr;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!png)
        return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    PngInput input{bytes.data(), bytes.size(), 0};
    MemoryBitmap* bitmap = DecodeFrame(png, info, &input);
    png_destroy_read_struct(&png, &info, nullptr);
    return std::unique_ptr<RasterBitmap>(bitmap);
}

std::unique_ptr<RasterBitmap> DecodePngResource(void* module, int resourceId)
{
    return DecodePng(FindPngResource(module, resourceId));
}
