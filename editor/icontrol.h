#pragma once
// The base of every element of the editor panel: a rectangle that paints
// itself, may be bound to one parameter, and turns mouse gestures into a new
// normalised value that it pushes to the plug-in. No OS calls.

#include "editor/editor_types.h"

class IEditorView;
class IParameter;
class IPlugBase;

class IControl {
public:
    // An unbound control has paramIndex -1. Every control starts dirty.
    IControl(IPlugBase* plug, const IArea& area, int paramIndex);
    virtual ~IControl();
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // Mouse and key events, in view pixels (the view finds the control).
    virtual void onPress(int x, int y, const MouseState& mouse);
    virtual void onRelease(int x, int y, const MouseState& mouse);
    virtual void onDrag(int x, int y, int dx, int dy, const MouseState& mouse);
    virtual void onDoubleClick(int x, int y, const MouseState& mouse);
    virtual void onWheel(int x, int y, const MouseState& mouse, int delta);
    virtual void onKey(int x, int y, int key);
    // Pointer-over and pointer-leave notifications; this editor sends none.
    virtual void onPointerOver(int x, int y, const MouseState& mouse);
    virtual void onPointerLeave();
    // Draws the control into the view's canvas; false when something failed
    // (the rest of the panel is drawn anyway).
    virtual bool paint(IEditorView& view) = 0;
    // A value from the plug-in (host, program, state): stored, not pushed back.
    // The first one becomes the double-click default.
    virtual void valueFromPlugin(double normalized);
    // A value on the user's behalf: stored and pushed to the plug-in.
    virtual void valueFromUser(double normalized);
    virtual void setHidden(bool hide);
    virtual void setGreyed(bool grey);
    virtual bool contains(int x, int y) const;
    // Clamps the value into [minValue, maxValue] and marks the control for the
    // next repaint; with push, a bound control sends the value to the plug-in.
    virtual void markDirty(bool push);
    // After a repaint: dirty again only when a change asked for a second paint.
    virtual void markClean();
    virtual bool needsPaint() const;
    virtual void reserved() {}

    // Asks the window to open the pop-up value editor for a bound control.
    void promptForValue();
    // The pop-up value editor closed (committed or abandoned): repaint and
    // re-send the value.
    void promptEnded();

    // Called by the view when the control is added to it.
    void attachTo(IEditorView* owner) { ownerView = owner; }

    IPlugBase* plugin() const { return plug; }
    IEditorView* editorView() const { return ownerView; }
    IParameter* parameter() const;
    int paramIndex() const { return boundIndex; }
    const IArea& drawArea() const { return drawRect; }
    const IArea& targetArea() const { return targetRect; }
    double getValue() const { return value; }
    double getDefault() const { return defaultValue; }
    bool isHidden() const { return hidden; }
    bool isGreyed() const { return greyed; }
    bool isDirty() const { return dirty; }
    bool wantsRepaintAgain() const { return repaintAgain; }
    bool doubleClickActsAsPress() const { return doubleClickAsPress; }
    const IBlend& getBlend() const { return blend; }

protected:
    // Sets the value without marking or pushing; callers mark it dirty.
    void setValueRaw(double v) { value = v; }
    void requestRepaintAgain() { repaintAgain = true; }
    void setAreas(const IArea& area)
    {
        drawRect = area;
        targetRect = area;
    }

    IPlugBase* plug;
    IEditorView* ownerView = nullptr;
    IArea drawRect;
    IArea targetRect;
    int boundIndex;
    double value = 0.0;
    double defaultValue = -1.0;
    double minValue = 0.0;
    double maxValue = 1.0;
    bool dirty = true;
    bool hidden = false;
    bool greyed = false;
    bool repaintAgain = false;
    bool doubleClickAsPress = false;
    IBlend blend;
};
