// The editor window in a Windows host: the DLL's editor opened through its
// dispatcher inside a parent window made here, driven by the messages a user's
// mouse and keyboard produce, and read back pixel by pixel. Every window test
// lives in this one program: each program that opens windows costs seconds to
// start under Wine.

#include "../plugin/plugin_fixture.h"

#include "editor/editor_view.h"
#include "editor/headless_view.h"
#include "plugin/vstclass.h"
#include "raster/raster_bitmap.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kPanelWidth = 550;
constexpr int kPanelHeight = 365;
constexpr WPARAM kRepaintTimer = 2;
// Ticks of the late end of a wheel edit at 24 frames per second.
constexpr int kWheelEndTicks = 12;
constexpr POINT kMixKnob = {506, 129};  // "Mix" (9), integers 0-100
constexpr POINT kWaveKnob = {201, 130}; // "Wave" (3), eight display texts
constexpr POINT kBareBackground = {300, 240};
constexpr char kEditorClass[] = "IPlugWndClass";

LPARAM At(POINT p)
{
    return MAKELPARAM(p.x, p.y);
}

// Runs the thread's messages (the editor's timer among them) for a while.
void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

// RGB of the panel as a window shows it, read back from its DC.
std::vector<std::uint32_t> WindowPixels(HWND window)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kPanelWidth * kPanelHeight));
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPanelWidth;
    info.bmiHeader.biHeight = -kPanelHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, kPanelWidth, kPanelHeight, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* read = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = read[i] & 0xFFFFFFu;
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

std::intptr_t NoHost(vst2::EffectDescriptor*, std::int32_t, std::int32_t, std::intptr_t, void*, float)
{
    return 0;
}

// RGB of the same panel painted by the headless view in this process, with
// one parameter set as the host sets it.
std::vector<std::uint32_t> HeadlessPixels(int param, float normalized)
{
    VSTCLASS plug(NoHost, MakeHeadlessView);
    vst2::EffectDescriptor* effect = plug.Descriptor();
    effect->setParameter(effect, param, normalized);
    auto* view = dynamic_cast<IEditorView*>(plug.Editor());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kPanelWidth * kPanelHeight));
    if (!view)
        return pixels;
    view->openWindow(nullptr);
    IArea dirty;
    view->collectDirty(dirty);
    view->paint(dirty);
    for (int y = 0; y < kPanelHeight; ++y)
        for (int x = 0; x < kPanelWidth; ++x)
            pixels[static_cast<std::size_t>(y * kPanelWidth + x)] = *view->canvas()->At(x, y) & 0xFFFFFFu;
    return pixels;
}

// Pixels of a and b that differ at all, and those that differ by more than a
// little in some channel (GDI's text may be smoothed differently on screen).
struct PixelDifference {
    int any = 0;
    int large = 0;
};

PixelDifference Compare(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    PixelDifference d;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        ++d.any;
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                         static_cast<int>((b[i] >> shift) & 0xFF)) > 24) {
                ++d.large;
                break;
            }
    }
    return d;
}

// The window class is registered under the module of the DLL.
HMODULE PluginModuleHandle()
{
    return GetModuleHandleA("Tessaphon.dll");
}

bool ClassRegistered()
{
    WNDCLASSA info;
    return GetClassInfoA(PluginModuleHandle(), kEditorClass, &info) != 0;
}

class EditorWindowTest : public PluginTest {
protected:
    void SetUp() override
    {
        WNDCLASSA host = {};
        host.lpfnWndProc = DefWindowProcA;
        host.hInstance = GetModuleHandleA(nullptr);
        host.lpszClassName = "TessaphonTestParent";
        RegisterClassA(&host);
        parent = MakeParent();
        ASSERT_TRUE(parent);
        plug = Make();
        ASSERT_TRUE(plug);
    }

    void TearDown() override
    {
        plug.reset();
        if (IsWindow(parent))
            DestroyWindow(parent);
    }

