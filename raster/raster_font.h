#pragma once
// Fonts of the drawing layer: a platform font plus the glyphs it has rendered,
// each rendered once and reused. Fonts live in the library-wide font cache and
// are never freed while the library is loaded. Callers hold FontCacheLock()
// while they use a font. No OS calls in this header.

#include "raster/draw.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The style fields that make a distinct font (colour and alignment do not).
struct FontKey {
    std::string face;
    int size = 0;
    int style = 0;
    int orientation = 0;
    int quality = 0;

    bool operator==(const FontKey&) const = default;
};

// One rendered glyph: coverage 0..255 in rows of `width` bytes, placed with its
// top-left corner at (pen x + left, baseline - top). Advances are in 1/64
// pixel, screen directions (y grows downwards).
struct Glyph {
    int width = 0;
    int rows = 0;
    int left = 0;
    int top = 0;
    std::int64_t advanceX = 0;
    std::int64_t advanceY = 0;
    std::vector<std::uint8_t> coverage;
};

class RasterFont {
public:
    virtual ~RasterFont() = default;
    RasterFont(const RasterFont&) = delete;
    RasterFont& operator=(const RasterFont&) = delete;

    // The glyph for a code point, rendered on first use; null when the font
    // cannot render it.
    const Glyph* GlyphFor(char32_t codePoint);
    // Pixels from the top of a line to the baseline.
    int Ascent() const { return ascent; }
    // How many glyphs this font has rendered so far.
    int GlyphsRendered() const { return rendered; }

protected:
    explicit RasterFont(int ascentPixels) : ascent(ascentPixels) {}
    virtual bool RenderGlyph(char32_t codePoint, Glyph& out) = 0;

private:
    int ascent;
    int rendered = 0;
    std::unordered_map<char32_t, std::unique_ptr<Glyph>> glyphs;
};

// The coverage (0 .. 255) of a pixel at grey level `level` of a glyph bitmap
// with `levelCount` levels; a bitmap of one level or none is ink or no ink.
std::uint8_t CoverageOfGreyLevel(unsigned level, int levelCount);

// Lays the text out as one line in the rectangle (top-aligned; left, centred or
// right by align 0, 1 or other) and blends each glyph's coverage, times the
// colour's alpha, onto the bitmap in the colour. Nothing is clipped to the
// rectangle, only to the bitmap.
void DrawGlyphRun(RasterBitmap& bitmap, RasterFont& font, std::u32string_view text, std::uint32_t colour,
                  int align, const RasterRect& rect);

// Makes the platform font for a key; null when it cannot be made.
// Implemented by font_posix.cpp or font_win32.cpp. Font cache lock held.
std::unique_ptr<RasterFont> CreatePlatformFont(const FontKey& key);

// Draws a non-empty text with a font of this platform. Font cache lock held.
bool RenderText(RasterBitmap& bitmap, RasterFont& font, std::string_view text, std::uint32_t colour,
                int align, const RasterRect& rect);
