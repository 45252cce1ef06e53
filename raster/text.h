#pragma once
// Text on bitmaps with fonts from the library-wide font cache. The cache and
// the glyphs it holds live as long as the library is loaded.

#include "raster/draw.h"
#include "raster/draw_types.h"

#include <cstddef>

class InstanceLock;

// Draws text in the style's font and colour as one line in the rectangle
// (aligned by the style; nothing is clipped to the rectangle). Texts with a
// byte of 0x80 or more are taken as UTF-8. Sets style->font to the cached
// font. An empty text, or a style of size 0, draws nothing and succeeds; a
// missing bitmap or style, or a font that cannot be made, draws nothing and
// fails.
bool DrawTextInRect(RasterBitmap* bitmap, ITextStyle* style, const char* text, const RasterRect& rect);

// The cached font for a style, made on first use; null when it cannot be made.
// The caller holds FontCacheLock() while it uses the font.
RasterFont* FindOrCreateFont(const ITextStyle& style);

// Guards the font cache and every cached font's glyphs. Process-wide, created
// when the library is loaded and never destroyed.
InstanceLock& FontCacheLock();

// Number of distinct styles the cache has made fonts for.
std::size_t FontCacheSize();
