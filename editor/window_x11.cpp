// The X11 window half of the editor. The window is a child of the host's
// window on a display connection of its own, so nothing we do on it mixes with
// the host's own X traffic. Errors on our connection are caught by our own
// handler, installed only around our calls; errors of other connections go on
// to the handler the host had installed.

#include "editor/window_x11.h"

#include "core/iplug_base.h"
#include "editor/icontrol.h"
#include "editor/popup_editor.h"
#include "editor/web_page.h"
#include "raster/png_image.h"
#include "raster/raster_bitmap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask |
                            KeyPressMask | StructureNotifyMask;
// Two presses of button 1 make a double click within this time and distance.
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;

// --- Which displays and windows are ours (for the error handlers and the
// _XEventProc entry). Guarded by gRegistryLock; no Xlib call is made with it
// held.
std::mutex gRegistryLock;
std::vector<Display*> gDisplays;
std::vector<std::pair<Window, X11EditorView*>> gWindows;

bool IsOurDisplay(Display* display)
{
    std::lock_guard<std::mutex> guard(gRegistryLock);
    return std::find(gDisplays.begin(), gDisplays.end(), display) != gDisplays.end();
}

void RegisterDisplay(Display* display, bool add)
{
    std::lock_guard<std::mutex> guard(gRegistryLock);
    if (add)
        gDisplays.push_back(display);
    else
        gDisplays.erase(std::remove(gDisplays.begin(), gDisplays.end(), display), gDisplays.end());
}

void RegisterWindow(Window window, X11EditorView* view)
{
    std::lock_guard<std::mutex> guard(gRegistryLock);
    std::erase_if(gWindows, [window](const auto& entry) { return entry.first == window; });
    if (view)
        gWindows.emplace_back(window, view);
}

X11EditorView* ViewOfWindow(Window window)
{
    std::lock_guard<std::mutex> guard(gRegistryLock);
    for (const auto& [w, view] : gWindows)
        if (w == window)
            return view;
    return nullptr;
}

// --- Error handling. Our handlers are installed while we work on our
// connection (ErrorTrap) and count the errors of our displays; anything else
// goes to the handlers the host had.
thread_local int tTrapDepth = 0;
thread_local int tErrors = 0;
thread_local XErrorHandler tHostErrorHandler = nullptr;
thread_local XIOErrorHandler tHostIOHandler = nullptr;

int OnXError(Display* display, XErrorEvent* error)
{
    if (IsOurDisplay(display)) {
        ++tErrors;
        return 0;
    }
    return tHostErrorHandler ? tHostErrorHandler(display, error) : 0;
}

// A broken connection of ours ends our window, not the host: the exit handler
// below keeps Xlib from ending the process.
int OnXIOError(Display* display)
{
    if (IsOurDisplay(display))
        return 0;
    return tHostIOHandler ? tHostIOHandler(display) : 0;
}

void OnOurConnectionLost(Display*, void*) {}

