#pragma once
// The editor's X11 window half for Linux hosts: a child window inside the
// window the host passes to the open-editor request, on a display connection
// of its own. Everything runs on the host's UI thread: the host's editor-idle
// request drains the window's events and runs the repaint tick, and hosts
// that deliver events through the window's _XEventProc property reach the
// same handler. The pop-up value editor is drawn by the window itself over
// the panel. No X11 types in this header.

#include "editor/editor_view.h"

#include <chrono>
#include <memory>

class PopupValueEditor;
union _XEvent;

class X11EditorView : public IEditorView {
public:
    // module: where the PNG resources are looked up.
    X11EditorView(IPlugBase* plug, int width, int height, int frameRate, void* module);
    ~X11EditorView() override;

    bool presentArea(const IArea& area) override;
    void promptParameterValue(IControl* control, IParameter* param) override;
    // Runs xdg-open on the address (no shell); false when it cannot be
    // started. There is no dialog to ask a question in: a page that needs the
    // user's yes is not opened.
    bool openWebPage(const char* address, const char* caption, const char* question = nullptr,
                     const char* failure = nullptr) override;
    // X11 delivers the wheel as buttons 4 and 5, so the host's route is unused.
    bool wheelFromHost(float delta) override;
    // parent is the host's X11 window id. Null for a null or unusable parent,
    // or when the display cannot be opened.
    void* openWindow(void* parent) override;
    void closeWindow() override;
    // The X11 window id, or null.
    void* windowHandle() const override;
    std::unique_ptr<RasterBitmap> loadResourceImage(int resourceId) override;
    void idleFromHost() override;

    // An event from the window's display connection or from a host that
    // calls the _XEventProc entry.
    void handleEvent(const _XEvent& event);
    // The pop-up value editor, while one is open.
    const PopupValueEditor* popup() const { return popupEditor.get(); }

private:
    struct Connection;

    bool createWindow(unsigned long parent, const IArea& place);
    bool createImage();
    void setEventProcProperty();
    void copyToImage(const IArea& area);
    void releaseConnection();
    void drainEvents();
    void tick();
    void finishPopup();
    void showPopupChanges();
    void returnKeyboardFocus();
    void onButtonPress(const _XEvent& event);
    void onButtonRelease(const _XEvent& event);
    void onKeyPress(const _XEvent& event);
    void onExpose(const _XEvent& event);
    void repaintDirtyAnd(const IArea& area);
    IArea currentPlace() const;

    void* module;
    std::unique_ptr<Connection> x;
    std::unique_ptr<PopupValueEditor> popupEditor;
    std::chrono::steady_clock::time_point lastTick;
};

// The editor-view factory of the Linux plug-in.
std::unique_ptr<IEditorView> MakeX11View(IPlugBase* plug, int width, int height, int frameRate, void* module);
