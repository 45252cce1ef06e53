// The system bitmap on Linux: a top-down 32-bit buffer whose rows are exactly
// the width apart, the layout an X11 ZPixmap image of depth 24/32 expects, so
// the window can hand the pixels to the X server without converting them.

#include "raster/raster_bitmap.h"

#include <new>

std::unique_ptr<RasterBitmap> CreateSystemBitmap(int width, int height)
{
    // Alignment hint 1: the span equals the width.
    auto bitmap = std::unique_ptr<MemoryBitmap>(new (std::nothrow) MemoryBitmap(width, height, 1));
    if (!bitmap || !bitmap->Pixels())
        return nullptr;
    return bitmap;
}
