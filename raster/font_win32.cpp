// Fonts and text on Windows. Opaque text goes through GDI straight into a
// system bitmap's device context; translucent text, text on bitmaps without a
// device context, and all text under Wine take the glyph path: each glyph is
// rendered once by GDI into the font's cache and blended onto the bitmap.

#include "raster/raster_font.h"
#include "raster/utf8.h"

#include <windows.h>

#include <string>

namespace {

// Wine's GDI text output differs from Windows'; the glyph path draws the same
// on both. Checked once per process.
bool RunningUnderWine()
{
    static const bool underWine = [] {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }();
    return underWine;
}

DWORD QualityFor(int quality)
{
    switch (quality) {
    case 0:
        return DEFAULT_QUALITY;
    case 3:
        return CLEARTYPE_QUALITY;
    case 2:
        return ANTIALIASED_QUALITY;
    default:
        return NONANTIALIASED_QUALITY;
    }
}

class GdiFont final : public RasterFont {
public:
    GdiFont(HFONT gdiFont, HDC measureDc, int ascentPixels)
        : RasterFont(ascentPixels), font(gdiFont), dc(measureDc)
    {
    }
    ~GdiFont() override
    {
        DeleteDC(dc);
        DeleteObject(font);
    }

    HFONT Handle() const { return font; }

protected:
    bool RenderGlyph(char32_t codePoint, Glyph& out) override
    {
        if (codePoint > 0xFFFF)
            return false;
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS metrics = {};
        const UINT ch = static_cast<UINT>(codePoint);
        const DWORD size = GetGlyphOutlineW(dc, ch, GGO_GRAY8_BITMAP, &metrics, 0, nullptr, &identity);
        if (size == GDI_ERROR)
            return false;
        out.advanceX = std::int64_t{metrics.gmCellIncX} * 64;
        // The glyph origin's y grows upwards, but the cell increment is given
        // in device terms, y growing downwards: text turned by 90 degrees
        // reports a negative increment and runs up the bitmap.
        out.advanceY = std::int64_t{metrics.gmCellIncY} * 64;
        out.left = metrics.gmptGlyphOrigin.x;
        out.top = metrics.gmptGlyphOrigin.y;
        if (size == 0)
            return true; // a blank glyph such as the space: only an advance
        std::string buffer(size, '\0');
        if (GetGlyphOutlineW(dc, ch, GGO_GRAY8_BITMAP, &metrics, size, buffer.data(), &identity) == GDI_ERROR)
            return false;
        // Rows are padded to 4 bytes; levels run from 0 to 64.
        const int width = static_cast<int>(metrics.gmBlackBoxX);
        const int rows = static_cast<int>(metrics.gmBlackBoxY);
        const std::size_t pitch = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
        if (pitch * rows > size)
            return false;
        out.width = width;
        out.rows = rows;
        out.coverage.resize(static_cast<std::size_t>(width) * rows);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < width; ++x) {
                const int level = static_cast<unsigned char>(buffer[y * pitch + x]);
                out.coverage[static_cast<std::size_t>(y) * width + x] =
                    static_cast<std::uint8_t>(level >= 64 ? 255 : level * 255 / 64);
            }
        }
        return true;
    }

private:
    HFONT font;
    HDC dc; // a memory device context with the font selected, for glyph rendering
};

} // namespace

std::unique_ptr<RasterFont> CreatePlatformFont(const FontKey& key)
{
    // Escapement in tenths of a degree; whole turns are dropped first so that
    // an absurd orientation cannot overflow the product.
    const int tenths = (key.orientation % 360) * 10;
    HFONT font = CreateFontA(key.size, 0, tenths, tenths, (key.style & 1) ? FW_BOLD : FW_NORMAL,
                             (key.style & 2) ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, QualityFor(key.quality),
                             DEFAULT_PITCH | FF_DONTCARE, key.face.c_str());
    if (!font)
        return nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(font);
        return nullptr;
    }
    SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    const int ascent = GetTextMetricsA(dc, &metrics) ? metrics.tmAscent : key.size;
    return std::make_unique<GdiFont>(font, dc, ascent);
}

bool RenderText(RasterBitmap& bitmap, RasterFont& font, std::string_view text, std::uint32_t colour,
                int align, const RasterRect& rect)
{
    const bool utf8 = LooksLikeUtf8(text);
    std::u16string wide;
    if (utf8)
        wide = Utf8ToUtf16(text);

    HDC dc = static_cast<HDC>(bitmap.DeviceContext());
    const bool opaque = (colour >> 24) == 0xFF;
    if (dc && opaque && !RunningUnderWine()) {
        const UINT flags = DT_NOCLIP | (align == 0 ? DT_LEFT : (align == 1 ? DT_CENTER : DT_RIGHT));
        RECT r = {rect.L, rect.T, rect.R, rect.B};
        HGDIOBJ previous = SelectObject(dc, static_cast<GdiFont&>(font).Handle());
        SetTextColor(dc, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        int drawn = 0;
        if (utf8)
            drawn = DrawTextW(dc, reinterpret_cast<LPCWSTR>(wide.c_str()), static_cast<int>(wide.size()), &r,
                              flags);
        else
            drawn = DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, flags);
        SetBkMode(dc, oldMode);
        SelectObject(dc, previous);
        GdiFlush();
        return drawn != 0;
    }

    if (!utf8) {
        // Texts without UTF-8 bytes are ASCII, which every code page shares.
        wide.reserve(text.size());
        for (const char c : text)
            wide.push_back(static_cast<unsigned char>(c));
    }
    DrawGlyphRun(bitmap, font, Utf16ToCodePoints(wide), colour, align, rect);
    return true;
}
