// The Linux module's editor in a real X server (the test command runs this
// program under Xvfb): a parent window made here plays the host's, the editor
// is opened through the dispatcher, idle requests drive it, and input comes
// through the XTest extension as from a user.

#include "plugin_fixture.h"
#include "tools/snapshot/panel_snapshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 550;
constexpr int kHeight = 365;
constexpr int kBaseFreq = 0;
constexpr int kWave = 3;
constexpr int kGoldenIso = 5;
constexpr int kMix = 9;
constexpr int kLfo1Target = 10;

struct Gesture {
    int begins = 0;
    int automations = 0;
    int ends = 0;
    bool ordered = true; // every automation inside a begin/end pair
};

Gesture GestureOf(const std::vector<host::HostRequest>& requests, int param)
{
    Gesture g;
    int open = 0;
    for (const host::HostRequest& r : requests) {
        if (r.index != param)
            continue;
        if (r.opcode == vst2::kHostBeginEdit) {
            ++g.begins;
            ++open;
        } else if (r.opcode == vst2::kHostEndEdit) {
            ++g.ends;
            --open;
            g.ordered = g.ordered && open == 0;
        } else if (r.opcode == vst2::kHostAutomate) {
            ++g.automations;
            g.ordered = g.ordered && open == 1;
        }
    }
    return g;
}

// One begin-edit and one end-edit for the parameter.
void ExpectOneGesture(const Gesture& g)
{
    EXPECT_EQ(g.begins, 1);
    EXPECT_EQ(g.ends, 1);
}

class X11EditorTest : public PluginTest {
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "no X display \""
                                    << (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "")
                                    << "\" (run under tests/x11/run_under_xvfb.sh)";
        int event = 0, error = 0, major = 0, minor = 0;
        ASSERT_TRUE(XTestQueryExtension(display, &event, &error, &major, &minor));
        plug = Make();
        ASSERT_TRUE(plug);
        plug->Start(44100.0, 512);
        parent = MakeParent(0, 0);
    }

    void TearDown() override
    {
        plug.reset();
        if (!display)
            return;
        for (unsigned int b : {1u, 3u})
            XTestFakeButtonEvent(display, b, False, CurrentTime);
        XCloseDisplay(display);
    }

    // A top-level window at (x, y) of the root, as a host's editor frame.
    Window MakeParent(int x, int y)
    {
        XSetWindowAttributes a{};
        a.background_pixel = 0x202020;
        a.override_redirect = True;
        const Window w =
            XCreateWindow(display, DefaultRootWindow(display), x, y, kWidth, kHeight, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &a);
        XMapRaised(display, w);
        XSync(display, False);
        return w;
    }

    static void* AsParent(Window w) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(w)); }

    bool Open(host::PluginInstance& p, Window w)
    {
        return p.Dispatch(vst2::kOpEditorOpen, 0, 0, AsParent(w)) == 1;
    }

    // The editor's window: the parent's only child.
    Window Child(Window w)
    {
        Window root = 0, up = 0, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(display, w, &root, &up, &children, &count) && count == 1)
            found = children[0];
        if (children)
            XFree(children);
        return found;
    }

    // Idle requests as a host sends them, for a while.
    void Pump(int milliseconds, std::initializer_list<host::PluginInstance*> instances = {})
    {
        const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
        while (Clock::now() < end) {
            XSync(display, False);
            if (instances.size() == 0)
                plug->Dispatch(vst2::kOpEditorIdle);
            for (host::PluginInstance* p : instances)
                p->Dispatch(vst2::kOpEditorIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    void MoveTo(int x, int y)
    {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XSync(display, False);
    }
    void Button(unsigned int button, bool down)
    {
        XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
        XSync(display, False);
    }
    void Click(int x, int y, unsigned int button = 1)
    {
        MoveTo(x, y);
        Button(button, true);
        Pump(30);
        Button(button, false);
        Pump(30);
    }
    void Type(const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            const char name[2] = {*k, 0};
            KeySym sym = XStringToKeysym(name);
            if (*k == '.')
                sym = XK_period;
            Key(sym);
        }
    }
    void Key(KeySym sym)
    {
        const KeyCode code = XKeysymToKeycode(display, sym);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XSync(display, False);
        Pump(10);
    }

    // The window's pixels, 0xRRGGBB.
    std::vector<std::uint32_t> Pixels(Window w)
    {
        std::vector<std::uint32_t> out;
        XImage* image = XGetImage(display, w, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (!image)
            return out;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                out.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
        XDestroyImage(image);
        return out;
    }

    std::string Shown(int index) { return plug->ParamDisplay(index); }

    Display* display = nullptr;
    std::unique_ptr<host::PluginInstance> plug;
    Window parent = 0;
};

TEST_F(X11EditorTest, OpensAsChildOfTheHostWindowShowingTheHeadlessSnapshot)
{
    EXPECT_EQ(plug->Effect()->flags, 0x1019);
    snapshot::Picture expected;
    std::string error;
    ASSERT_TRUE(snapshot::PaintPanel(0, {}, expected, error)) << error;
    // The snapshot's instance has rendered one block: so has this one.
    std::vector<float> in(512, 0.0f), left(512), right(512);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {left.data(), right.data()};
    plug->ProcessReplacing(ins, outs, 512);

    ASSERT_TRUE(Open(*plug, parent));
    const Window editor = Child(parent);
    ASSERT_NE(editor, 0u);
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(display, editor, &a));
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 0);
    EXPECT_EQ(a.width, kWidth);
    EXPECT_EQ(a.height, kHeight);
    EXPECT_EQ(a.map_state, IsViewable);
    Pump(150);
    const std::vector<std::uint32_t> shown = Pixels(editor);
    ASSERT_EQ(shown.size(), expected.pixels.size());
    int differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i)
        differing += shown[i] != expected.pixels[i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_EQ(Child(parent), 0u);
}

