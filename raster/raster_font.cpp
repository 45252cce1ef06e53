#include "raster/raster_font.h"

#include <algorithm>

const Glyph* RasterFont::GlyphFor(char32_t codePoint)
{
    const auto found = glyphs.find(codePoint);
    if (found != glyphs.end())
        return found->second.get();
    auto glyph = std::make_unique<Glyph>();
    if (!RenderGlyph(codePoint, *glyph))
        glyph.reset(); // remembered as missing, so it is not tried again
    ++rendered;
    return glyphs.emplace(codePoint, std::move(glyph)).first->second.get();
}

std::uint8_t CoverageOfGreyLevel(unsigned level, int levelCount)
{
    if (levelCount <= 2) // one level or two: the pixel is inked or not
        return level != 0 ? 255 : 0;
    if (levelCount == 256)
        return static_cast<std::uint8_t>(level);
    const unsigned top = static_cast<unsigned>(levelCount - 1);
    return static_cast<std::uint8_t>(std::min(level, top) * 255 / top);
}

void DrawGlyphRun(RasterBitmap& bitmap, RasterFont& font, std::u32string_view text, std::uint32_t colour,
                  int align, const RasterRect& rect)
{
    std::int64_t totalAdvance = 0;
    for (const char32_t c : text) {
        if (const Glyph* g = font.GlyphFor(c))
            totalAdvance += g->advanceX;
    }
    const std::int64_t textWidth = (totalAdvance + 32) >> 6;
    std::int64_t startX = rect.L;
    if (align == 1)
        startX = rect.L + (std::int64_t{rect.R} - rect.L - textWidth) / 2;
    else if (align != 0)
        startX = rect.R - textWidth;
    // Pen position in 1/64 pixel.
    std::int64_t penX = startX * 64;
    std::int64_t penY = (std::int64_t{rect.T} + font.Ascent()) * 64;

    BlendRule rule;
    rule.op = BlendRule::kAlpha;
    rule.w = 256;
    const int alpha = static_cast<int>(colour >> 24);
    const std::uint32_t rgb = colour & 0x00FFFFFFu;
    const std::int64_t width = bitmap.Width(), height = bitmap.Height();

    for (const char32_t c : text) {
        const Glyph* g = font.GlyphFor(c);
        if (!g)
            continue;
        const std::int64_t originX = ((penX + 32) >> 6) + g->left;
        const std::int64_t originY = ((penY + 32) >> 6) - g->top;
        penX += g->advanceX;
        penY += g->advanceY;
        // Clip the glyph box to the bitmap before touching pixels.
        const std::int64_t x0 = std::max<std::int64_t>(originX, 0);
        const std::int64_t y0 = std::max<std::int64_t>(originY, 0);
        const std::int64_t x1 = std::min<std::int64_t>(originX + g->width, width);
        const std::int64_t y1 = std::min<std::int64_t>(originY + g->rows, height);
        for (std::int64_t y = y0; y < y1; ++y) {
            const std::uint8_t* cover = g->coverage.data() + (y - originY) * g->width + (x0 - originX);
            std::uint32_t* d = bitmap.At(static_cast<int>(x0), static_cast<int>(y));
            for (std::int64_t x = x0; x < x1; ++x, ++cover, ++d) {
                if (*cover == 0)
                    continue;
                const auto a = static_cast<std::uint32_t>((*cover * alpha + 127) / 255);
                *d = BlendPixel(rule, (a << 24) | rgb, *d);
            }
        }
    }
}