    static HWND MakeParent()
    {
        return CreateWindowExA(0, "TessaphonTestParent", "host", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    static std::vector<HWND> EditorsIn(HWND inside)
    {
        std::vector<HWND> found;
        for (HWND w = nullptr; (w = FindWindowExA(inside, w, kEditorClass, "IPlug"));)
            found.push_back(w);
        return found;
    }

    // The editor window the open request made.
    static HWND Open(host::PluginInstance& instance, HWND inside)
    {
        const std::vector<HWND> before = EditorsIn(inside);
        if (instance.Dispatch(vst2::kOpEditorOpen, 0, 0, inside) != 1)
            return nullptr;
        for (HWND w : EditorsIn(inside))
            if (std::find(before.begin(), before.end(), w) == before.end())
                return w;
        return nullptr;
    }

    HWND Open() { return editor = Open(*plug, parent); }

    void Tick() { SendMessageA(editor, WM_TIMER, kRepaintTimer, 0); }

    void Click(UINT down, UINT up, POINT p, WPARAM button)
    {
        SendMessageA(editor, down, button, At(p));
        SendMessageA(editor, up, 0, At(p));
    }

    void Wheel(POINT p, short delta)
    {
        POINT screen = p;
        ClientToScreen(editor, &screen);
        SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), At(screen));
    }

    // The gesture and automation requests the host received since last asked.
    std::string Gestures()
    {
        std::string seen;
        for (const host::HostRequest& r : state.TakeRequests()) {
            if (r.opcode == vst2::kHostBeginEdit)
                seen += "begin" + std::to_string(r.index) + " ";
            else if (r.opcode == vst2::kHostEndEdit)
                seen += "end" + std::to_string(r.index) + " ";
            else if (r.opcode == vst2::kHostAutomate)
                seen += "set" + std::to_string(r.index) + " ";
        }
        return seen;
    }

    HWND Popup(const char* className) { return FindWindowExA(editor, nullptr, className, nullptr); }

    // A right click on a control: its pop-up value editor of that class.
    HWND Prompt(POINT control, const char* className)
    {
        Click(WM_RBUTTONDOWN, WM_RBUTTONUP, control, MK_RBUTTON);
        return Popup(className);
    }

    HWND parent = nullptr;
    HWND editor = nullptr;
    std::unique_ptr<host::PluginInstance> plug;
};