class ErrorTrap {
public:
    ErrorTrap()
    {
        if (tTrapDepth++ == 0) {
            tHostErrorHandler = XSetErrorHandler(OnXError);
            tHostIOHandler = XSetIOErrorHandler(OnXIOError);
        }
        errorsBefore = tErrors;
    }
    ~ErrorTrap()
    {
        if (--tTrapDepth == 0) {
            XSetErrorHandler(tHostErrorHandler);
            XSetIOErrorHandler(tHostIOHandler);
        }
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to process what was sent; true when it refused
    // anything since the trap was set.
    bool failedAfterSync(Display* display) const
    {
        XSync(display, False);
        return tErrors != errorsBefore;
    }

private:
    int errorsBefore = 0;
};

// The view's key code for a key, -1 for keys the panel does not know.
int PanelKeyCode(KeySym key)
{
    switch (key) {
    case XK_space:
        return kKeySpace;
    case XK_Up:
        return kKeyUp;
    case XK_Down:
        return kKeyDown;
    case XK_Left:
        return kKeyLeft;
    case XK_Right:
        return kKeyRight;
    default:
        break;
    }
    if (key >= XK_0 && key <= XK_9)
        return kKeyDigit0 + static_cast<int>(key - XK_0);
    if (key >= XK_a && key <= XK_z)
        return kKeyLetterA + static_cast<int>(key - XK_a);
    if (key >= XK_A && key <= XK_Z)
        return kKeyLetterA + static_cast<int>(key - XK_A);
    return -1;
}

bool PopupKeyOf(KeySym key, PopupKey& out)
{
    switch (key) {
    case XK_Return:
    case XK_KP_Enter:
        out = PopupKey::Return;
        return true;
    case XK_Escape:
        out = PopupKey::Escape;
        return true;
    case XK_BackSpace:
        out = PopupKey::Backspace;
        return true;
    case XK_Delete:
    case XK_KP_Delete:
        out = PopupKey::Delete;
        return true;
    case XK_Left:
    case XK_KP_Left:
        out = PopupKey::Left;
        return true;
    case XK_Right:
    case XK_KP_Right:
        out = PopupKey::Right;
        return true;
    case XK_Home:
    case XK_KP_Home:
        out = PopupKey::Home;
        return true;
    case XK_End:
    case XK_KP_End:
        out = PopupKey::End;
        return true;
    case XK_Up:
    case XK_KP_Up:
        out = PopupKey::Up;
        return true;
    case XK_Down:
    case XK_KP_Down:
        out = PopupKey::Down;
        return true;
    default:
        return false;
    }
}

// Buttons and modifiers of a mouse event. X reports the state before the
// event; the view wants the buttons held after it.
MouseState MouseStateOf(unsigned int state, unsigned int button, bool pressed)
{
    MouseState m;
    m.left = (state & Button1Mask) != 0;
    m.right = (state & Button3Mask) != 0;
    if (button == Button1)
        m.left = pressed;
    if (button == Button3)
        m.right = pressed;
    m.shift = (state & ShiftMask) != 0;
    m.ctrl = (state & ControlMask) != 0;
    m.alt = (state & Mod1Mask) != 0;
    return m;
}

IArea AreaOf(int x, int y, int w, int h)
{
    return IArea{x, y, x + w, y + h};
}

// One colour channel (0..255) placed into a visual's channel mask.
unsigned long ChannelToMask(std::uint32_t value, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    int bits = 0;
    while (((mask >> (shift + bits)) & 1) != 0)
        ++bits;
    const unsigned long scaled =
        bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8) : value >> (8 - bits);
    return (scaled << shift) & mask;
}

} // namespace

// The _XEventProc entry: hosts that read our window's events on their own
// connection hand them over here.
extern "C" void TessaphonX11EventProc(XEvent* event)
{
    if (!event)
        return;
    if (X11EditorView* view = ViewOfWindow(event->xany.window))
        view->handleEvent(*event);
}

struct X11EditorView::Connection {
    Display* display = nullptr;
    Window window = 0;
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;
    bool ownColormap = false;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo shm{};
    bool sharedMemory = false;
    // The pixel layout is the canvas's own (0xRRGGBB in 32 bits, host order).
    bool directPixels = false;
    // The host destroyed our window (with its parent) while it was open.
    bool windowGone = false;
    // Gesture bookkeeping.
    bool buttonHeld = false;
    bool pressInPopup = false;
    // Who had the keyboard before the pop-up took it (0: nobody to give back to).
    Window focusBefore = 0;
    Time lastClickTime = 0;
    int lastClickX = 0;
    int lastClickY = 0;
    bool clickArmed = false;
    IArea exposed;
};

X11EditorView::X11EditorView(IPlugBase* owner, int viewWidth, int viewHeight, int ticksPerSecond,
                             void* resourceModule)
    : IEditorView(owner, viewWidth, viewHeight, ticksPerSecond), module(resourceModule)
{
}

X11EditorView::~X11EditorView()
{
    closeWindow();
}

std::unique_ptr<RasterBitmap> X11EditorView::loadResourceImage(int resourceId)
{
    return DecodePngResource(module, resourceId);
}

bool X11EditorView::wheelFromHost(float)
{
    return false;
}

bool X11EditorView::openWebPage(const char* address, const char*, const char* question, const char*)
{
    if (!address || !*address || question)
        return false;
    return OpenWebAddress(address);
}

