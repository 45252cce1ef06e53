#include "editor/drop_down.h"

#include "editor/editor_view.h"
#include "editor/image_control.h"

#include <algorithm>
#include <cmath>

namespace {

int FaceHeight(const IImageStrip& strip)
{
    return NearestInt(static_cast<double>(strip.height) / strip.frames);
}

} // namespace

IDropDown::IDropDown(IPlugBase* owner, int index, int x, int y, const IImageStrip& face,
                     const IImageStrip& list, int listColumns, int where)
    : IControl(owner, IArea{x, y - 1, x + face.width, y + FaceHeight(face) + 1}, index), strip(face),
      listStrip(list), columns(std::max(listColumns, 1)), opening(where)
{
}

IArea IDropDown::paneArea() const
{
    const int lw = listStrip.width;
    const int lh = listStrip.height;
    int x = drawRect.L + NearestInt((strip.width - lw) * 0.5);
    int y = drawRect.B - 1;
    switch (opening) {
    case kOpenBelowLeft:
        x = drawRect.L;
        break;
    case kOpenBelowRight:
        x = drawRect.R - lw;
        break;
    case kOpenAboveLeft:
        x = drawRect.L;
        y = drawRect.T - lh + 1;
        break;
    case kOpenAboveRight:
        x = drawRect.R - lw;
        y = drawRect.T - lh + 1;
        break;
    default:
        break;
    }
    return {x, y, x + lw, y + lh};
}

void IDropDown::closePane()
{
    if (child)
        child->setHidden(true);
    open = false;
}

void IDropDown::onPress(int, int, const MouseState& mouse)
{
    if (mouse.right) {
        promptForValue();
        if (child) {
            closePane();
            markDirty(true);
            return;
        }
    } else if (open) {
        closePane();
        markDirty(true);
        return;
    } else {
        open = true;
        if (child) {
            child->setHidden(false);
        } else if (ownerView) {
            const IArea area = paneArea();
            auto made = std::make_unique<IDropDownChild>(plug, this, area.L, area.T, listStrip, columns);
            child = made.get();
            ownerView->addControl(std::move(made));
        }
    }
    markDirty(true);
}

bool IDropDown::paint(IEditorView& v)
{
    if (child && value != lastPaintedValue) {
        // A selection was made in the pane: send it and close the pane.
        repaintAgain = true;
        markDirty(true);
        closePane();
    }
    lastPaintedValue = value;
    const IArea face{drawRect.L, drawRect.T + 1, drawRect.L + strip.width, drawRect.T + FaceHeight(strip)};
    return v.blitFrame(strip, face, FrameForValue(value, strip.frames), &blend, true);
}

IDropDownChild::IDropDownChild(IPlugBase* owner, IDropDown* dropDown, int x, int y, const IImageStrip& list,
                               int listColumns)
    : IControl(owner, IArea{x, y, x + list.width, y + list.height}, -1), dropDownOwner(dropDown),
      listStrip(list), columns(std::max(listColumns, 1))
{
}

int IDropDownChild::entryAt(int x, int y) const
{
    const int n = listStrip.frames;
    if (n <= 0 || listStrip.width <= 0)
        return -1;
    const float cols = static_cast<float>(columns);
    const auto column = std::min(static_cast<int>(std::floor(static_cast<float>(x - drawRect.L) * cols /
                                                             static_cast<float>(listStrip.width))),
                                 columns - 1);
    const int rows = static_cast<int>(std::ceil(static_cast<float>(n) / cols));
    const float rowHeight = static_cast<float>(listStrip.height) / static_cast<float>(rows);
    const auto offset = static_cast<float>(y - drawRect.T);
    for (int r = 0; r < rows; ++r)
        if (static_cast<float>(r + 1) * rowHeight > offset)
            return std::max(column, 0) * rows + r;
    return -1;
}

void IDropDownChild::onPress(int x, int y, const MouseState& mouse)
{
    const int entry = mouse.right ? -1 : entryAt(x, y);
    if (entry < 0 || !dropDownOwner) {
        markDirty(true);
        return;
    }
    const int n = listStrip.frames;
    float v = n > 1 ? static_cast<float>(entry) / static_cast<float>(n - 1) : 0.0f;
    if (v > 1.0f)
        v = 0.0f;
    dropDownOwner->choose(v);
    markDirty(true);
    setHidden(true);
    markDirty(true);
}

bool IDropDownChild::paint(IEditorView& view)
{
    return view.blitStrip(listStrip, drawRect, 0, 0, &blend);
}
