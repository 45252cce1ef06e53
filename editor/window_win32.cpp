// The editor's Win32 window: the window class shared by every editor window of
// the process, opening and closing the child window, the window procedure, the
// repaint timer and painting the canvas into the window.

#include "editor/window_win32.h"

#include "core/iplug_base.h"
#include "raster/png_image.h"
#include "raster/raster_bitmap.h"

#include <windows.h>

#include <cmath>
#include <mutex>

namespace {

constexpr char kClassName[] = "IPlugWndClass";
constexpr char kWindowTitle[] = "IPlug";
constexpr UINT_PTR kTimerId = 2;
constexpr int kWheelNotch = 120;
// The host identifier of the host whose editor windows take the keyboard
// focus when they are created and whenever a click activates them.
constexpr int kHostWantingFocus = 25;

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Process-wide, guarded by ClassLock(): the number of open editor windows (the
// class exists while it is above 0) and the frame rate of the view opened last,
// which sets every window's timer period.
std::mutex& ClassLock()
{
    static std::mutex lock;
    return lock;
}
int openWindows = 0;
int timerFrameRate = 24;

bool AcquireWindowClass(HINSTANCE module)
{
    std::lock_guard<std::mutex> guard(ClassLock());
    if (openWindows++ > 0)
        return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = EditorWindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // the arrow
    windowClass.lpszClassName = kClassName;
    // A class left registered by a window that outlived its close (the host
    // destroyed it late) is ours to reuse.
    if (RegisterClassA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        return true;
    --openWindows;
    return false;
}

void ReleaseWindowClass(HINSTANCE module)
{
    std::lock_guard<std::mutex> guard(ClassLock());
    if (openWindows > 0 && --openWindows == 0)
        UnregisterClassA(kClassName, module);
}

UINT TimerPeriodMs()
{
    std::lock_guard<std::mutex> guard(ClassLock());
    return static_cast<UINT>(1000.0 / timerFrameRate);
}

// The view of an editor window, once the window is the view's own window;
// null before WM_CREATE stored it and after the view let the window go.
IEditorViewWin* ViewOf(HWND hwnd)
{
    auto* view = reinterpret_cast<IEditorViewWin*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return view && view->windowHandle() == hwnd ? view : nullptr;
}

bool HostWantsFocus(IEditorViewWin& view)
{
    IPlugBase* plug = view.plugin();
    LockGuard guard(plug->Lock());
    return plug->GetHostId() == kHostWantingFocus;
}

void OnCreate(HWND hwnd, LPARAM lParam)
{
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* view = static_cast<IEditorViewWin*>(create->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    SetTimer(hwnd, kTimerId, TimerPeriodMs(), nullptr);
    if (view && HostWantsFocus(*view))
        SetFocus(hwnd);
}

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        if (message == WM_CREATE) {
            OnCreate(hwnd, lParam);
            return 0;
        }
        IEditorViewWin* view = ViewOf(hwnd);
        if (!view)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        return view->handleMessage(message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

// Position in the low and high words, signed (it may lie left of or above
// the window while the mouse is captured).
int LowX(LPARAM lParam)
{
    return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam)));
}

int HighY(LPARAM lParam)
{
    return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lParam)));
}

MouseState MouseOf(WPARAM wParam)
{
    MouseState mouse;
    mouse.left = (wParam & MK_LBUTTON) != 0;
    mouse.right = (wParam & MK_RBUTTON) != 0;
    mouse.shift = (wParam & MK_SHIFT) != 0;
    mouse.ctrl = (wParam & MK_CONTROL) != 0;
    mouse.alt = GetKeyState(VK_MENU) < 0;
    return mouse;
}

MouseState KeyboardMouse()
{
    MouseState mouse;
    mouse.shift = GetKeyState(VK_SHIFT) < 0;
    mouse.ctrl = GetKeyState(VK_CONTROL) < 0;
    mouse.alt = GetKeyState(VK_MENU) < 0;
    return mouse;
}

