#pragma once
// 32-bit bitmaps of the drawing layer. Pixels are 0xAARRGGBB words (bytes in
// memory: blue, green, red, alpha), alpha not premultiplied. Rows are stepped
// by the span, never by the width, and may be stored bottom-up. No OS calls in
// this header; the system bitmap's platform half lives in its own file.

#include <cstddef>
#include <cstdint>
#include <memory>

// Largest pixel buffer a bitmap will allocate. The editor's bitmaps are far
// smaller; the cap keeps a corrupt image header or an absurd size request from
// exhausting memory.
inline constexpr std::int64_t kMaxBitmapBytes = std::int64_t{256} << 20;
// Largest width or height a bitmap accepts.
inline constexpr int kMaxBitmapSide = 16384;

class RasterBitmap {
public:
    virtual ~RasterBitmap() = default;
    RasterBitmap(const RasterBitmap&) = delete;
    RasterBitmap& operator=(const RasterBitmap&) = delete;

    // The first row stored in memory (the bottom row when BottomUp()); null
    // when the bitmap holds no pixels.
    virtual std::uint32_t* Pixels() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Row span in pixels, at least the width.
    virtual int Span() const = 0;
    virtual bool BottomUp() const = 0;
    // Changes the size; the pixels hold arbitrary values afterwards. A zero
    // or negative size empties the bitmap. False when the new buffer could not
    // be made (the bitmap is then empty too).
    virtual bool Resize(int width, int height) = 0;
    // The system bitmap's device context on Windows (an HDC); null otherwise.
    virtual void* DeviceContext() const { return nullptr; }

    // Pixel (x, y) counted from the top-left, whatever the storage order.
    // Callers keep x and y inside the bitmap.
    std::uint32_t* At(int x, int y) const;

protected:
    RasterBitmap() = default;
};

// Pixels in an owned heap buffer, rows top-down, the first pixel on a 64-byte
// boundary, rows padded to the alignment hint.
class MemoryBitmap final : public RasterBitmap {
public:
    MemoryBitmap(int width, int height, int alignment);
    ~MemoryBitmap() override;

    std::uint32_t* Pixels() const override { return pixels; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    int Span() const override { return span; }
    bool BottomUp() const override { return false; }
    // Same size: nothing. More bytes than the buffer holds: a new buffer of 5/4
    // of the bytes needed. Fewer: the buffer is kept. Zero or negative: freed.
    bool Resize(int newWidth, int newHeight) override;

    std::int64_t CapacityBytes() const { return capacityBytes; }

    // Row span for a width and alignment hint a: with m = (lowest set bit of a)
    // - 1 (0 when a < 2, at most 16), the span is (width + m) with m's bits cleared.
    static int SpanFor(int width, int alignment);

private:
    void Free();

    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int span = 0;
    int alignment = 0;
    std::int64_t capacityBytes = 0;
};

// A memory bitmap, or null when the size is not positive or too large or the
// allocation failed. Pixels start zeroed.
std::unique_ptr<RasterBitmap> CreateMemoryBitmap(int width, int height, int alignment);

// A bitmap the platform can present: on Windows a device-independent bitmap
// section selected into its own memory device context (rows bottom-up); on
// Linux a top-down 32-bit buffer with the layout of an X11 image (span = width).
// Null on failure.
std::unique_ptr<RasterBitmap> CreateSystemBitmap(int width, int height);

// Resizes a bitmap; false for a missing bitmap or a failed allocation.
bool ResizeBitmap(RasterBitmap* bitmap, int width, int height);