TEST_F(X11EditorTest, DragWheelAndSwitchReachTheHostAsGestures)
{
    ASSERT_TRUE(Open(*plug, parent));
    Pump(100);
    state.TakeRequests();

    // Press, drag up and release on the Base Freq knob.
    const std::string before = Shown(kBaseFreq);
    MoveTo(49, 130);
    Button(1, true);
    for (int y = 126; y >= 90; y -= 4) {
        MoveTo(49, y);
        Pump(10);
    }
    Button(1, false);
    Pump(100);
    EXPECT_NE(Shown(kBaseFreq), before);
    Gesture drag = GestureOf(state.TakeRequests(), kBaseFreq);
    ExpectOneGesture(drag);
    EXPECT_GT(drag.automations, 0);
    EXPECT_TRUE(drag.ordered);

    // A double click restores the knob's default.
    Click(49, 130);
    Click(49, 130);
    Pump(100);
    EXPECT_EQ(Shown(kBaseFreq), before);
    state.TakeRequests();

    // Three wheel notches on Mix: one gesture, ended half a second later.
    const std::string mixBefore = Shown(kMix);
    MoveTo(506, 129);
    for (int i = 0; i < 3; ++i) {
        Button(4, true);
        Button(4, false);
        Pump(40);
    }
    Pump(800);
    EXPECT_NE(Shown(kMix), mixBefore);
    Gesture wheel = GestureOf(state.TakeRequests(), kMix);
    ExpectOneGesture(wheel);
    EXPECT_GE(wheel.automations, 3);

    // A click toggles the Golden iso switch.
    const float golden = plug->GetParameter(kGoldenIso);
    Click(270, 103);
    Pump(100);
    EXPECT_NE(plug->GetParameter(kGoldenIso), golden);
    plug->Dispatch(vst2::kOpEditorClose);
}

TEST_F(X11EditorTest, LfoTargetListOpensAndAnEntryIsPicked)
{
    ASSERT_TRUE(Open(*plug, parent));
    Pump(100);
    plug->SetParameter(kLfo1Target, 0.0f);
    Pump(100);
    Click(120, 223);
    Pump(100);
    Click(120, 270); // 40 pixels below the pane's top: the third entry
    Pump(150);
    EXPECT_FLOAT_EQ(plug->GetParameter(kLfo1Target), 0.4f);
    plug->Dispatch(vst2::kOpEditorClose);
}

TEST_F(X11EditorTest, PopupTakesTypedValueOrCancelsOnRightClick)
{
    ASSERT_TRUE(Open(*plug, parent));
    Pump(100);
    const Window editor = Child(parent);
    const std::vector<std::uint32_t> panel = Pixels(editor);

    // Right click on Base Freq: the text field appears over the knob.
    Click(49, 130, 3);
    Pump(100);
    EXPECT_NE(Pixels(editor), panel);
    state.TakeRequests();
    MoveTo(49, 130);
    Type("432");
    Key(XK_Return);
    Pump(150);
    EXPECT_EQ(Shown(kBaseFreq).rfind("432", 0), 0u) << Shown(kBaseFreq);
    Gesture typed = GestureOf(state.TakeRequests(), kBaseFreq);
    ExpectOneGesture(typed); // the control re-sends its value afterwards

    // Typing then a right click abandons the value.
    Click(49, 130, 3);
    Pump(100);
    Type("99");
    Click(49, 130, 3);
    Pump(150);
    EXPECT_EQ(Shown(kBaseFreq).rfind("432", 0), 0u);

    // A list for a parameter with display texts: a click on an entry picks it.
    plug->SetParameter(kWave, 0.0f);
    Pump(60);
    Click(201, 130, 3);
    Pump(100);
    Click(201, 140 + 16 * 2 + 8); // rows of 16 pixels below the knob's centre: the third
    Pump(150);
    EXPECT_NE(plug->GetParameter(kWave), 0.0f);
    plug->Dispatch(vst2::kOpEditorClose);
}