// The editor's key code of a virtual key; -1 for keys the editor ignores.
// Codes 97-122 count as letters too.
int EditorKeyOf(WPARAM virtualKey)
{
    const auto k = static_cast<int>(virtualKey);
    switch (k) {
    case VK_SPACE:
        return kKeySpace;
    case VK_UP:
        return kKeyUp;
    case VK_DOWN:
        return kKeyDown;
    case VK_LEFT:
        return kKeyLeft;
    case VK_RIGHT:
        return kKeyRight;
    default:
        break;
    }
    if (k >= '0' && k <= '9')
        return kKeyDigit0 + k - '0';
    if (k >= 'A' && k <= 'Z')
        return kKeyLetterA + k - 'A';
    if (k >= 97 && k <= 122)
        return k - 82;
    return -1;
}

// Host wheel movement in whole notches, truncated; what no int holds is 0.
int WholeNotches(float delta)
{
    if (!(std::fabs(delta) < 1e6f))
        return 0;
    return static_cast<int>(delta);
}

RECT RectOf(const IArea& area)
{
    return {area.L, area.T, area.R, area.B};
}

} // namespace

IEditorViewWin::IEditorViewWin(IPlugBase* owner, int viewWidth, int viewHeight, int ticksPerSecond,
                               void* resourceModule)
    : IEditorView(owner, viewWidth, viewHeight, ticksPerSecond), module(resourceModule)
{
}

IEditorViewWin::~IEditorViewWin()
{
    closeWindow();
}

void* IEditorViewWin::openWindow(void* parent)
{
    int x = 0;
    int y = 0;
    int w = Width();
    int h = Height();
    if (window) {
        RECT r;
        const auto current = static_cast<HWND>(window);
        if (!windowGone && GetWindowRect(current, &r)) {
            MapWindowPoints(HWND_DESKTOP, GetParent(current), reinterpret_cast<POINT*>(&r), 2);
            x = r.left;
            y = r.top;
            w = r.right - r.left;
            h = r.bottom - r.top;
        }
        closeWindow();
    }
    const auto instance = static_cast<HINSTANCE>(module);
    if (!AcquireWindowClass(instance))
        return nullptr;
    {
        std::lock_guard<std::mutex> guard(ClassLock());
        timerFrameRate = FrameRate();
    }
    HWND created = CreateWindowExA(0, kClassName, kWindowTitle, WS_CHILD | WS_VISIBLE, x, y, w, h,
                                   static_cast<HWND>(parent), nullptr, instance, this);
    if (!created) {
        ReleaseWindowClass(instance);
        return nullptr;
    }
    window = created;
    parentWindow = parent;
    windowGone = false;
    markAllDirty();
    return window;
}

void IEditorViewWin::closeWindow()
{
    if (!window)
        return;
    endGesture();
    if (endEditCountdown() > 0)
        plugin()->FlushPendingParamEdit();
    if (popup && !windowGone)
        closePopup();
    forgetPopup();
    const auto closing = static_cast<HWND>(window);
    // From here on the procedure no longer sees this view: the messages of the
    // destruction go to the default procedure.
    window = nullptr;
    if (!windowGone)
        DestroyWindow(closing);
    windowGone = false;
    ReleaseWindowClass(static_cast<HINSTANCE>(module));
}

void IEditorViewWin::windowDestroyedElsewhere()
{
    windowGone = true;
    popup = nullptr; // destroyed with its parent; closeWindow forgets the rest
}

void IEditorViewWin::captureLost()
{
    if (capturedControl() >= 0)
        endGesture();
}

