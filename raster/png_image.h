#pragma once
// PNG images for the editor: decoded with libpng into memory bitmaps of
// unpremultiplied 0xAARRGGBB pixels. Failures give null, never a crash.

#include "raster/raster_bitmap.h"

#include <cstdint>
#include <memory>
#include <span>

// Decodes PNG bytes to 8 bits per channel: palettes, grey below 8 bits and
// transparency chunks expanded, 16-bit channels reduced to their high byte,
// grey turned to RGB, alpha 255 where the image has none. The bitmap has the
// image's size and alignment 4. Null for 7 bytes or fewer, a wrong signature,
// an image larger than a bitmap may be, or any decoding error.
std::unique_ptr<RasterBitmap> DecodePng(std::span<const std::uint8_t> bytes);

// Finds the "PNG" resource with the given id in the module and decodes it;
// null when there is none.
std::unique_ptr<RasterBitmap> DecodePngResource(void* module, int resourceId);
