// The editor panel of 550 x 365 pixels: the background and 29 controls in
// their fixed order (later ones lie on top), bound to the plug-in's
// parameters, the engine's links to the read-outs, and the rate knobs that
// start hidden.

#include "editor/band_label.h"
#include "editor/buttons.h"
#include "editor/drop_down.h"
#include "editor/editor_view.h"
#include "editor/knobs.h"
#include "editor/lfo_indicator.h"
#include "editor/switch_lbl.h"
#include "editor/web_link.h"
#include "plugin/vstclass.h"
#include "vst2/module_handle.h"

#ifndef TESSAPHON_WEB_ADDRESS
#define TESSAPHON_WEB_ADDRESS ""
#endif
#ifndef TESSAPHON_WEB_FALLBACK
#define TESSAPHON_WEB_FALLBACK ""
#endif

namespace {

constexpr int kPanelWidth = 550;
constexpr int kPanelHeight = 365;

enum PanelImage : int {
    kBackground = 100,
    kLargeKnob = 101,
    kSmallKnob = 102,
    kWaveSelector = 103,
    kLfoWaveSelector = 104,
    kPlayButton = 105,
    kSwitchFaces = 106,
    kTargetFace = 107,
    kTargetList = 108,
    kSyncButton = 109,
    kRestartButton = 110,
};

// An "Arial" style of the panel: plain, upright, the system's quality.
ITextStyle PanelStyle(int size, const IRGBA& colour, int align)
{
    ITextStyle style;
    style.size = size;
    style.colour = colour;
    style.align = align;
    return style;
}

// The knobs' value texts (the knobs centre them when they draw).
ITextStyle ValueStyle()
{
    return PanelStyle(15, IRGBA{200, 255, 255, 255}, 0);
}

// The switches': size 0, so they draw no text.
ITextStyle SwitchStyle()
{
    return PanelStyle(0, IRGBA{0, 0, 0, 0}, 1);
}

// Builds the panel's controls; the plug-in's links to them come back.
class PanelBuilder {
public:
    PanelBuilder(IEditorView& panelView, VSTCLASS& owner) : view(panelView), plug(owner) {}

    void Build()
    {
        view.setBackdrop(kBackground, "img/bg.png");
        largeKnob = view.loadStrip(kLargeKnob, "../img/knob.png", 1);
        smallKnob = view.loadStrip(kSmallKnob, "../img/knob2.png", 1);

        AddReadOuts();
        AddToneSection();
        AddLfo(0, 0);
        AddLfo(1, 304);
        view.addControl(std::make_unique<IButtonHold>(&plug, kLfoRestart, 235, 323,
                                                      view.loadStrip(kRestartButton, "../img/btn2.png", 1)));
    }

private:
    void AddReadOuts()
    {
        auto lfo1 = std::make_unique<GRAPH>(&plug, IArea{22, 324, 223, 326}, GRAPH::kFirstLfo);
        auto lfo2 = std::make_unique<GRAPH>(&plug, IArea{326, 324, 527, 326}, GRAPH::kSecondLfo);
        auto band = std::make_unique<GRAPHPRM>(&plug, IArea{233, 298, 317, 313});
        plug.lfoDisplay[0] = lfo1.get();
        plug.lfoDisplay[1] = lfo2.get();
        plug.isoDisplay = band.get();
        view.addControl(std::move(lfo1));
        view.addControl(std::move(lfo2));
        view.addControl(std::move(band));
        view.addControl(std::make_unique<IWebLink>(&plug, IArea{178, 15, 370, 62}, TESSAPHON_WEB_ADDRESS,
                                                   TESSAPHON_WEB_FALLBACK, ""));
    }

    void AddToneSection()
    {
        AddRotKnob(kBaseFreq, 49, 130, largeKnob, 0);
        AddRotKnob(kIsoRate, 125, 130, largeKnob, 0);
        AddMultiKnob(kWave, 201, 130, view.loadStrip(kWaveSelector, "../img/wave.png", 8), 80);
        const IImageStrip switchFaces = view.loadStrip(kSwitchFaces, "../img/on.png", 2);
        view.addControl(std::make_unique<ISwitchLbl>(&plug, kGoldenIso, 261, 95, switchFaces, SwitchStyle()));
        view.addControl(
            std::make_unique<ISwitchLbl>(&plug, kIsoSwitch, 261, 131, switchFaces, SwitchStyle()));
        view.addControl(std::make_unique<IButton>(&plug, kPlayAnyway, 243, 154,
                                                  view.loadStrip(kPlayButton, "../img/btn.png", 1)));
        AddRotKnob(kFade, 347, 129, smallKnob, 60);
        AddRotKnob(kRound, 400, 129, smallKnob, 0);
        AddRotKnob(kPan, 453, 129, smallKnob, 0);
        AddRotKnob(kMix, 506, 129, smallKnob, 0);
    }

    // The controls of one LFO section; the second lies 304 pixels to the right.
    void AddLfo(int lfo, int dx)
    {
        const int first = lfo == 0 ? kLfo1Target : kLfo2Target;
        const int target = first;
        const int wave = first + 1;
        const int sync = first + 2;
        const int syncedRate = first + 3;
        const int freeRate = first + 4;
        const int depth = first + 5;
        const int start = first + 6;
        view.addControl(std::make_unique<IButtonClick>(&plug, sync, 183 + dx, 196,
                                                       view.loadStrip(kSyncButton, "../img/rate_sync.png", 1),
                                                       &plug.syncClicked));
        view.addControl(std::make_unique<IDropDown>(
            &plug, target, 84 + dx, 216, view.loadStrip(kTargetFace, "img/lfo_tg.png", 6),
            view.loadStrip(kTargetList, "img/lfo_tg_.png", 6), 1, kOpenBelowLeft));
        AddRotKnob(start, 45 + dx, 279, smallKnob, 0);
        AddMultiKnob(wave, 97 + dx, 279, view.loadStrip(kLfoWaveSelector, "../img/lfo_wave.png", 7), 60);
        AddRotKnob(depth, 149 + dx, 279, smallKnob, 0);
        AddRotKnob(syncedRate, 201 + dx, 279, smallKnob, 0);
        AddRotKnob(freeRate, 201 + dx, 279, smallKnob, 60);
        // The synced and the free rate knob share one spot; the synced one shows.
        view.hideBoundControls(freeRate, true);
    }

    void AddRotKnob(int param, int cx, int cy, const IImageStrip& cap, int areaWidth)
    {
        view.addControl(std::make_unique<IKnobRotVal>(&plug, param, cx, cy, cap, ValueStyle(), 5, 300.0, 4.0,
                                                      areaWidth, true, 1.0f, true));
    }

    void AddMultiKnob(int param, int cx, int cy, const IImageStrip& strip, int areaWidth)
    {
        view.addControl(std::make_unique<IKnobMulti>(&plug, param, cx, cy, strip, ValueStyle(), 5, 300.0, 4.0,
                                                     areaWidth, true));
    }

    IEditorView& view;
    VSTCLASS& plug;
    IImageStrip largeKnob;
    IImageStrip smallKnob;
};

} // namespace

void VSTCLASS::BuildPanel(EditorViewFactory makeView)
{
    std::unique_ptr<IEditorView> view =
        makeView ? makeView(this, kPanelWidth, kPanelHeight, 0, vst2::ModuleHandle()) : nullptr;
    if (!view)
        return;
    PanelBuilder(*view, *this).Build();
    AttachEditor(view.release());
}
