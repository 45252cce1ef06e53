#pragma once
// The Win32 half of the editor: the child window inside the host's parent
// window, its window procedure turning messages into view events, the repaint
// timer, the pop-up value editor, web pages and the images in the library's
// resources. Only the Windows build compiles it; window handles are kept as
// plain pointers here so that no system header leaks into other files.
//
// Threads: everything runs on the host's UI thread, the one that opened the
// window.

#include "editor/editor_view.h"

#include <cstdint>

class IEditorViewWin : public IEditorView {
public:
    // module: the library's own module handle (window class, pop-ups,
    // resources).
    IEditorViewWin(IPlugBase* plug, int width, int height, int frameRate, void* module);
    // Closes the window if one is still open.
    ~IEditorViewWin() override;

    // Copies that part of the canvas into the window, through its DC.
    bool presentArea(const IArea& area) override;
    // A text field or a drop-down list over the control; nothing when one is
    // already open.
    void promptParameterValue(IControl* control, IParameter* param) override;
    bool openWebPage(const char* address, const char* caption, const char* question = nullptr,
                     const char* failure = nullptr) override;
    bool wheelFromHost(float delta) override;
    // A second open while open reopens at the same place and size.
    void* openWindow(void* parent) override;
    void closeWindow() override;
    void* windowHandle() const override { return window; }
    std::unique_ptr<RasterBitmap> loadResourceImage(int resourceId) override;

    // The procedures of the editor window and of the pop-up, past their
    // checks that the message belongs to this view (window_win32.cpp).
    std::intptr_t handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    std::intptr_t handlePopupMessage(void* popupWindow, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam);
    void* popupWindow() const { return popup; }
    // The system destroyed the window under us (the host destroyed its
    // parent): it must not be destroyed again.
    void windowDestroyedElsewhere();
    // The mouse capture went to another window in the middle of a gesture.
    void captureLost();

private:
    enum PopupState : int {
        kPopupNone = 0,
        kPopupTyping = 1,
        kPopupCancel = 2,
        kPopupCommit = 3,
    };

    void onTimer();
    void repaintDirtyArea();
    // The pop-up's half of a timer tick: commits or abandons the value.
    void tickPopup();
    // Restores the pop-up's own procedure and destroys it.
    void closePopup();
    // Clears the pop-up's fields and frees its font.
    void forgetPopup();
    void* createTextPopup(const char* text, int cx, int cy, IParameter& param);
    void* createListPopup(const char* text, int cx, int cy, IParameter& param);
    void adoptPopup(void* popupWindow, IControl* control, IParameter* param);

    void* module;
    void* window = nullptr;
    void* parentWindow = nullptr;
    bool windowGone = false;
    void* popup = nullptr;
    IControl* popupControl = nullptr; // owned by the view
    IParameter* popupParam = nullptr; // owned by the plug-in core
    std::intptr_t popupOldProc = 0;
    void* popupFont = nullptr;
    int popupState = kPopupNone;
    bool popupIsText = false;
    bool releasingCapture = false;
};
