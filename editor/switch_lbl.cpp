#include "editor/switch_lbl.h"

#include "editor/editor_view.h"
#include "editor/image_control.h"
#include "editor/value_text.h"

namespace {

int FrameWidth(const IImageStrip& strip)
{
    return NearestInt(static_cast<double>(strip.width) / strip.frames);
}

} // namespace

ISwitchLbl::ISwitchLbl(IPlugBase* owner, int index, int x, int y, const IImageStrip& image,
                       const ITextStyle& style)
    : IControl(owner, IArea{x, y, x + FrameWidth(image), y + image.height + style.size}, index),
      textStyle(style), strip(image)
{
}

void ISwitchLbl::onPress(int, int, const MouseState& mouse)
{
    if (mouse.right)
        promptForValue();
    else
        value += strip.frames < 2 ? 1.0 : 1.0 / (strip.frames - 1);
    if (value > 1.001)
        value = 0.0;
    markDirty(true);
}

bool ISwitchLbl::paint(IEditorView& view)
{
    const IArea textArea{drawRect.L, drawRect.B - textStyle.size, drawRect.R, drawRect.B};
    const bool textOk = PrintValueText(view, *this, textStyle, textArea, true);
    const int w = stacked ? strip.width : FrameWidth(strip);
    const int h = stacked ? NearestInt(static_cast<double>(strip.height) / strip.frames) : strip.height;
    const int shift = centreWidth != 0 ? NearestInt((centreWidth - w) / 2.0) : 0;
    const IArea frameArea{drawRect.L + shift, drawRect.T, drawRect.L + shift + w, drawRect.T + h};
    view.blitFrame(strip, frameArea, FrameForValue(value, strip.frames), &blend, stacked);
    return textOk;
}
