#pragma once
// A frame switch: each left click steps to the next of its frames and wraps
// round to the first; the value text (if its style has a size) sits below.

#include "editor/icontrol.h"

class ISwitchLbl : public IControl {
public:
    ISwitchLbl(IPlugBase* plug, int paramIndex, int x, int y, const IImageStrip& strip,
               const ITextStyle& textStyle);

    void onPress(int x, int y, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

private:
    ITextStyle textStyle;
    IImageStrip strip;
    int centreWidth = 0;
    bool stacked = false;
};
