#pragma once
// The platform-neutral half of the editor: the ordered list of controls, the
// off-screen canvas they paint on, the repaint bookkeeping, the mouse and key
// entry points with capture and edit gestures, the parameter traffic between
// the plug-in core and the controls, and the drawing operations the controls
// use. A window half (X11, Win32, or the headless one for tests and snapshots)
// derives from it and supplies the platform operations at the end.
//
// Threads: everything runs on the editor's UI thread, except
// UpdateControlsForParameter, which the core may call from the host's thread
// with the instance lock held. The entry points that touch controls take the
// instance lock themselves, so a paint never races a host's parameter change;
// presentArea runs after the lock is released.

#include "core/editor_link.h"
#include "editor/editor_types.h"

#include <memory>
#include <vector>

class IControl;
class IParameter;
class IPlugBase;
class RasterBitmap;
class RasterFont;

class IEditorView : public EditorLink {
public:
    // A frame rate of 0 or less becomes 24 ticks per second.
    IEditorView(IPlugBase* plug, int width, int height, int frameRate);
    // Deletes the controls, last first, then the canvas. A window half closes
    // its window in its own destructor (which may end a pending wheel edit).
    ~IEditorView() override;
    IEditorView(const IEditorView&) = delete;
    IEditorView& operator=(const IEditorView&) = delete;

    // --- What the core and the binding call (EditorLink) ---
    // Values that are not normalised are converted with the parameter's
    // NormalizeValue; values reaching a control are clamped to 0..1.
    void UpdateControlsForParameter(int index, double value, bool isNormalized) override;
    // The engine changed a parameter on the user's behalf: bound controls take
    // the value and push it on through SetParameterFromEditor.
    void paramChangedFromUser(int index, double normalized) override;
    void hideBoundControls(int index, bool hide) override;
    // Makes the canvas (width x height); false when it cannot be had.
    bool createCanvas() override;
    int FrameRate() const override { return frameRate; }
    int Width() const override { return width; }
    int Height() const override { return height; }

    // --- Building the layout (the plug-in's constructor) ---
    // Inserts the background image control at index 0 (one frame, copied
    // opaque over the whole image's area).
    void setBackdrop(int resourceId, const char* name);
    // Appends a control the view owns from now on; its index.
    int addControl(std::unique_ptr<IControl> control);
    // The image with this resource id from the image cache, decoded on first
    // use through loadResourceImage; the strip carries the frame count given
    // here. A missing or corrupt image gives a strip without bitmap. The name
    // only labels the image.
    IImageStrip loadStrip(int resourceId, const char* name, int frames);

    // --- Parameter traffic from the window ---
    // Every control repaints on the next tick (the window opened).
    void markAllDirty();
    // The user confirmed a typed or picked value in the pop-up editor:
    // parsed by the parameter, bracketed by begin and end edit when bound.
    void commitTypedValue(IControl* control, IParameter* param, const char* text);

    // --- Events, in view pixels (the window half calls these) ---
    void pressAt(int x, int y, const MouseState& mouse);
    void releaseAt(int x, int y, const MouseState& mouse);
    void dragTo(int x, int y, const MouseState& mouse);
    // True when the control took the double click as a press (the window
    // then captures the mouse).
    bool doubleClickAt(int x, int y, const MouseState& mouse);
    // delta in whole wheel notches.
    void wheelAt(int x, int y, const MouseState& mouse, int delta);
    void keyAt(int x, int y, int key);
    // Index of the control that takes an event at (x, y): the captured one if
    // any, else the topmost visible, not greyed control containing the point;
    // -1 for none.
    int controlAt(int x, int y) const;
    // Ends a press gesture that never saw its release (the window closes, or
    // the mouse was lost): the capture goes and the host hears the end of the
    // edit it was told had begun. Window halves call it when they close.
    void endGesture();

    // --- Repaint cycle (the window's timer) ---
    // Union of the draw areas of the controls that need painting into area;
    // false when none does (area is then left as it was).
    bool collectDirty(IArea& area);
    // Repaints every visible control overlapping area into the canvas, marks
    // every control clean, then presents the area; presentArea's result.
    bool paint(const IArea& area);
    // One timer tick of the end-edit countdown: when it runs out, the core's
    // pending wheel edit ends. True when an edit was ended.
    bool tickEndEditCountdown();

