#pragma once
// The drawing operations the editor calls: fills, blits with a weight and a
// blend mode, rotated blits and line segments, all in integer arithmetic on
// 32-bit pixels. Missing bitmaps, empty rectangles, zero weights and
// coordinates far outside draw nothing and never touch memory outside the
// bitmaps. No OS calls.

#include "raster/blend.h"
#include "raster/raster_bitmap.h"

#include <cstdint>

// A rectangle given by its edges; right and bottom are exclusive.
struct RasterRect {
    int L = 0;
    int T = 0;
    int R = 0;
    int B = 0;
};

// Fills width x height pixels at (x, y) with colour (0xAARRGGBB) at weight
// 0..1 in the given mode (copy, add or dodge; kBlendSourceAlpha scales the
// weight by the colour's alpha).
void FillArea(RasterBitmap* bitmap, int x, int y, int width, int height, std::uint32_t colour, float weight,
              int mode);

// Draws the source rectangle of src at (x, y) of dst.
void BlitBitmap(RasterBitmap* dst, const RasterBitmap* src, int x, int y, RasterRect srcRect, float weight,
                int mode);

// Draws the source rectangle (sx, sy, sw, sh) into the destination rectangle
// (dx, dy, dw, dh) turned by angle radians (positive turns clockwise on
// screen) about the rectangles' centres; the destination centre shows the
// source centre plus (offsetX, offsetY). A negative dw or dh mirrors the
// picture. With clipToSource only the source rectangle is sampled, otherwise
// the whole source bitmap. Mode bit kBlendFilter samples bilinearly.
void BlitRotated(RasterBitmap* dst, const RasterBitmap* src, int dx, int dy, int dw, int dh, int sx, int sy,
                 int sw, int sh, double angle, bool clipToSource, float weight, int mode,
                 double offsetX = 0.0, double offsetY = 0.0);

// Draws the segment from (x1, y1) to (x2, y2), both ends included, combining
// the colour with each pixel as FillArea does. With antialias the segment's
// coverage of the two pixels it passes between scales the weight.
void DrawSegment(RasterBitmap* bitmap, int x1, int y1, int x2, int y2, std::uint32_t colour, float weight,
                 int mode, bool antialias);
