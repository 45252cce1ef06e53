#include "editor/buttons.h"

#include "editor/editor_view.h"

IButton::IButton(IPlugBase* owner, int index, int x, int y, const IImageStrip& image)
    : IControl(owner, IArea{x, y, x + image.width, y + image.height / image.frames}, index), strip(image)
{
}

void IButton::onPress(int, int, const MouseState& mouse)
{
    // A right click only sends the value again.
    if (!mouse.right)
        value = value <= 0.5 ? 1.0 : 0.0;
    markDirty(true);
}

bool IButton::paint(IEditorView& view)
{
    if (value <= 0.5)
        return true;
    // The default blend, not the control's: greying does not dim the lit face.
    return view.blitFrame(strip, drawRect, 1, nullptr, true);
}

IButtonClick::IButtonClick(IPlugBase* owner, int index, int x, int y, const IImageStrip& image, bool* flag)
    : IButton(owner, index, x, y, image), clickFlag(flag)
{
}

void IButtonClick::onPress(int, int, const MouseState& mouse)
{
    if (!mouse.right)
        value = value <= 0.5 ? 1.0 : 0.0;
    if (clickFlag)
        *clickFlag = true;
    markDirty(true);
}

void IButtonHold::onPress(int, int, const MouseState& mouse)
{
    if (!mouse.right)
        value = 1.0;
    markDirty(true);
}

void IButtonHold::onRelease(int, int, const MouseState&)
{
    value = 0.0;
    markDirty(true);
}