TEST_F(X11EditorTest, ReopenKeepsPlaceAndTwoEditorsWorkAtOnce)
{
    ASSERT_TRUE(Open(*plug, parent));
    const Window first = Child(parent);
    XMoveResizeWindow(display, first, 7, 9, kWidth - 10, kHeight - 20);
    XSync(display, False);
    ASSERT_TRUE(Open(*plug, parent)); // again, without a close
    const Window second = Child(parent);
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(display, second, &a));
    EXPECT_EQ(a.x, 7);
    EXPECT_EQ(a.y, 9);
    EXPECT_EQ(a.width, kWidth - 10);

    auto other = Make();
    ASSERT_TRUE(other);
    other->Start(44100.0, 512);
    const Window otherParent = MakeParent(600, 0);
    ASSERT_TRUE(Open(*other, otherParent));
    Pump(150, {plug.get(), other.get()});
    const float golden = other->GetParameter(kGoldenIso);
    MoveTo(600 + 270, 103);
    Button(1, true);
    Pump(30, {plug.get(), other.get()});
    Button(1, false);
    Pump(100, {plug.get(), other.get()});
    EXPECT_NE(other->GetParameter(kGoldenIso), golden);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_EQ(Child(parent), 0u);
    Pump(50, {other.get()});
    EXPECT_NE(Child(otherParent), 0u);
    EXPECT_EQ(other->Dispatch(vst2::kOpEditorClose), 1);
}

TEST_F(X11EditorTest, HostileHostsNeverCrashOrBlock)
{
    // Close without open, idle without a window, null and invalid parents.
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorIdle), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen, 0, 0, AsParent(0x7ffffff0)), 0);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorIdle), 0);

    // No display to connect to.
    const std::string saved = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen, 0, 0, AsParent(parent)), 0);
    setenv("DISPLAY", saved.c_str(), 1);

    // The host destroys its window (and ours) while the editor is open, in
    // the middle of a drag; idle and close afterwards.
    ASSERT_TRUE(Open(*plug, parent));
    Pump(60);
    MoveTo(49, 130);
    Button(1, true);
    Pump(30);
    state.TakeRequests();
    XDestroyWindow(display, parent);
    XSync(display, False);
    Button(1, false);
    Pump(100);
    EXPECT_EQ(GestureOf(state.TakeRequests(), kBaseFreq).ends, 1);
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorClose), 1);

    // Open without close: the instance's end closes the window. A host that
    // never sends idle sees the panel as it opened, and gets its audio.
    const Window again = MakeParent(0, 0);
    ASSERT_TRUE(Open(*plug, again));
    XSync(display, False);
    const std::vector<std::uint32_t> shown = Pixels(Child(again));
    EXPECT_EQ(shown.size(), std::size_t{kWidth} * kHeight);
    EXPECT_NE(std::count(shown.begin(), shown.end(), 0x202020u), static_cast<std::ptrdiff_t>(shown.size()));
    std::vector<float> in(512, 0.0f), left(512), right(512);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {left.data(), right.data()};
    plug->ProcessReplacing(ins, outs, 512);
    plug.reset();
    EXPECT_EQ(Child(again), 0u);
}

TEST_F(X11EditorTest, EventProcPropertyLeadsToTheSameHandler)
{
    ASSERT_TRUE(Open(*plug, parent));
    Pump(60);
    const Window editor = Child(parent);
    const Atom name = XInternAtom(display, "_XEventProc", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(display, editor, name, 0, 2, False, AnyPropertyType, &type, &format, &count,
                                 &after, &data),
              Success);
    ASSERT_EQ(count, 2u); // the address in two 32-bit halves, low first
    const auto* halves = reinterpret_cast<const unsigned long*>(data);
    const std::uint64_t address = (halves[0] & 0xFFFFFFFFu) | (std::uint64_t{halves[1] & 0xFFFFFFFFu} << 32);
    XFree(data);
    void (*proc)(XEvent*) = nullptr;
    std::memcpy(&proc, &address, sizeof proc);
    ASSERT_NE(proc, nullptr);

    // A wheel notch on Mix delivered the way such hosts do.
    state.TakeRequests();
    XEvent event{};
    event.xbutton.type = ButtonPress;
    event.xbutton.window = editor;
    event.xbutton.button = Button4;
    event.xbutton.x = 506;
    event.xbutton.y = 129;
    proc(&event);
    proc(nullptr);
    Pump(800);
    const Gesture wheel = GestureOf(state.TakeRequests(), kMix);
    ExpectOneGesture(wheel);
    plug->Dispatch(vst2::kOpEditorClose);
}

