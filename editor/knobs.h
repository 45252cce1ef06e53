#pragma once
// Knobs: IKnobRotVal turns one cap image about its centre, IKnobMulti shows
// one frame of a strip of pointer positions. Both print the parameter's value
// text below and change the value by dragging (vertical or horizontal).

#include "editor/icontrol.h"

// How far a drag moves a knob's value, in the knob's own geometry: a full
// sweep takes the area's height (or width) times the gearing, ten times that
// with ctrl or shift held. Moving up or right raises the value.
struct KnobGearing {
    double gearing = 4.0;
    bool vertical = true;

    double Delta(const IArea& area, int dx, int dy, const MouseState& mouse) const;
};

class IKnobRotVal : public IControl {
public:
    // areaWidth 0 takes the width of the image; a positive textGap puts the
    // value text below the cap, inside the area.
    IKnobRotVal(IPlugBase* plug, int paramIndex, int centreX, int centreY, const IImageStrip& strip,
                const ITextStyle& textStyle, int textGap, double rotationRange, double gearing, int areaWidth,
                bool vertical, float weight, bool showUnit);

    void onDrag(int x, int y, int dx, int dy, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

    // The cap's turn in radians for a value: from minus half the rotation
    // range to plus half of it.
    double angleFor(double v) const;

private:
    KnobGearing drag;
    ITextStyle textStyle;
    IImageStrip strip;
    int centreX;
    int centreY;
    int textGap;
    double rotationRange;
    float weight;
    bool showUnit;
};

class IKnobMulti : public IControl {
public:
    IKnobMulti(IPlugBase* plug, int paramIndex, int centreX, int centreY, const IImageStrip& strip,
               const ITextStyle& textStyle, int textGap, double rotationRange, double gearing, int areaWidth,
               bool vertical);

    void onDrag(int x, int y, int dx, int dy, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

private:
    KnobGearing drag;
    ITextStyle textStyle;
    IImageStrip strip;
    int centreX;
    int textGap;
};