TEST_F(EditorWindowTest, OpensAsChildOfTheHostAndReopensInPlace)
{
    EXPECT_EQ(plug->Effect()->flags, 0x1019);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1); // close without open
    EXPECT_FALSE(ClassRegistered());
    ASSERT_TRUE(Open());
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(static_cast<int>(GetClassLongPtrA(editor, GCL_STYLE)), CS_DBLCLKS);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(editor, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
    RECT r;
    GetClientRect(editor, &r);
    EXPECT_EQ(r.right, kPanelWidth);
    EXPECT_EQ(r.bottom, kPanelHeight);

    // Opened again without a close: a new window where the old one was.
    MoveWindow(editor, 10, 20, 300, 200, FALSE);
    const HWND first = editor;
    ASSERT_TRUE(Open());
    EXPECT_FALSE(IsWindow(first));
    GetWindowRect(editor, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);

    // Messages the window does not expect change nothing.
    SendMessageA(editor, WM_TIMER, 7, 0);
    SendMessageA(editor, WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(Gestures(), "");

    // The system's close request closes the editor the host opened.
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_FALSE(ClassRegistered());
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);

    // No parent, or a parent that is no window: nothing opens, no class stays.
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen, 0, 0, &r), 0);
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(EditorWindowTest, ClassIsSharedAndGoesWithTheLastEditor)
{
    auto second = Make();
    ASSERT_TRUE(second);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Open(*second, parent));
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(second->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_FALSE(ClassRegistered());

    // The host destroys its window before closing the editor.
    ASSERT_TRUE(Open());
    DestroyWindow(parent);
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(EditorWindowTest, MouseGesturesReachTheHost)
{
    ASSERT_TRUE(Open());
    Gestures();

    // Drag up: one gesture, the value rises.
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kMixKnob));
    SendMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At({kMixKnob.x, kMixKnob.y - 24}));
    SendMessageA(editor, WM_LBUTTONUP, 0, At({kMixKnob.x, kMixKnob.y - 24}));
    EXPECT_EQ(Gestures(), "begin9 set9 end9 ");
    const float dragged = plug->GetParameter(kMix);
    EXPECT_GT(dragged, 0.5f);

    // A press on the bare panel is no gesture; a move without a button is nothing.
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, kBareBackground, MK_LBUTTON);
    SendMessageA(editor, WM_MOUSEMOVE, 0, At(kMixKnob));
    EXPECT_EQ(Gestures(), "");

    // A double click restores the default; the release ends the edit.
    Click(WM_LBUTTONDBLCLK, WM_LBUTTONUP, kMixKnob, MK_LBUTTON);
    EXPECT_EQ(Gestures(), "begin9 set9 end9 ");
    EXPECT_EQ(plug->GetParameter(kMix), 0.5f);

    // A notch: the edit ends a half second of ticks later. A half notch
    // (60) turns nothing but still opens and ends an edit.
    for (const short delta : {short{120}, short{60}}) {
        const float before = plug->GetParameter(kMix);
        Wheel(kMixKnob, delta);
        for (int i = 1; i < kWheelEndTicks; ++i)
            Tick();
        EXPECT_EQ(Gestures(), "begin9 set9 ") << delta;
        Tick();
        EXPECT_EQ(Gestures(), "end9 ") << delta;
        if (delta == 120)
            EXPECT_GT(plug->GetParameter(kMix), before);
        else
            EXPECT_EQ(plug->GetParameter(kMix), before);
    }

    // Wheel movement sent by the host counts only over the editor.
    POINT screen = kMixKnob;
    ClientToScreen(editor, &screen);
    SetCursorPos(screen.x, screen.y);
    EXPECT_EQ(plug->VendorSpecific(0x73744341, 0x57686565, nullptr, 1.0f), 1);
    EXPECT_EQ(Gestures(), "begin9 set9 ");
    SetCursorPos(screen.x + 200, screen.y + 400);
    EXPECT_EQ(plug->VendorSpecific(0x73744341, 0x57686565, nullptr, 1.0f), 0);
    // Closing with the wheel edit pending ends it at once.
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_EQ(Gestures(), "end9 ");

    // A gesture cut short by the host taking the mouse, or by a close, ends.
    ASSERT_TRUE(Open());
    Gestures();
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kMixKnob));
    SetCapture(parent);
    EXPECT_EQ(Gestures(), "begin9 end9 ");
    ReleaseCapture();
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kMixKnob));
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_EQ(Gestures(), "begin9 end9 ");
}

