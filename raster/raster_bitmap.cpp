#include "raster/raster_bitmap.h"

#include <cstring>
#include <new>

std::uint32_t* RasterBitmap::At(int x, int y) const
{
    const int row = BottomUp() ? Height() - 1 - y : y;
    return Pixels() + static_cast<std::ptrdiff_t>(row) * Span() + x;
}

int MemoryBitmap::SpanFor(int width, int alignment)
{
    int m = 0;
    if (alignment >= 2) {
        m = (alignment & -alignment) - 1;
        if (m > 16)
            m = 16;
    }
    return (width + m) & ~m;
}

MemoryBitmap::MemoryBitmap(int w, int h, int align) : alignment(align)
{
    Resize(w, h);
}

MemoryBitmap::~MemoryBitmap()
{
    Free();
}

void MemoryBitmap::Free()
{
    ::operator delete (pixels, std::align_val_t{64});
    pixels = nullptr;
    capacityBytes = 0;
    width = height = span = 0;
}

bool MemoryBitmap::Resize(int newWidth, int newHeight)
{
    if (newWidth == width && newHeight == height && pixels)
        return true;
    if (newWidth <= 0 || newHeight <= 0) {
        Free();
        return true;
    }
    if (newWidth > kMaxBitmapSide || newHeight > kMaxBitmapSide) {
        Free();
        return false;
    }
    const int newSpan = SpanFor(newWidth, alignment);
    const std::int64_t needed = std::int64_t{newSpan} * newHeight * 4;
    if (needed > kMaxBitmapBytes) {
        Free();
        return false;
    }
    if (needed > capacityBytes) {
        // Grow with headroom so a window dragged larger does not reallocate on
        // every step; rounded up to the 64-byte alignment the allocator needs.
        std::int64_t bytes = needed + needed / 4;
        bytes = (bytes + 63) & ~std::int64_t{63};
        Free();
        pixels = static_cast<std::uint32_t*>(
            ::operator new (static_cast<std::size_t>(bytes), std::align_val_t{64}, std::nothrow));
        if (!pixels)
            return false;
        std::memset(pixels, 0, static_cast<std::size_t>(bytes));
        capacityBytes = bytes;
    }
    width = newWidth;
    height = newHeight;
    span = newSpan;
    return true;
}

std::unique_ptr<RasterBitmap> CreateMemoryBitmap(int width, int height, int alignment)
{
    auto bitmap = std::unique_ptr<MemoryBitmap>(new (std::nothrow) MemoryBitmap(width, height, alignment));
    if (!bitmap || !bitmap->Pixels())
        return nullptr;
    return bitmap;
}

bool ResizeBitmap(RasterBitmap* bitmap, int width, int height)
{
    return bitmap && bitmap->Resize(width, height);
}