std::intptr_t IEditorViewWin::handleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    const auto hwnd = static_cast<HWND>(window);
    const int x = LowX(lParam);
    const int y = HighY(lParam);
    switch (message) {
    case WM_PAINT: {
        RECT update;
        if (GetUpdateRect(hwnd, &update, FALSE))
            paint(IArea{update.left, update.top, update.right, update.bottom});
        // Whatever paint did, the region is done: no endless WM_PAINT.
        ValidateRect(hwnd, nullptr);
        return 0;
    }
    case WM_CLOSE:
        closeWindow();
        return 0;
    case WM_MOUSEACTIVATE:
        if (HostWantsFocus(*this))
            SetFocus(hwnd);
        return MA_ACTIVATE;
    case WM_KEYDOWN: {
        const int key = EditorKeyOf(wParam);
        if (key >= 0) {
            POINT pointer = {};
            GetCursorPos(&pointer);
            ScreenToClient(hwnd, &pointer);
            keyAt(pointer.x, pointer.y, key);
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimerId)
            onTimer();
        return 0;
    case WM_MOUSEMOVE:
        if ((wParam & (MK_LBUTTON | MK_RBUTTON)) && GetCapture() == hwnd)
            dragTo(x, y, MouseOf(wParam));
        return 0;
    case WM_RBUTTONDOWN:
        if (popup) {
            popupState = kPopupCancel;
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (popup)
            popupState = kPopupCommit;
        SetCapture(hwnd);
        pressAt(x, y, MouseOf(wParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        releasingCapture = true;
        ReleaseCapture();
        releasingCapture = false;
        releaseAt(x, y, MouseOf(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        if (doubleClickAt(x, y, MouseOf(wParam)))
            SetCapture(hwnd);
        return 0;
    case WM_MOUSEWHEEL: {
        RECT r = {};
        GetWindowRect(hwnd, &r);
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / kWheelNotch;
        wheelAt(x - r.left, y - r.top, MouseOf(GET_KEYSTATE_WPARAM(wParam)), notches);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // Another window took the mouse mid-gesture: the host must still hear
        // the end of the edit it was told had begun.
        if (!releasingCapture && reinterpret_cast<HWND>(lParam) != hwnd)
            captureLost();
        return 0;
    case WM_NCDESTROY:
        windowDestroyedElsewhere();
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void IEditorViewWin::onTimer()
{
    tickPopup();
    repaintDirtyArea();
    tickEndEditCountdown();
}

void IEditorViewWin::repaintDirtyArea()
{
    IArea dirty;
    if (!collectDirty(dirty) || windowGone)
        return;
    const auto hwnd = static_cast<HWND>(window);
    const RECT r = RectOf(dirty);
    InvalidateRect(hwnd, &r, FALSE);
    if (popup) {
        RECT covered;
        GetClientRect(static_cast<HWND>(popup), &covered);
        MapWindowPoints(static_cast<HWND>(popup), hwnd, reinterpret_cast<POINT*>(&covered), 2);
        ValidateRect(hwnd, &covered);
    }
    UpdateWindow(hwnd);
}

bool IEditorViewWin::presentArea(const IArea& area)
{
    RasterBitmap* source = canvas();
    if (!window || windowGone || !source)
        return true;
    const auto hwnd = static_cast<HWND>(window);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc) {
        BitBlt(dc, area.L, area.T, area.W(), area.H(), static_cast<HDC>(source->DeviceContext()), area.L,
               area.T, SRCCOPY);
        EndPaint(hwnd, &ps);
    }
    return true;
}

bool IEditorViewWin::wheelFromHost(float delta)
{
    if (!window || windowGone)
        return false;
    const auto hwnd = static_cast<HWND>(window);
    POINT pointer = {};
    if (!GetCursorPos(&pointer) || WindowFromPoint(pointer) != hwnd)
        return false;
    RECT r = {};
    GetWindowRect(hwnd, &r);
    wheelAt(pointer.x - r.left, pointer.y - r.top, KeyboardMouse(), WholeNotches(delta));
    return true;
}

std::unique_ptr<RasterBitmap> IEditorViewWin::loadResourceImage(int resourceId)
{
    return DecodePngResource(module, resourceId);
}
