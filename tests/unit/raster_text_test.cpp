#include "raster/raster_font.h"
#include "raster/text.h"
#include "raster/utf8.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // bounding box, inclusive
};

Ink FindInk(const RasterBitmap& b, std::uint32_t background)
{
    Ink ink;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (Pixel(b, x, y) != background) {
                ++ink.count;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

ITextStyle Style(int size, int align, IRGBA colour = {255, 255, 255, 255})
{
    ITextStyle s;
    std::strcpy(s.fontName, "Arial");
    s.size = size;
    s.align = align;
    s.colour = colour;
    return s;
}

// Text drawn by a static initialiser, before main and possibly before the font
// cache's own file has been initialised: the cache must already be usable.
const bool kDrawnBeforeMain = [] {
    auto b = MakeBitmap(40, 20);
    ITextStyle style = Style(12, 0);
    return DrawTextInRect(b.get(), &style, "ab", {0, 0, 40, 20});
}();

} // namespace

TEST(DrawTextInRect, WorksFromAStaticInitialiser)
{
    EXPECT_TRUE(kDrawnBeforeMain);
}

TEST(DrawTextInRect, InkStaysInsideTheRectangleAndFollowsTheAlignment)
{
    const RasterRect rect{20, 10, 180, 40};
    int lefts[3] = {};
    for (int align : {0, 1, 2}) {
        auto b = MakeBitmap(200, 60, 0xFF000000);
        ITextStyle style = Style(16, align);
        ASSERT_TRUE(DrawTextInRect(b.get(), &style, "Hz 42", rect));
        const Ink ink = FindInk(*b, 0xFF000000);
        ASSERT_GT(ink.count, 20) << align;
        EXPECT_GE(ink.left, rect.L);
        EXPECT_LT(ink.right, rect.R);
        EXPECT_GE(ink.top, rect.T);
        EXPECT_LT(ink.bottom, rect.T + 16); // one line, from the top
        lefts[align] = ink.left;
        if (align == 1) {
            // Centred: the margins on both sides differ by rounding only.
            EXPECT_NEAR(ink.left - rect.L, rect.R - 1 - ink.right, 3);
        }
        if (align == 2) {
            EXPECT_GE(ink.right, rect.R - 4);
        }
    }
    EXPECT_LT(lefts[0], lefts[1]);
    EXPECT_LT(lefts[1], lefts[2]);
}

TEST(DrawTextInRect, ColourAndAlphaAreBlendedOntoTheBitmap)
{
    auto opaque = MakeBitmap(80, 30, 0xFF000000);
    ITextStyle red = Style(20, 0, {255, 255, 0, 0});
    ASSERT_TRUE(DrawTextInRect(opaque.get(), &red, "M", {0, 0, 80, 30}));
    auto faint = MakeBitmap(80, 30, 0xFF000000);
    ITextStyle translucent = Style(20, 0, {100, 255, 0, 0});
    ASSERT_TRUE(DrawTextInRect(faint.get(), &translucent, "M", {0, 0, 80, 30}));
    int full = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const std::uint32_t p = Pixel(*opaque, x, y), q = Pixel(*faint, x, y);
            EXPECT_EQ(p & 0x0000FFFFu, 0u); // only red
            EXPECT_LE(Chan(q, 2), Chan(p, 2));
            full += p == 0xFFFF0000u;
            if (p == 0xFFFF0000u) { // a fully covered pixel, at alpha 100 of 255
                EXPECT_NEAR(Chan(q, 2), 100, 1);
            }
        }
    EXPECT_GT(full, 10);
}

TEST(DrawTextInRect, FontsAndGlyphsAreMadeOnceAndReused)
{
    auto b = MakeBitmap(100, 30);
    ITextStyle style = Style(13, 0);
    style.style = kTextBold;
    ASSERT_TRUE(DrawTextInRect(b.get(), &style, "abcabc", {0, 0, 100, 30}));
    ASSERT_NE(style.font, nullptr);
    RasterFont* font = style.font;
    const std::size_t fonts = FontCacheSize();
    const int glyphs = font->GlyphsRendered();
    EXPECT_EQ(glyphs, 3); // each distinct character once

    ITextStyle copy = Style(13, 2, {255, 0, 255, 0}); // colour and alignment do not make a new font
    copy.style = kTextBold;
    ASSERT_TRUE(DrawTextInRect(b.get(), &copy, "cab", {0, 0, 100, 30}));
    EXPECT_EQ(copy.font, font);
    EXPECT_EQ(FontCacheSize(), fonts);
    EXPECT_EQ(font->GlyphsRendered(), glyphs);

    ITextStyle other = Style(14, 0);
    ASSERT_TRUE(DrawTextInRect(b.get(), &other, "a", {0, 0, 100, 30}));
    EXPECT_NE(other.font, font);
    EXPECT_EQ(FontCacheSize(), fonts + 1);
}

TEST(DrawTextInRect, OrientationTurnsTheBaseline)
{
    auto flat = MakeBitmap(120, 120);
    auto upright = MakeBitmap(120, 120);
    ITextStyle style = Style(16, 0);
    ASSERT_TRUE(DrawTextInRect(flat.get(), &style, "MMMMM", {10, 60, 110, 110}));
    style.orientation = 90; // counter-clockwise: the text runs upwards
    ASSERT_TRUE(DrawTextInRect(upright.get(), &style, "MMMMM", {10, 100, 110, 110}));
    const Ink a = FindInk(*flat, 0), b = FindInk(*upright, 0);
    EXPECT_GT(a.right - a.left, 2 * (a.bottom - a.top));
    EXPECT_GT(b.bottom - b.top, 2 * (b.right - b.left));
    EXPECT_LT(b.top, 100 - 30); // drawn above the starting point
    EXPECT_NEAR(a.count, b.count, a.count / 5);
}

