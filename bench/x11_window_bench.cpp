// What the X11 editor window costs the host's UI thread: copying the whole
// canvas to the window (the first frame, or an exposure of everything), and
// one idle request whose tick repaints the moving LFO indicator. Needs an X
// display: run it as  tests/x11/run_under_xvfb.sh build/bench/x11_window_bench

#include "core/panel_feed.h"
#include "editor/window_x11.h"
#include "plugin/vstclass.h"

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

struct HostWindow {
    HostWindow()
    {
        display = XOpenDisplay(nullptr);
        if (!display)
            return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 550, 365, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~HostWindow()
    {
        if (display)
            XCloseDisplay(display);
    }
    Display* display = nullptr;
    Window window = 0;
};

struct OpenPanel {
    explicit OpenPanel(const HostWindow& host) : plug(std::make_unique<VSTCLASS>(nullptr, MakeX11View))
    {
        plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        view = static_cast<X11EditorView*>(plug->Editor());
        opened = view->openWindow(reinterpret_cast<void*>(static_cast<std::uintptr_t>(host.window)));
        plug->lfoDisplay[0]->ShowRange(0.0f, 1.0f);
        plug->lfoDisplay[0]->ShowActive(true);
    }
    std::unique_ptr<VSTCLASS> plug;
    X11EditorView* view = nullptr;
    void* opened = nullptr;
};

void BM_X11PresentWholePanel(benchmark::State& state)
{
    HostWindow host;
    OpenPanel panel(host);
    if (!panel.opened) {
        state.SkipWithError("no X display");
        return;
    }
    const IArea whole{0, 0, 550, 365};
    for (auto _ : state)
        panel.view->presentArea(whole);
}
BENCHMARK(BM_X11PresentWholePanel)->Unit(benchmark::kMicrosecond);

// Each idle request here is one timer tick: the benchmark waits out the
// tick period between requests, outside the measured time.
void BM_X11IdleTickWithMovingIndicator(benchmark::State& state)
{
    HostWindow host;
    OpenPanel panel(host);
    if (!panel.opened) {
        state.SkipWithError("no X display");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        panel.plug->lfoDisplay[0]->ShowLevel(static_cast<float>(step++ % 100) / 100.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(42));
        state.ResumeTiming();
        panel.view->idleFromHost();
    }
}
BENCHMARK(BM_X11IdleTickWithMovingIndicator)->Unit(benchmark::kMicrosecond)->Iterations(100);

} // namespace
