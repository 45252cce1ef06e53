#include "tools/artwork/label_fonts.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <stdexcept>
#include <string>

namespace artwork {

namespace {

struct FaceRequest {
    const char* pattern;
    const char* fileName; // the file the Debian package installs
};

constexpr std::array<FaceRequest, 4> kRequests = {{
    {"DejaVu Sans:style=Condensed Bold", "DejaVuSansCondensed-Bold.ttf"},
    {"DejaVu Sans:style=Bold", "DejaVuSans-Bold.ttf"},
    {"DejaVu Sans:style=ExtraLight", "DejaVuSans-ExtraLight.ttf"},
    {"Liberation Sans:style=Regular", "LiberationSans-Regular.ttf"},
}};

FT_Library freetype = nullptr;
std::array<cairo_font_face_t*, kRequests.size()> faces{};
const cairo_user_data_key_t kFaceKey{};

std::string MatchFile(const FaceRequest& request)
{
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request.pattern));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::string file;
    FcChar8* path = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match != nullptr)
        FcPatternDestroy(match);
    const std::string wanted = std::string("/") + request.fileName;
    if (file.size() < wanted.size() || file.compare(file.size() - wanted.size(), wanted.size(), wanted) != 0)
        throw std::runtime_error(std::string("font not installed: ") + request.pattern + " (" +
                                 request.fileName + ")");
    return file;
}

cairo_font_face_t* LoadFace(const FaceRequest& request)
{
    const std::string file = MatchFile(request);
    FT_Face ftFace = nullptr;
    if (FT_New_Face(freetype, file.c_str(), 0, &ftFace) != 0)
        throw std::runtime_error("cannot open font " + file);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
    cairo_font_face_set_user_data(face, &kFaceKey, ftFace,
                                  [](void* data) { FT_Done_Face(static_cast<FT_Face>(data)); });
    return face;
}

void SelectFont(cairo_t* cr, const TextStyle& style)
{
    cairo_set_font_face(cr, faces[static_cast<std::size_t>(style.face)]);
    cairo_set_font_size(cr, style.size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double Advance(cairo_t* cr, std::string_view glyph)
{
    const std::string text(glyph);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

// The texts are ASCII, so one byte is one character.
double MeasuredWidth(cairo_t* cr, const TextStyle& style, std::string_view text)
{
    double width = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i)
        width += Advance(cr, text.substr(i, 1)) + (i + 1 < text.size() ? style.tracking : 0.0);
    return width;
}

} // namespace

void LoadFonts()
{
    if (freetype != nullptr)
        return;
    if (FT_Init_FreeType(&freetype) != 0)
        throw std::runtime_error("cannot start FreeType");
    for (std::size_t i = 0; i < kRequests.size(); ++i)
        faces[i] = LoadFace(kRequests[i]);
}

double TextWidth(cairo_t* cr, const TextStyle& style, std::string_view text)
{
    cairo_save(cr);
    SelectFont(cr, style);
    const double width = MeasuredWidth(cr, style, text);
    cairo_restore(cr);
    return width;
}

void DrawText(cairo_t* cr, const TextStyle& style, double x, double baseline, std::string_view text,
              Align align)
{
    cairo_save(cr);
    SelectFont(cr, style);
    const double width = MeasuredWidth(cr, style, text);
    double pen = x;
    if (align == Align::Centre)
        pen -= width / 2.0;
    else if (align == Align::Right)
        pen -= width;
    // Outlines placed at exact positions: glyphs shown as text would land
    // on whole pixels and space the letters unevenly at these small sizes.
    cairo_new_path(cr);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string glyph(text.substr(i, 1));
        cairo_move_to(cr, pen, baseline);
        cairo_text_path(cr, glyph.c_str());
        pen += Advance(cr, glyph) + style.tracking;
    }
    SetColour(cr, style.colour, style.alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawEngraved(cairo_t* cr, const TextStyle& style, double x, double baseline, std::string_view text,
                  Align align)
{
    TextStyle shadow = style;
    shadow.colour = palette::kEngraveShadow;
    shadow.alpha = 0.75 * style.alpha;
    DrawText(cr, shadow, x, baseline + 1.0, text, align);
    DrawText(cr, style, x, baseline, text, align);
}

} // namespace artwork
