#pragma once
// The pop-up value editor a window half draws itself over the panel: a
// one-line text field for numeric parameters, or an open list for parameters
// with display texts. It keeps the text, caret and selection, turns editing
// keys and clicks into them, draws itself into its own bitmap (the window lays
// that over the canvas), and says whether the user asked to commit or to
// cancel. The window acts on that on its next timer tick. No OS calls.

#include "editor/editor_types.h"

#include <memory>
#include <string>
#include <vector>

class IControl;
class IParameter;
class RasterBitmap;

// What the pop-up asks of the window's next tick.
enum class PopupRequest {
    Editing, // nothing asked yet
    Cancel,  // abandon the edit
    Commit,  // hand the text to commitTypedValue
};

// Editing keys the window maps its platform's keys to.
enum class PopupKey { Return, Escape, Backspace, Delete, Left, Right, Home, End, Up, Down };

class PopupValueEditor {
public:
    enum class Kind { TextField, List };

    // The pop-up for a control's parameter, centred on the control and kept
    // inside a view of viewWidth x viewHeight. The caller holds the instance
    // lock (the parameter's texts and value are read here). Null when the
    // bitmap cannot be made.
    static std::unique_ptr<PopupValueEditor> Make(IControl* control, IParameter* param, int viewWidth,
                                                  int viewHeight);

    Kind kind() const { return fieldKind; }
    IControl* control() const { return editedControl; }
    IParameter* parameter() const { return editedParam; }
    // Where the pop-up lies, in view pixels.
    const IArea& area() const { return place; }
    bool contains(int x, int y) const { return place.Contains(x, y); }
    PopupRequest request() const { return pending; }
    // The text to commit: the field's text, or the picked entry's.
    std::string committedText() const;
    // Field: the text and the caret (a byte offset); whether all is selected.
    const std::string& text() const { return fieldText; }
    std::size_t caret() const { return caretPos; }
    bool allSelected() const { return selectAll; }
    // List: the entries and the highlighted one (-1 none).
    const std::vector<std::string>& entries() const { return listEntries; }
    int highlighted() const { return highlight; }

    // Printable characters typed by the user (others are ignored). Typing over
    // the initial selection replaces it.
    void typeText(const std::string& typed);
    void pressKey(PopupKey key);
    // A left click inside the pop-up: places the caret, or picks an entry.
    void clickAt(int x, int y);
    // A click on the panel outside the pop-up commits; a right click anywhere
    // cancels.
    void clickOutside() { pending = PopupRequest::Commit; }
    void cancel() { pending = PopupRequest::Cancel; }

    // The pop-up's look, drawn into its bitmap (area's size, origin at the
    // area's top-left); true when something changed since the last call.
    bool redraw();
    const RasterBitmap* bitmap() const { return face.get(); }

private:
    PopupValueEditor() = default;
    void layOutField(int cx, int cy, const IParameter& param);
    void layOutList(int cx, int cy, const IParameter& param, const char* current);
    void keepInside(int viewWidth, int viewHeight);
    void clearSelection();
    void drawField();
    void drawList();
    // Pixel offsets of the text's characters within the field (index i: left
    // edge of character i; the last entry: the text's end).
    std::vector<int> characterEdges() const;
    int textLeft(const std::vector<int>& edges) const;

    Kind fieldKind = Kind::TextField;
    IControl* editedControl = nullptr;
    IParameter* editedParam = nullptr;
    IArea place;
    PopupRequest pending = PopupRequest::Editing;
    std::string fieldText;
    std::size_t caretPos = 0;
    bool selectAll = true;
    std::vector<std::string> listEntries;
    int highlight = -1;
    std::unique_ptr<RasterBitmap> face;
    bool changed = true;
};