void* X11EditorView::windowHandle() const
{
    if (!x)
        return nullptr;
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(x->window));
}

IArea X11EditorView::currentPlace() const
{
    Window root = 0;
    int px = 0, py = 0;
    unsigned int w = 0, h = 0, border = 0, depth = 0;
    if (x->windowGone || !XGetGeometry(x->display, x->window, &root, &px, &py, &w, &h, &border, &depth))
        return AreaOf(0, 0, Width(), Height());
    return AreaOf(px, py, static_cast<int>(w), static_cast<int>(h));
}

void* X11EditorView::openWindow(void* parent)
{
    IArea place = AreaOf(0, 0, Width(), Height());
    if (x) {
        {
            ErrorTrap trap;
            place = currentPlace();
        }
        closeWindow();
    }
    const auto parentId = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(parent));
    if (parentId == 0 || !canvas())
        return nullptr;
    if (!createWindow(parentId, place)) {
        releaseConnection();
        return nullptr;
    }
    markAllDirty();
    // Painted at once, so that a host that never sends idle requests still
    // shows the panel (when its window is already on screen); later exposures
    // are repainted by the idle request.
    {
        ErrorTrap trap;
        repaintDirtyAnd(AreaOf(0, 0, Width(), Height()));
    }
    lastTick = std::chrono::steady_clock::now();
    return windowHandle();
}

bool X11EditorView::createWindow(unsigned long parent, const IArea& place)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    x = std::make_unique<Connection>();
    x->display = display;
    RegisterDisplay(display, true);
    XSetIOErrorExitHandler(display, OnOurConnectionLost, nullptr);
    ErrorTrap trap;

    XWindowAttributes parentAttributes{};
    if (!XGetWindowAttributes(display, parent, &parentAttributes) || parentAttributes.c_class != InputOutput)
        return false;
    x->visual = parentAttributes.visual;
    x->depth = parentAttributes.depth;
    Screen* screen = parentAttributes.screen;
    if (x->visual == DefaultVisualOfScreen(screen) && x->depth == DefaultDepthOfScreen(screen)) {
        x->colormap = DefaultColormapOfScreen(screen);
    } else {
        x->colormap = XCreateColormap(display, parent, x->visual, AllocNone);
        x->ownColormap = true;
    }

    XSetWindowAttributes attributes{};
    attributes.colormap = x->colormap;
    attributes.border_pixel = 0;
    attributes.background_pixmap = None;
    attributes.event_mask = kEventMask;
    x->window = XCreateWindow(display, parent, place.L, place.T, static_cast<unsigned>(place.W()),
                              static_cast<unsigned>(place.H()), 0, x->depth, InputOutput, x->visual,
                              CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &attributes);
    setEventProcProperty();
    x->gc = XCreateGC(display, x->window, 0, nullptr);
    XMapWindow(display, x->window);
    if (trap.failedAfterSync(display))
        return false;
    if (!createImage())
        return false;
    RegisterWindow(x->window, this);
    return true;
}

// Format-32 properties carry 32 bits per item whatever the size of a long, so
// the entry's address goes in two items, the low half first; a host reads
// both and joins them.
void X11EditorView::setEventProcProperty()
{
    const Atom eventProc = XInternAtom(x->display, "_XEventProc", False);
    void (*proc)(XEvent*) = TessaphonX11EventProc;
    std::uint64_t address = 0;
    static_assert(sizeof proc <= sizeof address);
    std::memcpy(&address, &proc, sizeof proc);
    long halves[2] = {static_cast<long>(address & 0xFFFFFFFFu), static_cast<long>(address >> 32)};
    XChangeProperty(x->display, x->window, eventProc, eventProc, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(halves), 2);
}