// Audio renders on its own thread while the UI thread opens the editor, pumps
// idle requests and drags a knob; the sanitizer build checks for races.
TEST_F(X11EditorTest, AudioRendersWhileTheEditorIsDriven)
{
    ASSERT_TRUE(Open(*plug, parent));
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> in(512, 0.0f), left(512), right(512);
        float* ins[2] = {in.data(), in.data()};
        float* outs[2] = {left.data(), right.data()};
        while (running) {
            plug->ProcessReplacing(ins, outs, 512);
            plug->SetParameter(kMix, static_cast<float>(blocks % 100) / 100.0f);
            ++blocks;
        }
    });
    MoveTo(125, 130);
    Button(1, true);
    for (int y = 128; y > 100; y -= 2) {
        MoveTo(125, y);
        Pump(15);
    }
    Button(1, false);
    Pump(200);
    running = false;
    audio.join();
    EXPECT_GT(blocks.load(), 0);
    plug->Dispatch(vst2::kOpEditorClose);
}

// Covered and uncovered by another window, the panel repaints the exposed
// part; a parent with a 32-bit visual other than the screen's default gets the
// same pixels through a colormap of the editor's own.
TEST_F(X11EditorTest, ExposedAndDeepParentsShowThePanel)
{
    ASSERT_TRUE(Open(*plug, parent));
    Pump(150);
    const std::vector<std::uint32_t> panel = Pixels(Child(parent));
    const Window cover = MakeParent(100, 80);
    XUnmapWindow(display, cover);
    XSync(display, False);
    Pump(150);
    EXPECT_EQ(Pixels(Child(parent)), panel);
    plug->Dispatch(vst2::kOpEditorClose);

    XVisualInfo deep{};
    if (!XMatchVisualInfo(display, DefaultScreen(display), 32, TrueColor, &deep))
        GTEST_SKIP() << "the X server offers no 32-bit visual";
    XSetWindowAttributes a{};
    a.colormap = XCreateColormap(display, DefaultRootWindow(display), deep.visual, AllocNone);
    a.border_pixel = 0;
    a.background_pixel = 0;
    a.override_redirect = True;
    const Window deepParent =
        XCreateWindow(display, DefaultRootWindow(display), 0, 400, kWidth, kHeight, 0, 32, InputOutput,
                      deep.visual, CWColormap | CWBorderPixel | CWBackPixel | CWOverrideRedirect, &a);
    XMapRaised(display, deepParent);
    XSync(display, False);
    ASSERT_TRUE(Open(*plug, deepParent));
    Pump(150);
    XWindowAttributes child{};
    ASSERT_TRUE(XGetWindowAttributes(display, Child(deepParent), &child));
    EXPECT_EQ(child.depth, 32);
    EXPECT_EQ(Pixels(Child(deepParent)), panel);
    plug->Dispatch(vst2::kOpEditorClose);
    XFreeColormap(display, a.colormap);
}

int gHostErrors = 0;
int HostErrorHandler(::Display*, XErrorEvent*)
{
    ++gHostErrors;
    return 0;
}

// The editor's X errors (an invalid parent, a parent gone) stay with the
// editor: the host's own handler is neither called nor replaced.
TEST_F(X11EditorTest, EditorErrorsNeverReachTheHostsHandler)
{
    XErrorHandler before = XSetErrorHandler(HostErrorHandler);
    gHostErrors = 0;
    EXPECT_EQ(plug->Dispatch(vst2::kOpEditorOpen, 0, 0, AsParent(0x7ffffff0)), 0);
    ASSERT_TRUE(Open(*plug, parent));
    Pump(60);
    XDestroyWindow(display, parent);
    XSync(display, False);
    Pump(100);
    plug->Dispatch(vst2::kOpEditorClose);
    EXPECT_EQ(gHostErrors, 0);
    EXPECT_EQ(XSetErrorHandler(before), HostErrorHandler);
}

} // namespace