    // --- Drawing operations for controls (all draw into the canvas) ---
    // Clipped to clipArea: copies the strip from (srcX, srcY) into dest.
    bool blitStrip(const IImageStrip& strip, const IArea& dest, int srcX, int srcY,
                   const IBlend* blend = nullptr);
    // Frame numbers count from 1; stacked frames lie below one another.
    bool blitFrame(const IImageStrip& strip, const IArea& dest, int frame, const IBlend* blend = nullptr,
                   bool stacked = false);
    // The whole image turned by angle radians about its centre, centred on
    // (cx, cy), with filtered sampling; not clipped to clipArea.
    bool blitRotated(const IImageStrip& strip, int cx, int cy, double angle, const IBlend* blend = nullptr,
                     float srcOffsetX = 0.0f, float srcOffsetY = 0.0f);
    bool fillArea(const IRGBA& colour, const IArea& area, const IBlend* blend = nullptr);
    // A copy of that part of the strip, kept in the image cache.
    IImageStrip cropStrip(const IImageStrip& strip, const IArea& area);
    // One line of text in area, aligned by the style; true for an empty text,
    // false when no font could be made.
    bool printText(ITextStyle& style, const char* text, const IArea& area);
    // The cached font of a style, made on first use; stored in style.font.
    RasterFont* fontFor(ITextStyle& style);

    // --- Access ---
    IPlugBase* plugin() const { return plug; }
    RasterBitmap* canvas() const { return canvasBitmap.get(); }
    const IArea& clipArea() const { return clip; }
    int controlCount() const { return static_cast<int>(controls.size()); }
    // Null for an index out of range.
    IControl* control(int index) const;
    int capturedControl() const { return capturedIndex; }
    int endEditCountdown() const { return countdown; }

    // --- Platform operations: the window half supplies these ---
    // What a window half does besides: openWindow calls markAllDirty; every
    // timer tick (1000 / FrameRate() ms) runs collectDirty, repaints that area
    // through paint, then tickEndEditCountdown; closeWindow calls endGesture
    // and, while endEditCountdown() > 0, the core's FlushPendingParamEdit; a
    // pop-up value editor that closes calls commitTypedValue (on a commit) and
    // the control's promptEnded. HeadlessEditorView is the smallest example.
    // Copies that part of the canvas to the screen.
    virtual bool presentArea(const IArea& area) = 0;
    // Opens the pop-up value editor for a bound control.
    virtual void promptParameterValue(IControl* control, IParameter* param) = 0;
    // Opens a web page in the user's browser; question and failure texts, when
    // given, are shown in message boxes titled by the caption.
    virtual bool openWebPage(const char* address, const char* caption, const char* question = nullptr,
                             const char* failure = nullptr) = 0;
    // Wheel movement delivered by the host through the binding; false when the
    // pointer is not over the editor window.
    bool wheelFromHost(float delta) override = 0;
    // The late end of a wheel edit: armed and cleared by the core. The base
    // keeps the count that tickEndEditCountdown runs down; a window half that
    // overrides these calls the base too.
    void armEndEditCountdown(int ticks) override;
    void clearEndEditCountdown() override;
    // Opens the editor window inside the host's parent window and marks every
    // control dirty; the window, or null when none could be made (or the
    // platform has none). Opening again while open reopens in place.
    void* openWindow(void* parent) override = 0;
    // Nothing when no window is open; ends a pending wheel edit first.
    void closeWindow() override = 0;
    virtual void* windowHandle() const = 0;
    // The decoded PNG resource with this id, or null.
    virtual std::unique_ptr<RasterBitmap> loadResourceImage(int resourceId) = 0;

private:
    void releaseCapture();
    // A press or double click on a bound control begins an edit; the one
    // still open is ended first.
    void beginGestureEdit(const IControl& control);
    void paintControls(const IArea& area);

    IPlugBase* plug;
    std::vector<std::unique_ptr<IControl>> controls;
    // Per parameter, the controls bound to it, in the order they were added
    // (the host's values reach them without a search through every control).
    std::vector<std::vector<IControl*>> boundControls;
    IArea clip;
    std::unique_ptr<RasterBitmap> canvasBitmap;
    int width;
    int height;
    int frameRate;
    int capturedIndex = -1;
    int lastX = -1;
    int lastY = -1;
    int countdown = 0;
    // The parameter whose press gesture the host was told has begun; -1 none.
    int gestureParam = -1;
};