// The image the canvas is copied through: in shared memory where the server
// offers it and accepts our segment, otherwise an ordinary client-side image.
bool X11EditorView::createImage()
{
    Display* display = x->display;
    const auto w = static_cast<unsigned>(Width());
    const auto h = static_cast<unsigned>(Height());
    if (XShmQueryExtension(display)) {
        ErrorTrap trap;
        XImage* image = XShmCreateImage(display, x->visual, static_cast<unsigned>(x->depth), ZPixmap, nullptr,
                                        &x->shm, w, h);
        if (image) {
            x->shm.shmid =
                shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * h, IPC_CREAT | 0600);
            void* memory = x->shm.shmid >= 0 ? shmat(x->shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
            if (memory != reinterpret_cast<void*>(-1)) {
                x->shm.shmaddr = image->data = static_cast<char*>(memory);
                x->shm.readOnly = False;
                const bool attached = XShmAttach(display, &x->shm) && !trap.failedAfterSync(display);
                shmctl(x->shm.shmid, IPC_RMID, nullptr); // goes when both sides detach
                if (attached) {
                    x->image = image;
                    x->sharedMemory = true;
                } else {
                    shmdt(memory);
                }
            } else if (x->shm.shmid >= 0) {
                shmctl(x->shm.shmid, IPC_RMID, nullptr);
            }
            if (!x->image) {
                image->data = nullptr;
                XDestroyImage(image);
            }
        }
    }
    if (!x->image) {
        x->image = XCreateImage(display, x->visual, static_cast<unsigned>(x->depth), ZPixmap, 0, nullptr, w,
                                h, 32, 0);
        if (!x->image)
            return false;
        x->image->data =
            static_cast<char*>(std::calloc(static_cast<std::size_t>(x->image->bytes_per_line), h));
        if (!x->image->data)
            return false;
    }
    const XImage& im = *x->image;
    x->directPixels = im.bits_per_pixel == 32 && im.red_mask == 0xFF0000 && im.green_mask == 0xFF00 &&
                      im.blue_mask == 0xFF && im.byte_order == LSBFirst;
    return true;
}

void X11EditorView::releaseConnection()
{
    if (!x)
        return;
    Display* display = x->display;
    {
        ErrorTrap trap;
        RegisterWindow(x->window, nullptr);
        if (x->image) {
            if (x->sharedMemory) {
                XShmDetach(display, &x->shm);
                XSync(display, False);
                shmdt(x->shm.shmaddr);
                x->image->data = nullptr;
            }
            XDestroyImage(x->image);
        }
        if (x->gc)
            XFreeGC(display, x->gc);
        if (x->window && !x->windowGone)
            XDestroyWindow(display, x->window);
        if (x->ownColormap)
            XFreeColormap(display, x->colormap);
        XSync(display, False);
        XCloseDisplay(display);
    }
    RegisterDisplay(display, false);
    x.reset();
}

void X11EditorView::closeWindow()
{
    if (!x)
        return;
    endGesture();
    if (endEditCountdown() > 0)
        plugin()->FlushPendingParamEdit();
    popupEditor.reset();
    releaseConnection();
}

// --- Presenting the canvas ---

// The canvas's pixels in the area, with the pop-up laid over them, into the
// image: row by row as they are where the visual's layout is the canvas's own,
// else pixel by pixel through the visual's channel masks.
void X11EditorView::copyToImage(const IArea& area)
{
    XImage* image = x->image;
    const RasterBitmap* source = canvas();
    const RasterBitmap* overlay = popupEditor ? popupEditor->bitmap() : nullptr;
    const IArea popupArea = overlay ? popupEditor->area().Intersect(area) : IArea{};
    const auto span = static_cast<std::size_t>(area.W());
    std::vector<std::uint32_t> row(span);
    for (int y = area.T; y < area.B; ++y) {
        std::copy_n(source->At(area.L, y), span, row.begin());
        if (!popupArea.Empty() && y >= popupArea.T && y < popupArea.B) {
            const IArea& whole = popupEditor->area();
            std::copy_n(overlay->At(popupArea.L - whole.L, y - whole.T), popupArea.W(),
                        row.begin() + (popupArea.L - area.L));
        }
        if (x->directPixels) {
            auto* out = reinterpret_cast<std::uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) *
                                                                           image->bytes_per_line) +
                        area.L;
            for (std::size_t i = 0; i < span; ++i)
                out[i] = row[i] | 0xFF000000u;
            continue;
        }
        for (std::size_t i = 0; i < span; ++i) {
            const std::uint32_t pixel = row[i];
            const unsigned long value = ChannelToMask((pixel >> 16) & 0xFF, image->red_mask) |
                                        ChannelToMask((pixel >> 8) & 0xFF, image->green_mask) |
                                        ChannelToMask(pixel & 0xFF, image->blue_mask);
            XPutPixel(image, area.L + static_cast<int>(i), y, value);
        }
    }
}

