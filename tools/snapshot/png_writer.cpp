// Writing a picture as PNG with libpng.

#include "tools/snapshot/panel_snapshot.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace snapshot {
namespace {

[[noreturn]] void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// libpng's errors jump out of this frame, so nothing in it has a destructor.
bool WriteRows(std::FILE* file, const Picture& picture, png_byte* row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
            png_byte* rgb = row + static_cast<std::size_t>(x) * 3;
            rgb[0] = static_cast<png_byte>(p >> 16);
            rgb[1] = static_cast<png_byte>(p >> 8);
            rgb[2] = static_cast<png_byte>(p);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePng(const std::string& path, const Picture& picture, std::string& error)
{
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        error = "no picture to write";
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(picture.width) * 3);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && WriteRows(file, picture, row.data());
    // A full disk shows only when the file is closed.
    if (file)
        written = std::fclose(file) == 0 && written;
    if (!written) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace snapshot
