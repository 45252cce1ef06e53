#pragma once
// A plug-in built with its headless panel, driven as a window would drive it,
// with a host that records every request the plug-in sends (one harness at a
// time per process: the record is process-wide).

#include "editor/editor_view.h"
#include "editor/headless_view.h"
#include "editor/icontrol.h"
#include "plugin/vstclass.h"

#include <memory>
#include <vector>

struct HostRequest {
    std::int32_t opcode;
    std::int32_t index;
    float value;
    bool operator==(const HostRequest&) const = default;
};

inline std::vector<HostRequest>& HostRecord()
{
    static std::vector<HostRequest> record;
    return record;
}

inline std::intptr_t RecordingHost(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t index,
                                   std::intptr_t, void*, float opt)
{
    if (opcode != vst2::kHostGetTime)
        HostRecord().push_back({opcode, index, opt});
    return 0;
}

// The edit requests the host heard (begin, automate, end), oldest first.
inline std::vector<HostRequest> EditRequests()
{
    std::vector<HostRequest> edits;
    for (const HostRequest& r : HostRecord())
        if (r.opcode == vst2::kHostBeginEdit || r.opcode == vst2::kHostEndEdit ||
            r.opcode == vst2::kHostAutomate)
            edits.push_back(r);
    return edits;
}

// Begin and end requests each parameter heard: every begin matched by one end.
inline bool EditsBalanced()
{
    int open[kNumParams] = {};
    for (const HostRequest& r : HostRecord()) {
        if (r.opcode == vst2::kHostBeginEdit && ++open[r.index] > 1)
            return false;
        if (r.opcode == vst2::kHostEndEdit && --open[r.index] < 0)
            return false;
    }
    for (int n : open)
        if (n != 0)
            return false;
    return true;
}

struct PanelHarness {
    PanelHarness() : plug(std::make_unique<VSTCLASS>(RecordingHost, MakeHeadlessView))
    {
        plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
        plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 48000.0f);
        view = static_cast<HeadlessEditorView*>(plug->Editor());
        view->openWindow(nullptr);
        HostRecord().clear();
    }

    IControl& At(int index) { return *view->control(index); }
    double Value(int param) { return plug->GetParam(param)->Value(); }
    // Centre of a control's area.
    int Cx(int index) { return (At(index).drawArea().L + At(index).drawArea().R) / 2; }
    int Cy(int index) { return (At(index).drawArea().T + At(index).drawArea().B) / 2; }
    // One repaint tick of the window; the repainted area.
    IArea Tick()
    {
        IArea area;
        if (view->collectDirty(area))
            view->paint(area);
        view->tickEndEditCountdown();
        return area;
    }

    std::unique_ptr<VSTCLASS> plug;
    HeadlessEditorView* view = nullptr;
};

// Panel indices of the layout.
enum PanelIndex : int {
    kPanelBackground = 0,
    kPanelLfo1Indicator = 1,
    kPanelLfo2Indicator = 2,
    kPanelBandLabel = 3,
    kPanelWebLink = 4,
    kPanelBaseFreq = 5,
    kPanelIsoRate = 6,
    kPanelWave = 7,
    kPanelGoldenIso = 8,
    kPanelPlayAnyway = 10,
    kPanelFade = 11,
    kPanelLfo1Sync = 15,
    kPanelLfo1Target = 16,
    kPanelLfo1RateSynced = 20,
    kPanelLfo1RateMs = 21,
    kPanelLfo2Sync = 22,
    kPanelLfo2Target = 23,
    kPanelRestart = 29,
};

inline constexpr MouseState kLeft{true, false, false, false, false};
inline constexpr MouseState kRight{false, true, false, false, false};
inline constexpr MouseState kShiftLeft{true, false, true, false, false};
inline constexpr MouseState kNoButton{};