bool X11EditorView::presentArea(const IArea& area)
{
    if (!x || x->windowGone || !x->image || !canvas())
        return false;
    const IArea shown = area.Intersect(AreaOf(0, 0, Width(), Height()));
    if (shown.Empty())
        return true;
    copyToImage(shown);
    ErrorTrap trap;
    const auto w = static_cast<unsigned>(shown.W());
    const auto h = static_cast<unsigned>(shown.H());
    if (x->sharedMemory) {
        XShmPutImage(x->display, x->window, x->gc, x->image, shown.L, shown.T, shown.L, shown.T, w, h, False);
        // The server reads the shared pixels later: wait until it has, before
        // the next frame overwrites them.
        XSync(x->display, False);
    } else {
        XPutImage(x->display, x->window, x->gc, x->image, shown.L, shown.T, shown.L, shown.T, w, h);
        XFlush(x->display);
    }
    return true;
}

// --- Driving the window from the host's idle request ---

void X11EditorView::idleFromHost()
{
    if (!x)
        return;
    ErrorTrap trap;
    drainEvents();
    if (!x)
        return;
    const auto now = std::chrono::steady_clock::now();
    const auto period = std::chrono::milliseconds(static_cast<int>(1000.0 / FrameRate()));
    if (now - lastTick >= period) {
        lastTick = now;
        tick();
    }
    showPopupChanges();
    if (x)
        XFlush(x->display);
}

void X11EditorView::drainEvents()
{
    while (x && XPending(x->display) > 0) {
        XEvent event;
        XNextEvent(x->display, &event);
        handleEvent(event);
    }
}

void X11EditorView::tick()
{
    finishPopup();
    IArea dirty;
    if (!x->windowGone && collectDirty(dirty))
        paint(dirty);
    tickEndEditCountdown();
}

// A pop-up whose user committed or cancelled goes on the tick after: the
// typed value is committed, the control repaints and re-sends its value, and
// the panel shows through where the pop-up was.
void X11EditorView::finishPopup()
{
    if (!popupEditor || popupEditor->request() == PopupRequest::Editing)
        return;
    if (popupEditor->request() == PopupRequest::Commit) {
        const std::string text = popupEditor->committedText();
        commitTypedValue(popupEditor->control(), popupEditor->parameter(), text.c_str());
    }
    {
        LockGuard guard(plugin()->Lock());
        popupEditor->control()->promptEnded();
    }
    const IArea uncovered = popupEditor->area();
    popupEditor.reset();
    returnKeyboardFocus();
    presentArea(uncovered);
}

void X11EditorView::showPopupChanges()
{
    if (popupEditor && popupEditor->redraw())
        presentArea(popupEditor->area());
}

void X11EditorView::promptParameterValue(IControl* control, IParameter* param)
{
    if (!control || !param || popupEditor || !x)
        return;
    {
        LockGuard guard(plugin()->Lock());
        popupEditor = PopupValueEditor::Make(control, param, Width(), Height());
    }
    if (popupEditor && !x->windowGone) {
        ErrorTrap trap;
        int revert = 0;
        XGetInputFocus(x->display, &x->focusBefore, &revert);
        XSetInputFocus(x->display, x->window, RevertToParent, CurrentTime);
    }
}

// The keyboard goes back to where it was before the pop-up, unless the user
// has put it somewhere else meanwhile.
void X11EditorView::returnKeyboardFocus()
{
    if (x->windowGone || x->focusBefore == 0)
        return;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x->display, &focus, &revert);
    if (focus == x->window)
        XSetInputFocus(x->display, x->focusBefore, RevertToParent, CurrentTime);
    x->focusBefore = 0;
}

// --- Events ---

