// The view's repaint cycle and the drawing operations it offers controls.
// Everything draws into the canvas through the drawing layer; a missing
// canvas or image draws nothing.

#include "core/iplug_base.h"
#include "editor/editor_view.h"
#include "editor/icontrol.h"
#include "editor/image_cache.h"
#include "raster/blend.h"
#include "raster/draw.h"
#include "raster/raster_bitmap.h"
#include "raster/raster_font.h"
#include "raster/text.h"

namespace {

const IBlend kDefaultBlend{};

int ModeOf(const IBlend& blend)
{
    return blend.kind == 1 ? kBlendCopy : kBlendCopy | kBlendSourceAlpha;
}

RasterRect RectOf(const IArea& a)
{
    return {a.L, a.T, a.R, a.B};
}

} // namespace

bool IEditorView::collectDirty(IArea& area)
{
    LockGuard guard(plug->Lock());
    bool any = false;
    for (const auto& c : controls) {
        if (c->needsPaint()) {
            area = area.Union(c->drawArea());
            any = true;
        }
    }
    return any;
}

void IEditorView::paintControls(const IArea& area)
{
    clip = area;
    // By index: a control's paint may change other controls (a drop-down
    // hides its pane), never the list itself.
    for (int i = 0; i < controlCount(); ++i) {
        IControl* c = control(i);
        if (!c->isHidden() && !c->drawArea().Empty() && c->drawArea().Overlaps(area))
            c->paint(*this);
    }
    for (int i = 0; i < controlCount(); ++i)
        control(i)->markClean();
}

bool IEditorView::paint(const IArea& area)
{
    {
        LockGuard guard(plug->Lock());
        if (controls.empty())
            return true;
        paintControls(area);
    }
    return presentArea(area);
}

bool IEditorView::blitStrip(const IImageStrip& strip, const IArea& dest, int srcX, int srcY,
                            const IBlend* blend)
{
    const IArea clipped = dest.Intersect(clip);
    if (clipped.Empty() || !strip.bitmap)
        return true;
    const IBlend& b = blend ? *blend : kDefaultBlend;
    const int sx = srcX + clipped.L - dest.L;
    const int sy = srcY + clipped.T - dest.T;
    const RasterRect source{sx, sy, sx + clipped.W(), sy + clipped.H()};
    BlitBitmap(canvasBitmap.get(), strip.bitmap, clipped.L, clipped.T, source, b.weight, ModeOf(b));
    return true;
}

bool IEditorView::blitFrame(const IImageStrip& strip, const IArea& dest, int frame, const IBlend* blend,
                            bool stacked)
{
    int offset = 0;
    if (strip.frames >= 2 && frame >= 2) {
        const double size = stacked ? strip.height : strip.width;
        offset = static_cast<int>(size * (frame - 1) / strip.frames + 0.5);
    }
    return stacked ? blitStrip(strip, dest, 0, offset, blend) : blitStrip(strip, dest, offset, 0, blend);
}

bool IEditorView::blitRotated(const IImageStrip& strip, int cx, int cy, double angle, const IBlend* blend,
                              float srcOffsetX, float srcOffsetY)
{
    if (!strip.bitmap)
        return true;
    const IBlend& b = blend ? *blend : kDefaultBlend;
    const int w = strip.width;
    const int h = strip.height;
    BlitRotated(canvasBitmap.get(), strip.bitmap, cx - w / 2, cy - h / 2, w, h, 0, 0, w, h, angle, false,
                b.weight, ModeOf(b) | kBlendFilter, srcOffsetX, srcOffsetY);
    return true;
}

bool IEditorView::fillArea(const IRGBA& colour, const IArea& area, const IBlend* blend)
{
    const IBlend& b = blend ? *blend : kDefaultBlend;
    FillArea(canvasBitmap.get(), area.L, area.T, area.W(), area.H(), colour.Packed(), b.weight, ModeOf(b));
    return true;
}

IImageStrip IEditorView::cropStrip(const IImageStrip& strip, const IArea& area)
{
    IImageStrip crop;
    crop.frames = strip.frames;
    std::unique_ptr<RasterBitmap> bitmap = CreateMemoryBitmap(area.W(), area.H(), 4);
    if (!bitmap || !strip.bitmap)
        return crop;
    BlitBitmap(bitmap.get(), strip.bitmap, 0, 0, RectOf(area), 1.0f, kBlendCopy);
    crop.bitmap = KeepDerivedImage(std::move(bitmap));
    if (crop.bitmap) {
        crop.width = area.W();
        crop.height = area.H();
    }
    return crop;
}

bool IEditorView::printText(ITextStyle& style, const char* text, const IArea& area)
{
    if (!text || !*text)
        return true;
    if (!fontFor(style))
        return false;
    return DrawTextInRect(canvasBitmap.get(), &style, text, RectOf(area));
}

RasterFont* IEditorView::fontFor(ITextStyle& style)
{
    LockGuard guard(FontCacheLock());
    style.font = FindOrCreateFont(style);
    return style.font;
}
