#pragma once
// A drop-down list for an enumerated parameter: the closed face shows the
// current entry as one frame of a stacked strip; a left click opens a list
// pane (made on first opening and added on top of the view), a click on an
// entry selects it, and the drop-down's next paint sends the selection to the
// plug-in and closes the pane.

#include "editor/icontrol.h"

class IDropDownChild;

// Where the list pane opens relative to the drop-down.
enum DropDownOpening : int {
    kOpenBelowLeft = 0,
    kOpenBelowRight = 1,
    kOpenAboveLeft = 2,
    kOpenAboveRight = 3,
    kOpenBelowCentred = 4,
};

class IDropDown : public IControl {
public:
    IDropDown(IPlugBase* plug, int paramIndex, int x, int y, const IImageStrip& strip,
              const IImageStrip& listStrip, int columns, int opening);

    void onPress(int x, int y, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

    // The pane has chosen an entry: the value is taken at the next paint.
    void choose(double v) { value = v; }
    bool isOpen() const { return open; }
    // The list pane, null until first opened.
    IDropDownChild* pane() const { return child; }
    // Hides the list pane (a second press, or the panel being reset).
    void closePane();

private:
    IArea paneArea() const;

    IImageStrip strip;
    IImageStrip listStrip;
    int columns;
    int opening;
    double lastPaintedValue = -1.0;
    IDropDownChild* child = nullptr; // owned by the view once added
    bool open = false;
};

class IDropDownChild : public IControl {
public:
    IDropDownChild(IPlugBase* plug, IDropDown* owner, int x, int y, const IImageStrip& listStrip,
                   int columns);

    void onPress(int x, int y, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

    // The entry under a point of the pane, or -1 when the point lies below the
    // last row.
    int entryAt(int x, int y) const;

private:
    IDropDown* dropDownOwner;
    IImageStrip listStrip;
    int columns;
};
