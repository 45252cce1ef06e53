// Fonts on Linux: fontconfig resolves the style's face name to a font file
// ("Arial" to Liberation Sans where it is installed) and FreeType renders each
// glyph once into the font's cache; text always takes the glyph path.

#include "raster/raster_font.h"
#include "raster/utf8.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// The FreeType library handle; made on first use under the font cache lock
// and kept for the life of the process, like the fonts made from it.
FT_Library SharedLibrary()
{
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
    }
    return library;
}

class FreeTypeFont final : public RasterFont {
public:
    FreeTypeFont(FT_Face fontFace, int ascentPixels, bool monochrome)
        : RasterFont(ascentPixels), face(fontFace), mono(monochrome)
    {
    }
    // Cached fonts are never destroyed while the library is loaded; the face
    // goes with the font when a half-made font is dropped.
    ~FreeTypeFont() override { FT_Done_Face(face); }

protected:
    bool RenderGlyph(char32_t codePoint, Glyph& out) override
    {
        const FT_UInt index = FT_Get_Char_Index(face, codePoint);
        if (index == 0 && codePoint != 0)
            return false;
        const FT_Int32 loadFlags = mono ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT;
        if (FT_Load_Glyph(face, index, loadFlags) != 0)
            return false;
        FT_GlyphSlot slot = face->glyph;
        if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
            return false;
        const FT_Bitmap& bm = slot->bitmap;
        out.width = static_cast<int>(bm.width);
        out.rows = static_cast<int>(bm.rows);
        out.left = slot->bitmap_left;
        out.top = slot->bitmap_top;
        out.advanceX = slot->advance.x;
        out.advanceY = -slot->advance.y; // FreeType's y grows upwards
        out.coverage.assign(static_cast<std::size_t>(out.width) * out.rows, 0);
        for (int y = 0; y < out.rows; ++y) {
            const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
            std::uint8_t* dst = out.coverage.data() + static_cast<std::size_t>(y) * out.width;
            for (int x = 0; x < out.width; ++x) {
                if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                    dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                    dst[x] = CoverageOfGreyLevel(row[x], bm.num_grays);
            }
        }
        return true;
    }

private:
    FT_Face face;
    bool mono;
};

// The font file and face index fontconfig picks for the key; false if none.
bool MatchFontFile(const FontKey& key, std::string& file, int& faceIndex)
{
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return false;
    if (!key.face.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(key.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, (key.style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (key.style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    FcChar8* path = nullptr;
    int index = 0;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
            index = 0;
        faceIndex = index;
    }
    FcPatternDestroy(match);
    return found;
}

} // namespace

std::unique_ptr<RasterFont> CreatePlatformFont(const FontKey& key)
{
    FT_Library library = SharedLibrary();
    std::string file;
    int faceIndex = 0;
    if (!library || !MatchFontFile(key, file, faceIndex))
        return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), faceIndex, &face) != 0)
        return nullptr;

    // A positive size is the height of the character cell (ascent plus
    // descent), a negative one the height of the em square, as the Windows
    // build's fonts measure them.
    FT_Error error = 0;
    if (key.size > 0) {
        FT_Size_RequestRec request = {};
        request.type = FT_SIZE_REQUEST_TYPE_REAL_DIM;
        request.height = static_cast<FT_Long>(key.size) * 64;
        error = FT_Request_Size(face, &request);
    } else {
        error = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(-key.size));
    }
    if (error != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    if (key.orientation % 360 != 0) {
        // The baseline turns counter-clockwise by the orientation in degrees.
        const double radians = (key.orientation % 360) * std::numbers::pi / 180.0;
        const auto c = static_cast<FT_Fixed>(std::lround(std::cos(radians) * 65536.0));
        const auto s = static_cast<FT_Fixed>(std::lround(std::sin(radians) * 65536.0));
        FT_Matrix matrix = {c, -s, s, c};
        FT_Set_Transform(face, &matrix, nullptr);
    }
    const int ascent = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
    return std::make_unique<FreeTypeFont>(face, ascent, key.quality == 1);
}

bool RenderText(RasterBitmap& bitmap, RasterFont& font, std::string_view text, std::uint32_t colour,
                int align, const RasterRect& rect)
{
    std::u32string codePoints;
    if (LooksLikeUtf8(text)) {
        codePoints = Utf16ToCodePoints(Utf8ToUtf16(text));
    } else {
        codePoints.reserve(text.size());
        for (const char c : text)
            codePoints.push_back(static_cast<unsigned char>(c));
    }
    DrawGlyphRun(bitmap, font, codePoints, colour, align, rect);
    return true;
}
