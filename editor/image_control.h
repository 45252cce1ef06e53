#pragma once
// A plain image: one frame of a strip chosen by the value. The view uses it
// for the panel's background.

#include "editor/icontrol.h"

class IImageControl : public IControl {
public:
    IImageControl(IPlugBase* plug, const IArea& area, const IImageStrip& strip, const IBlend& blend,
                  bool stacked = false);

    bool paint(IEditorView& view) override;

private:
    IImageStrip strip;
    bool stacked;
};

// The frame (1..frames) that shows a normalised value.
int FrameForValue(double value, int frames);
