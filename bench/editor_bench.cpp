// The editor's repaint costs for the default program: a full repaint (the
// window opens: every control paints its whole area) and an idle tick of the
// window's timer (the two LFO indicators plus whatever changed: here the
// first indicator's marker moves every tick).

#include "core/panel_feed.h"
#include "editor/headless_view.h"
#include "plugin/vstclass.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Panel {
    Panel() : plug(std::make_unique<VSTCLASS>(nullptr, MakeHeadlessView))
    {
        plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        view = static_cast<HeadlessEditorView*>(plug->Editor());
        view->openWindow(nullptr);
        plug->lfoDisplay[0]->ShowRange(0.0f, 1.0f);
        plug->lfoDisplay[0]->ShowActive(true);
        for (int i = 0; i < 3; ++i)
            Tick(); // fonts and glyphs are made on the first paint
    }

    void Tick()
    {
        IArea area;
        if (view->collectDirty(area))
            view->paint(area);
    }

    std::unique_ptr<VSTCLASS> plug;
    HeadlessEditorView* view = nullptr;
};

void BM_PanelFullRepaint(benchmark::State& state)
{
    Panel panel;
    const IArea whole{0, 0, panel.view->Width(), panel.view->Height()};
    for (auto _ : state) {
        panel.view->markAllDirty();
        panel.view->paint(whole);
    }
}
BENCHMARK(BM_PanelFullRepaint)->Unit(benchmark::kMicrosecond);

void BM_PanelIdleTick(benchmark::State& state)
{
    Panel panel;
    int step = 0;
    for (auto _ : state) {
        panel.plug->lfoDisplay[0]->ShowLevel(static_cast<float>(step++ % 100) / 100.0f);
        panel.Tick();
    }
}
BENCHMARK(BM_PanelIdleTick)->Unit(benchmark::kMicrosecond);

} // namespace
