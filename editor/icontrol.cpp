#include "editor/icontrol.h"

#include "core/iplug_base.h"
#include "editor/editor_view.h"

#include <algorithm>
#include <cmath>

IControl::IControl(IPlugBase* owner, const IArea& area, int paramIndex)
    : plug(owner), drawRect(area), targetRect(area), boundIndex(paramIndex)
{
}

IControl::~IControl() = default;

IParameter* IControl::parameter() const
{
    return plug && boundIndex >= 0 ? plug->GetParam(boundIndex) : nullptr;
}

void IControl::onPress(int, int, const MouseState& mouse)
{
    if (mouse.right)
        promptForValue();
}

void IControl::onRelease(int, int, const MouseState&) {}

void IControl::onDrag(int, int, int, int, const MouseState&) {}

void IControl::onDoubleClick(int, int, const MouseState&)
{
    if (defaultValue >= 0.0) {
        value = defaultValue;
        markDirty(true);
    }
}

void IControl::onWheel(int, int, const MouseState& mouse, int delta)
{
    const double step = mouse.ctrl || mouse.shift ? 0.001 : 0.01;
    value += delta * step;
    markDirty(true);
}

void IControl::onKey(int, int, int) {}

void IControl::onPointerOver(int, int, const MouseState&) {}

void IControl::onPointerLeave() {}

void IControl::valueFromPlugin(double normalized)
{
    if (std::isnan(normalized))
        return;
    if (defaultValue < 0.0)
        defaultValue = normalized;
    else if (normalized == value)
        return;
    value = normalized;
    markDirty(false);
    repaintAgain = true;
}

void IControl::valueFromUser(double normalized)
{
    if (std::isnan(normalized))
        return;
    value = normalized;
    markDirty(true);
    repaintAgain = true;
}

void IControl::setHidden(bool hide)
{
    hidden = hide;
    repaintAgain = true;
    markDirty(false);
}

void IControl::setGreyed(bool grey)
{
    greyed = grey;
    blend.weight = grey ? 0.25f : 1.0f;
    markDirty(false);
}

bool IControl::contains(int x, int y) const
{
    return targetRect.Contains(x, y);
}

void IControl::markDirty(bool push)
{
    // NaN would pass any clamp: it becomes the lower bound.
    value = std::isnan(value) ? minValue : std::clamp(value, minValue, maxValue);
    dirty = true;
    if (push && boundIndex >= 0 && plug)
        plug->SetParameterFromEditor(boundIndex, value);
}

void IControl::markClean()
{
    dirty = repaintAgain;
    repaintAgain = false;
}

bool IControl::needsPaint() const
{
    return dirty;
}

void IControl::promptForValue()
{
    IParameter* param = parameter();
    if (!param || !ownerView)
        return;
    ownerView->promptParameterValue(this, param);
    repaintAgain = true;
}

void IControl::promptEnded()
{
    markDirty(true);
    repaintAgain = true;
}
