#include "raster/text.h"

#include "core/bounded_string.h"
#include "core/instance_lock.h"
#include "raster/raster_font.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace {

// The largest character height a font may have; larger requests would make
// glyph bitmaps of absurd size.
constexpr int kMaxFontSize = 2048;

struct CachedFont {
    FontKey key;
    std::unique_ptr<RasterFont> font; // null: the font could not be made
};

// The font cache lives for the whole process: made on first use (a static
// initialiser elsewhere may draw text before this file's own have run) and
// deliberately never freed, so no editor ever holds a dangling font. The list
// is guarded by FontCacheLock().
std::vector<CachedFont>& CachedFonts()
{
    static std::vector<CachedFont>* const fonts = new std::vector<CachedFont>();
    return *fonts;
}

FontKey KeyOf(const ITextStyle& style)
{
    FontKey key;
    key.face.assign(style.fontName, BoundedLength(style.fontName, sizeof style.fontName));
    key.size = style.size;
    key.style = style.style & (kTextBold | kTextItalic);
    key.orientation = style.orientation;
    key.quality = style.quality;
    return key;
}

} // namespace

InstanceLock& FontCacheLock()
{
    static InstanceLock* const lock = new InstanceLock();
    return *lock;
}

std::size_t FontCacheSize()
{
    LockGuard guard(FontCacheLock());
    return CachedFonts().size();
}

RasterFont* FindOrCreateFont(const ITextStyle& style)
{
    LockGuard guard(FontCacheLock());
    try {
        const FontKey key = KeyOf(style);
        for (const CachedFont& cached : CachedFonts()) {
            if (cached.key == key)
                return cached.font.get();
        }
        // A style whose font cannot be made is remembered too, so it is not
        // looked up again on every repaint.
        std::unique_ptr<RasterFont> font;
        if (key.size != 0 && key.size >= -kMaxFontSize && key.size <= kMaxFontSize)
            font = CreatePlatformFont(key);
        RasterFont* made = font.get();
        CachedFonts().push_back(CachedFont{key, std::move(font)});
        return made;
    } catch (...) {
        return nullptr;
    }
}

bool DrawTextInRect(RasterBitmap* bitmap, ITextStyle* style, const char* text, const RasterRect& rect)
{
    if (!text || !*text)
        return true;
    if (!bitmap || !style || !bitmap->Pixels())
        return false;
    if (style->size == 0)
        return true;
    LockGuard guard(FontCacheLock());
    RasterFont* font = FindOrCreateFont(*style);
    style->font = font;
    if (!font)
        return false;
    try {
        return RenderText(*bitmap, *font, std::string_view(text), style->colour.Packed(), style->align, rect);
    } catch (...) {
        return false; // out of memory for a glyph or the converted text: nothing more is drawn
    }
}
