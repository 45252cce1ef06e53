#include "editor/knobs.h"

#include "editor/editor_view.h"
#include "editor/image_control.h"
#include "editor/value_text.h"

#include <cmath>
#include <numbers>

namespace {

// Half the knob's width: half the area width when one is given, else half a
// frame of the image.
int HalfWidth(int areaWidth, const IImageStrip& strip)
{
    if (areaWidth != 0)
        return areaWidth / 2;
    return NearestInt(static_cast<double>(strip.width) / strip.frames * 0.5);
}

int HalfHeight(const IImageStrip& strip)
{
    return NearestInt(strip.height * 0.5);
}

IArea RotKnobArea(int cx, int cy, const IImageStrip& strip, const ITextStyle& style, int textGap,
                  int areaWidth)
{
    const int halfW = HalfWidth(areaWidth, strip);
    const int halfH = HalfHeight(strip);
    const int bottom = textGap > 0 ? cy + halfH + style.size + textGap : cy + halfH;
    return {cx - halfW, cy - halfH, cx + halfW, bottom};
}

IArea MultiKnobArea(int cx, int cy, const IImageStrip& strip, const ITextStyle& style, int textGap,
                    int areaWidth)
{
    const int halfW = HalfWidth(areaWidth, strip);
    const int halfH = HalfHeight(strip);
    return {cx - halfW, cy - halfH, cx + halfW, cy + halfH + style.size + textGap};
}

} // namespace

double KnobGearing::Delta(const IArea& area, int dx, int dy, const MouseState& mouse) const
{
    const double g = mouse.ctrl || mouse.shift ? gearing * 10.0 : gearing;
    const int extent = vertical ? area.T - area.B : area.R - area.L;
    if (extent == 0 || !(g != 0.0))
        return 0.0; // a knob without size (its image is missing) does not turn
    return (vertical ? dy : dx) / static_cast<double>(extent) / g;
}

IKnobRotVal::IKnobRotVal(IPlugBase* owner, int index, int cx, int cy, const IImageStrip& image,
                         const ITextStyle& style, int gap, double range, double gear, int areaWidth,
                         bool vert, float capWeight, bool unit)
    : IControl(owner, RotKnobArea(cx, cy, image, style, gap, areaWidth), index), drag{gear, vert},
      textStyle(style), strip(image), centreX(cx), centreY(cy), textGap(gap), rotationRange(range),
      weight(capWeight), showUnit(unit)
{
}

void IKnobRotVal::onDrag(int, int, int dx, int dy, const MouseState& mouse)
{
    value += drag.Delta(drawRect, dx, dy, mouse);
    markDirty(true);
}

double IKnobRotVal::angleFor(double v) const
{
    const float halfTurn = static_cast<float>(rotationRange * std::numbers::pi / 360.0);
    return static_cast<double>(halfTurn) * (2.0 * v - 1.0);
}

bool IKnobRotVal::paint(IEditorView& view)
{
    const int textBottom = textGap < 0 ? drawRect.B + textGap : drawRect.B;
    const IArea textArea{drawRect.L, textBottom - textStyle.size, drawRect.R, textBottom};
    const bool textOk = PrintValueText(view, *this, textStyle, textArea, showUnit);
    // Greying dims the cap through the control's blend weight.
    const IBlend capBlend{0, weight * blend.weight};
    const auto shift = static_cast<float>(-std::fabs(2.0 * value - 1.0));
    view.blitRotated(strip, centreX, centreY, angleFor(value), &capBlend, shift, shift);
    return textOk;
}

IKnobMulti::IKnobMulti(IPlugBase* owner, int index, int cx, int cy, const IImageStrip& image,
                       const ITextStyle& style, int gap, double /*rotationRange*/, double gear, int areaWidth,
                       bool vert)
    : IControl(owner, MultiKnobArea(cx, cy, image, style, gap, areaWidth), index), drag{gear, vert},
      textStyle(style), strip(image), centreX(cx), textGap(gap)
{
}

void IKnobMulti::onDrag(int, int, int dx, int dy, const MouseState& mouse)
{
    value += drag.Delta(drawRect, dx, dy, mouse);
    markDirty(true);
}

bool IKnobMulti::paint(IEditorView& view)
{
    const IArea textArea{drawRect.L, drawRect.B - textStyle.size, drawRect.R, drawRect.B};
    const bool textOk = PrintValueText(view, *this, textStyle, textArea, true);
    const double frameWidth = static_cast<double>(strip.width) / strip.frames;
    const IArea frameArea{NearestInt(centreX - frameWidth / 2), drawRect.T,
                          NearestInt(centreX + frameWidth / 2), drawRect.B - textGap - textStyle.size};
    view.blitFrame(strip, frameArea, FrameForValue(value, strip.frames), &blend, false);
    return textOk;
}