TEST_F(EditorWindowTest, PopupCommitsOnTheNextTickAndCancelsOnRightClick)
{
    ASSERT_TRUE(Open());

    // A right click opens a text field with the value, selected.
    HWND field = Prompt(kMixKnob, "Edit");
    ASSERT_TRUE(field);
    EXPECT_EQ(GetDlgCtrlID(field), 99);
    EXPECT_EQ(static_cast<std::uint32_t>(GetWindowLongPtrA(field, GWLP_USERDATA)), 0xdeadf00bu);
    char text[64] = {};
    GetWindowTextA(field, text, sizeof text);
    EXPECT_STREQ(text, "50");
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, kMixKnob, MK_RBUTTON); // cancels, opens no second one
    EXPECT_FALSE(FindWindowExA(editor, field, nullptr, nullptr));
    Gestures();

    // Return commits, on the next tick.
    SetWindowTextA(field, "20");
    SendMessageA(field, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(plug->GetParameter(kMix), 0.5f);
    EXPECT_TRUE(IsWindow(field));
    Tick();
    EXPECT_FALSE(IsWindow(field));
    EXPECT_FLOAT_EQ(plug->GetParameter(kMix), 0.2f);
    EXPECT_EQ(Gestures(), "begin9 set9 end9 set9 ");

    // A right click abandons the typed text; the control re-sends its value.
    field = Prompt(kMixKnob, "Edit");
    ASSERT_TRUE(field);
    SetWindowTextA(field, "80");
    Gestures();
    Click(WM_RBUTTONDOWN, WM_RBUTTONUP, kBareBackground, MK_RBUTTON);
    Tick();
    EXPECT_FALSE(IsWindow(field));
    EXPECT_FLOAT_EQ(plug->GetParameter(kMix), 0.2f);
    EXPECT_EQ(Gestures(), "set9 ");

    // Typing, then a left click elsewhere on the panel, commits too.
    field = Prompt(kMixKnob, "Edit");
    ASSERT_TRUE(field);
    SetWindowTextA(field, "30");
    SendMessageA(field, WM_KEYDOWN, '3', 0);
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, kBareBackground, MK_LBUTTON);
    Tick();
    EXPECT_FLOAT_EQ(plug->GetParameter(kMix), 0.3f);

    // A parameter with display texts gets a list; choosing an entry commits.
    HWND list = Prompt(kWaveKnob, "ComboBox");
    ASSERT_TRUE(list);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
    SendMessageA(list, CB_SETCURSEL, 2, 0);
    SendMessageA(list, WM_COMMAND, MAKEWPARAM(0, 1), 0);
    Tick();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_FLOAT_EQ(plug->GetParameter(kWave), 2.0f / 7.0f);

    // Closing with a pop-up open takes it along.
    field = Prompt(kMixKnob, "Edit");
    ASSERT_TRUE(field);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_FALSE(IsWindow(field));
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(EditorWindowTest, TimerPaintsWhatTheHeadlessViewPaints)
{
    const std::vector<std::uint32_t> half = HeadlessPixels(kMix, 0.5f);
    const std::vector<std::uint32_t> full = HeadlessPixels(kMix, 1.0f);
    ASSERT_GT(Compare(half, full).large, 100); // the knob and its text differ

    ASSERT_TRUE(Open());
    Pump(600);
    PixelDifference d = Compare(WindowPixels(editor), half);
    EXPECT_EQ(d.large, 0) << d.any;
    EXPECT_LT(d.any, 200);

    // A value from the host shows after the timer's next ticks.
    plug->SetParameter(kMix, 1.0f);
    Pump(300);
    d = Compare(WindowPixels(editor), full);
    EXPECT_EQ(d.large, 0) << d.any;
    EXPECT_LT(d.any, 200);
}

TEST_F(EditorWindowTest, FocusGoesToTheEditorOnlyForTheHostThatWantsIt)
{
    state.SetProduct("Acoustica Mixcraft", 10000); // identifier 25
    ASSERT_TRUE(Open());
    EXPECT_EQ(GetFocus(), editor);
    SetFocus(parent);
    EXPECT_EQ(SendMessageA(editor, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent), 0), MA_ACTIVATE);
    EXPECT_EQ(GetFocus(), editor);

    state.SetProduct("Some Other Host", 10000);
    auto other = Make();
    ASSERT_TRUE(other);
    SetFocus(parent);
    HWND second = Open(*other, parent);
    ASSERT_TRUE(second);
    EXPECT_EQ(GetFocus(), parent);
    SendMessageA(second, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent), 0);
    EXPECT_EQ(GetFocus(), parent);

    // The host ends an instance whose editor is still open: window and class go.
    other.reset();
    EXPECT_FALSE(IsWindow(second));
    plug.reset();
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_FALSE(ClassRegistered());
}

} // namespace