// Whole turns change nothing, however many: an absurd orientation draws as its
// remainder of a circle.
TEST(DrawTextInRect, OrientationCountsModuloAFullCircle)
{
    for (int absurd : {INT_MAX, INT_MIN + 1}) {
        auto expected = MakeBitmap(120, 120);
        auto drawn = MakeBitmap(120, 120);
        ITextStyle style = Style(16, 0);
        style.orientation = absurd % 360;
        ASSERT_TRUE(DrawTextInRect(expected.get(), &style, "MMM", {40, 60, 110, 110}));
        style.orientation = absurd;
        ASSERT_TRUE(DrawTextInRect(drawn.get(), &style, "MMM", {40, 60, 110, 110}));
        ASSERT_GT(FindInk(*expected, 0).count, 20);
        int differing = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x)
                differing += Pixel(*expected, x, y) != Pixel(*drawn, x, y);
        EXPECT_EQ(differing, 0) << absurd;
    }
}

TEST(DrawTextInRect, EmptyAndMissingInputs)
{
    auto b = MakeBitmap(40, 20);
    ITextStyle style = Style(12, 0);
    EXPECT_TRUE(DrawTextInRect(b.get(), &style, "", {0, 0, 40, 20}));
    EXPECT_TRUE(DrawTextInRect(b.get(), &style, nullptr, {0, 0, 40, 20}));
    EXPECT_FALSE(DrawTextInRect(nullptr, &style, "x", {0, 0, 40, 20}));
    EXPECT_FALSE(DrawTextInRect(b.get(), nullptr, "x", {0, 0, 40, 20}));
    ITextStyle none = Style(0, 0);
    EXPECT_TRUE(DrawTextInRect(b.get(), &none, "x", {0, 0, 40, 20}));
    ITextStyle huge = Style(1 << 30, 0);
    EXPECT_FALSE(DrawTextInRect(b.get(), &huge, "x", {0, 0, 40, 20}));
    EXPECT_EQ(FindInk(*b, 0).count, 0);

    // Far-away rectangles and unterminated font names draw nothing outside.
    BottomUpBitmap guarded(40, 20, 41);
    ITextStyle unterminated = Style(30, 1);
    std::memset(unterminated.fontName, 'A', sizeof unterminated.fontName);
    for (const RasterRect r :
         {RasterRect{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}, RasterRect{35, 15, 36, 16},
          RasterRect{-0x7FFFFFFF, 0, 0x7FFFFFFF, 5}, RasterRect{0x7FFFFFF0, 0, -5, 0}})
        EXPECT_TRUE(DrawTextInRect(&guarded, &unterminated, "Wide text \xC3\xA9\xE2\x82\xAC", r));
    EXPECT_TRUE(guarded.GuardsIntact());
}

TEST(DrawTextInRect, Utf8TextIsDecoded)
{
    // "é" as UTF-8 draws the same glyph as the code point itself would.
    auto utf8 = MakeBitmap(40, 30);
    ITextStyle style = Style(20, 0);
    ASSERT_TRUE(DrawTextInRect(utf8.get(), &style, "\xC3\xA9", {0, 0, 40, 30}));
    auto expected = MakeBitmap(40, 30);
    DrawGlyphRun(*expected, *style.font, U"\u00E9", style.colour.Packed(), 0, {0, 0, 40, 30});
    EXPECT_GT(FindInk(*utf8, 0).count, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Pixel(*utf8, x, y), Pixel(*expected, x, y));
}

TEST(Utf8, ConversionAndMalformedInput)
{
    EXPECT_FALSE(LooksLikeUtf8("plain 123"));
    EXPECT_TRUE(LooksLikeUtf8("caf\xC3\xA9"));
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5"), u"a\u00E9\u20AC\U0001F3B5");
    // Malformed: stray continuation, truncated sequence, overlong, surrogate,
    // above U+10FFFF; each bad byte becomes one replacement character.
    EXPECT_EQ(Utf8ToUtf16("\x80"), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("x\xE2\x82"), u"x\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToCodePoints(u"a\U0001F3B5"), U"a\U0001F3B5");
    EXPECT_EQ(Utf16ToCodePoints(std::u16string(1, u'\xD800') + u"b"), U"\uFFFDb");
}

// Grey levels of a glyph bitmap scale to 0 .. 255 whatever the face's level
// count; a single-level (mono) bitmap is ink or no ink.
TEST(GlyphCoverage, GreyLevelsScaleToFullCoverage)
{
    EXPECT_EQ(CoverageOfGreyLevel(0, 1), 0);
    EXPECT_EQ(CoverageOfGreyLevel(1, 1), 255);
    EXPECT_EQ(CoverageOfGreyLevel(1, 2), 255);
    EXPECT_EQ(CoverageOfGreyLevel(2, 5), 127);
    EXPECT_EQ(CoverageOfGreyLevel(4, 5), 255);
    EXPECT_EQ(CoverageOfGreyLevel(200, 256), 200);
}