void X11EditorView::handleEvent(const XEvent& event)
{
    if (!x || event.xany.window != x->window)
        return;
    switch (event.type) {
    case Expose:
        onExpose(event);
        break;
    case ButtonPress:
        onButtonPress(event);
        break;
    case ButtonRelease:
        onButtonRelease(event);
        break;
    case MotionNotify:
        if (x->buttonHeld && !x->pressInPopup && (event.xmotion.state & (Button1Mask | Button3Mask)))
            dragTo(event.xmotion.x, event.xmotion.y, MouseStateOf(event.xmotion.state, 0, false));
        break;
    case KeyPress:
        onKeyPress(event);
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == x->window) {
            // The host destroyed its window, and ours with it.
            x->windowGone = true;
            endGesture();
        }
        break;
    default:
        break;
    }
}

void X11EditorView::onExpose(const XEvent& event)
{
    const XExposeEvent& e = event.xexpose;
    x->exposed = x->exposed.Union(AreaOf(e.x, e.y, e.width, e.height));
    if (e.count > 0)
        return;
    const IArea area = x->exposed;
    x->exposed = IArea{};
    repaintDirtyAnd(area);
}

// Repaints the area together with whatever else waits to be painted: a paint
// marks every control clean, so a pending change is never dropped by it.
void X11EditorView::repaintDirtyAnd(const IArea& area)
{
    IArea all = area;
    collectDirty(all);
    paint(all);
}

void X11EditorView::onButtonPress(const XEvent& event)
{
    const XButtonEvent& e = event.xbutton;
    if (e.button == Button4 || e.button == Button5) {
        wheelAt(e.x, e.y, MouseStateOf(e.state, 0, false), e.button == Button4 ? 1 : -1);
        return;
    }
    if (e.button != Button1 && e.button != Button3)
        return;
    x->pressInPopup = false;
    if (popupEditor) {
        if (e.button == Button3) {
            popupEditor->cancel();
            x->pressInPopup = true;
            return;
        }
        if (popupEditor->contains(e.x, e.y)) {
            popupEditor->clickAt(e.x, e.y);
            x->pressInPopup = true;
            return;
        }
        popupEditor->clickOutside();
    }
    const MouseState mouse = MouseStateOf(e.state, e.button, true);
    const bool doubleClick = e.button == Button1 && x->clickArmed &&
                             e.time - x->lastClickTime <= kDoubleClickMs &&
                             std::abs(e.x - x->lastClickX) <= kDoubleClickPixels &&
                             std::abs(e.y - x->lastClickY) <= kDoubleClickPixels;
    // A double click does not start the next one.
    x->clickArmed = e.button == Button1 && !doubleClick;
    x->lastClickTime = e.time;
    x->lastClickX = e.x;
    x->lastClickY = e.y;
    if (doubleClick) {
        x->buttonHeld = doubleClickAt(e.x, e.y, mouse);
        return;
    }
    x->buttonHeld = true;
    pressAt(e.x, e.y, mouse);
}

void X11EditorView::onButtonRelease(const XEvent& event)
{
    const XButtonEvent& e = event.xbutton;
    if (e.button != Button1 && e.button != Button3)
        return;
    x->buttonHeld = false;
    if (x->pressInPopup) {
        x->pressInPopup = false;
        return;
    }
    releaseAt(e.x, e.y, MouseStateOf(e.state, e.button, false));
}

void X11EditorView::onKeyPress(const XEvent& event)
{
    XKeyEvent key = event.xkey;
    if (popupEditor) {
        char typed[16] = {};
        KeySym symbol = NoSymbol;
        const int length = XLookupString(&key, typed, sizeof typed - 1, &symbol, nullptr);
        PopupKey editing;
        if (PopupKeyOf(symbol, editing))
            popupEditor->pressKey(editing);
        else if (length > 0)
            popupEditor->typeText(std::string(typed, static_cast<std::size_t>(length)));
        return;
    }
    const int code = PanelKeyCode(XLookupKeysym(&key, 0));
    if (code >= 0)
        keyAt(key.x, key.y, code);
}

std::unique_ptr<IEditorView> MakeX11View(IPlugBase* plug, int width, int height, int frameRate, void* module)
{
    return std::make_unique<X11EditorView>(plug, width, height, frameRate, module);
}
