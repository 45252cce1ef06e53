// The pop-up value editor of the Win32 editor window: a text field, or a
// drop-down list for parameters with display texts, over the control being
// edited. Return, a list choice or a left click on the editor commits the
// value, a right click abandons it; either takes effect on the next timer tick.

#include "core/iparameter.h"
#include "editor/icontrol.h"
#include "editor/window_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kPopupId = 99;
// Marks a pop-up's user data as this editor's.
constexpr LONG_PTR kPopupMarker = static_cast<LONG_PTR>(0xdeadf00bu);
constexpr DWORD kTextFieldStyle = WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST;
// A new selection in the drop-down list, as the list reports it to its box.
constexpr WORD kListSelectionChanged = 1;
// What the tick reads back from the pop-up.
constexpr int kMaxTypedChars = 1000;

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        auto* view = reinterpret_cast<IEditorViewWin*>(GetWindowLongPtrA(GetParent(hwnd), GWLP_USERDATA));
        if (!view || view->windowHandle() != GetParent(hwnd) || view->popupWindow() != hwnd ||
            GetWindowLongPtrA(hwnd, GWLP_USERDATA) != kPopupMarker)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        return view->handlePopupMessage(hwnd, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

HMENU PopupIdHandle()
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPopupId));
}

} // namespace

void IEditorViewWin::promptParameterValue(IControl* control, IParameter* param)
{
    if (!control || !param || popup || !window || windowGone)
        return;
    const IArea& area = control->drawArea();
    const auto cx = static_cast<int>((area.L + area.R) * 0.5);
    const auto cy = static_cast<int>((area.T + area.B) * 0.5);
    char current[kParamTextSize] = {};
    param->GetDisplay(param->Value(), false, current, sizeof current);
    const bool listed = param->GetDisplayTextCount() > 0 &&
                        (param->Kind() == ParameterKind::Enum || param->Kind() == ParameterKind::Integral);
    void* made = listed ? createListPopup(current, cx, cy, *param) : createTextPopup(current, cx, cy, *param);
    if (made)
        adoptPopup(made, control, param);
}

void* IEditorViewWin::createTextPopup(const char* text, int cx, int cy, IParameter& param)
{
    // As wide as the text of the parameter's largest value needs.
    char widest[kParamTextSize] = {};
    param.GetDisplay(1.0, true, widest, sizeof widest);
    const int w = std::max(32, 7 * static_cast<int>(std::strlen(widest)) + 6);
    HWND field =
        CreateWindowExA(0, "EDIT", text, kTextFieldStyle, cx - w / 2, cy - 8, w, 16,
                        static_cast<HWND>(window), PopupIdHandle(), static_cast<HINSTANCE>(module), nullptr);
    if (field)
        SendMessageA(field, EM_SETSEL, 0, -1);
    popupIsText = true;
    return field;
}

void* IEditorViewWin::createListPopup(const char* text, int cx, int cy, IParameter& param)
{
    const int count = param.GetDisplayTextCount();
    std::size_t longest = 0;
    for (int i = 0; i < count; ++i)
        longest = std::max(longest, std::strlen(param.GetDisplayTextAt(i)));
    const int w = 8 * static_cast<int>(longest) + 24;
    HWND list =
        CreateWindowExA(0, "COMBOBOX", "", kListStyle, cx - w / 2, cy, w, 36 * (count + 1),
                        static_cast<HWND>(window), PopupIdHandle(), static_cast<HINSTANCE>(module), nullptr);
    if (!list)
        return nullptr;
    WPARAM selected = static_cast<WPARAM>(-1);
    for (int i = 0; i < count; ++i) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(param.GetDisplayTextAt(i)));
        if (selected == static_cast<WPARAM>(-1) && std::strcmp(param.GetDisplayTextAt(i), text) == 0)
            selected = static_cast<WPARAM>(i);
    }
    SendMessageA(list, CB_SETCURSEL, selected, 0);
    popupIsText = false;
    return list;
}

void IEditorViewWin::adoptPopup(void* made, IControl* control, IParameter* param)
{
    const auto hwnd = static_cast<HWND>(made);
    popup = made;
    SetFocus(hwnd);
    popupOldProc = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupProc));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, kPopupMarker);
    HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    popupFont = font;
    if (font)
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    popupControl = control;
    popupParam = param;
}

std::intptr_t IEditorViewWin::handlePopupMessage(void* popupWindow, unsigned message, std::uintptr_t wParam,
                                                 std::intptr_t lParam)
{
    const auto hwnd = static_cast<HWND>(popupWindow);
    const auto previous = reinterpret_cast<WNDPROC>(popupOldProc);
    switch (message) {
    case WM_SETFOCUS:
        popupState = kPopupTyping;
        break;
    case WM_KILLFOCUS:
        popupState = kPopupNone;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (popupIsText)
                SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            popupState = kPopupCommit;
            return 0;
        }
        popupState = kPopupTyping;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == kListSelectionChanged) {
            popupState = kPopupCommit;
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void IEditorViewWin::tickPopup()
{
    if (!popup)
        return;
    if (popupState == kPopupTyping) {
        popupState = kPopupNone;
    } else if (popupState == kPopupCommit) {
        char typed[kMaxTypedChars + 1] = {};
        GetWindowTextA(static_cast<HWND>(popup), typed, static_cast<int>(sizeof typed));
        commitTypedValue(popupControl, popupParam, typed);
    }
    if (popupState == kPopupCancel || popupState == kPopupCommit) {
        if (popupControl)
            popupControl->promptEnded();
        closePopup();
    }
}

void IEditorViewWin::closePopup()
{
    const auto hwnd = static_cast<HWND>(popup);
    // Destroyed under its own procedure, so the control frees what it holds.
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, popupOldProc);
    popup = nullptr;
    DestroyWindow(hwnd);
    forgetPopup();
}

void IEditorViewWin::forgetPopup()
{
    popup = nullptr;
    popupControl = nullptr;
    popupParam = nullptr;
    popupOldProc = 0;
    popupState = kPopupNone;
    if (popupFont) {
        DeleteObject(static_cast<HFONT>(popupFont));
        popupFont = nullptr;
    }
}
