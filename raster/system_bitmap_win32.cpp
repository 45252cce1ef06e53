// The system bitmap on Windows: a device-independent bitmap section selected
// into its own memory device context, so GDI can draw text into it and the
// window can be painted from it. Its rows are stored bottom-up.

#include "raster/raster_bitmap.h"

#include <windows.h>

#include <new>

namespace {

class SystemBitmap final : public RasterBitmap {
public:
    SystemBitmap() = default;
    ~SystemBitmap() override { Free(); }

    std::uint32_t* Pixels() const override { return pixels; }
    int Width() const override { return width; }
    int Height() const override { return height; }
    int Span() const override { return width; }
    bool BottomUp() const override { return true; }
    void* DeviceContext() const override { return dc; }

    bool Resize(int newWidth, int newHeight) override
    {
        if (newWidth == width && newHeight == height && pixels)
            return true;
        Free();
        if (newWidth <= 0 || newHeight <= 0)
            return true;
        if (newWidth > kMaxBitmapSide || newHeight > kMaxBitmapSide ||
            std::int64_t{newWidth} * newHeight * 4 > kMaxBitmapBytes)
            return false;

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = newWidth;
        info.bmiHeader.biHeight = newHeight; // positive: bottom-up rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        if (!dc)
            return false;
        section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!section || !bits) {
            Free();
            return false;
        }
        previous = SelectObject(dc, section);
        pixels = static_cast<std::uint32_t*>(bits);
        width = newWidth;
        height = newHeight;
        return true;
    }

private:
    void Free()
    {
        if (dc && previous)
            SelectObject(dc, previous);
        if (section)
            DeleteObject(section);
        if (dc)
            DeleteDC(dc);
        dc = nullptr;
        section = nullptr;
        previous = nullptr;
        pixels = nullptr;
        width = height = 0;
    }

    HDC dc = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previous = nullptr;
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

} // namespace

std::unique_ptr<RasterBitmap> CreateSystemBitmap(int width, int height)
{
    auto bitmap = std::unique_ptr<SystemBitmap>(new (std::nothrow) SystemBitmap());
    if (!bitmap || !bitmap->Resize(width, height) || !bitmap->Pixels())
        return nullptr;
    return bitmap;
}
