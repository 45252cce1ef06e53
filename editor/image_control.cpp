#include "editor/image_control.h"

#include "editor/editor_view.h"

#include <algorithm>

int FrameForValue(double value, int frames)
{
    if (frames < 2)
        return 1;
    const int frame = NearestInt((frames - 1) * value) + 1;
    return std::clamp(frame, 1, frames);
}

IImageControl::IImageControl(IPlugBase* owner, const IArea& area, const IImageStrip& image,
                             const IBlend& imageBlend, bool stackedFrames)
    : IControl(owner, area, -1), strip(image), stacked(stackedFrames)
{
    blend = imageBlend;
}

bool IImageControl::paint(IEditorView& v)
{
    return v.blitFrame(strip, drawRect, FrameForValue(value, strip.frames), &blend, stacked);
}
