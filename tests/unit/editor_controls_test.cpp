// The panel's controls: switch, buttons, drop-down cycle, hit order with
// hidden and greyed controls, the LFO indicators and the band label.

#include "editor/band_label.h"
#include "editor/drop_down.h"
#include "editor/knobs.h"
#include "editor/lfo_indicator.h"
#include "panel_harness.h"
#include "raster/raster_bitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(EditorControls, SwitchStepsAndWrapsRightClickPrompts)
{
    PanelHarness h;
    const int x = h.Cx(kPanelGoldenIso), y = h.Cy(kPanelGoldenIso);
    h.view->pressAt(x, y, kLeft);
    h.view->releaseAt(x, y, kLeft);
    EXPECT_EQ(h.Value(kGoldenIso), 1.0);
    h.view->pressAt(x, y, kLeft);
    h.view->releaseAt(x, y, kLeft);
    EXPECT_EQ(h.Value(kGoldenIso), 0.0);
    h.view->pressAt(x, y, kRight);
    h.view->releaseAt(x, y, kRight);
    EXPECT_EQ(h.Value(kGoldenIso), 0.0);
    EXPECT_EQ(h.view->promptedControl, &h.At(kPanelGoldenIso));
    EXPECT_EQ(h.view->promptedParam, h.plug->GetParam(kGoldenIso));
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorControls, KnobTurnsThroughItsRotationRange)
{
    PanelHarness h;
    const auto& knob = static_cast<const IKnobRotVal&>(h.At(kPanelBaseFreq));
    const double halfTurn = static_cast<double>(static_cast<float>(300.0 * std::numbers::pi / 360.0));
    EXPECT_EQ(knob.angleFor(0.0), -halfTurn); // -150 degrees
    EXPECT_EQ(knob.angleFor(0.5), 0.0);
    EXPECT_EQ(knob.angleFor(1.0), halfTurn);
    EXPECT_NEAR(halfTurn * 180.0 / std::numbers::pi, 150.0, 1e-5);
}

TEST(EditorControls, ButtonsToggleRaiseTheSyncFlagOrHold)
{
    PanelHarness h;
    h.view->pressAt(h.Cx(kPanelPlayAnyway), h.Cy(kPanelPlayAnyway), kLeft);
    h.view->releaseAt(h.Cx(kPanelPlayAnyway), h.Cy(kPanelPlayAnyway), kLeft);
    EXPECT_EQ(h.Value(kPlayAnyway), 1.0);

    // Both SYNC buttons raise the engine's flag, so turning sync off (once the
    // engine runs) carries the rate over to the millisecond knob, which only a
    // click does, never host automation.
    float silence[64] = {}, left[64], right[64];
    float* in[2] = {silence, silence};
    float* out[2] = {left, right};
    h.plug->ProcessFloat(in, out, 64, IPlugVST::ProcessMode::Replace);
    HostRecord().clear();
    for (int button : {kPanelLfo1Sync, kPanelLfo2Sync}) {
        h.view->pressAt(h.Cx(button), h.Cy(button), kLeft);
        h.view->releaseAt(h.Cx(button), h.Cy(button), kLeft);
        EXPECT_FALSE(h.plug->syncClicked); // consumed by the parameter change
    }
    EXPECT_EQ(h.Value(kLfo1Sync), 0.0);
    EXPECT_EQ(h.Value(kLfo2Sync), 0.0);
    int carried = 0;
    for (const HostRequest& r : EditRequests())
        carried += r.opcode == vst2::kHostAutomate && (r.index == kLfo1RateMs || r.index == kLfo2RateMs);
    EXPECT_EQ(carried, 2);
    EXPECT_TRUE(EditsBalanced());

    HostRecord().clear();
    const int x = h.Cx(kPanelRestart), y = h.Cy(kPanelRestart);
    h.view->pressAt(x, y, kLeft);
    EXPECT_EQ(h.Value(kLfoRestart), 1.0);
    h.view->releaseAt(x, y, kLeft);
    EXPECT_EQ(h.Value(kLfoRestart), 0.0);
    const std::vector<HostRequest> expected{{vst2::kHostBeginEdit, kLfoRestart, 0.0f},
                                            {vst2::kHostAutomate, kLfoRestart, 1.0f},
                                            {vst2::kHostAutomate, kLfoRestart, 0.0f},
                                            {vst2::kHostEndEdit, kLfoRestart, 0.0f}};
    EXPECT_EQ(EditRequests(), expected);
}

TEST(EditorControls, DropDownOpensSelectsOnNextPaintAndReusesItsPane)
{
    PanelHarness h;
    auto& dropDown = static_cast<IDropDown&>(h.At(kPanelLfo1Target));
    const int count = h.view->controlCount();
    h.view->pressAt(100, 222, kLeft);
    h.view->releaseAt(100, 222, kLeft);
    ASSERT_NE(dropDown.pane(), nullptr);
    EXPECT_EQ(h.view->controlCount(), count + 1);
    EXPECT_EQ(dropDown.pane()->drawArea(), (IArea{84, 230, 174, 339}));
    EXPECT_EQ(h.view->control(count), dropDown.pane());

    // 40 pixels below the pane's top: entry 2 of 6.
    h.view->pressAt(100, 270, kLeft);
    h.view->releaseAt(100, 270, kLeft);
    EXPECT_EQ(dropDown.getValue(), static_cast<double>(2.0f / 5.0f));
    EXPECT_EQ(h.Value(kLfo1Target), 0.0); // not yet: the next paint sends it
    h.Tick();
    EXPECT_EQ(h.Value(kLfo1Target), 2.0);
    EXPECT_TRUE(dropDown.pane()->isHidden());
    EXPECT_FALSE(dropDown.isOpen());

    // Reopened: the same pane. A click on the drop-down closes it unchanged.
    h.view->pressAt(100, 222, kLeft);
    h.view->releaseAt(100, 222, kLeft);
    EXPECT_FALSE(dropDown.pane()->isHidden());
    EXPECT_EQ(h.view->controlCount(), count + 1);
    h.view->pressAt(100, 222, kLeft);
    h.view->releaseAt(100, 222, kLeft);
    EXPECT_TRUE(dropDown.pane()->isHidden());
    EXPECT_EQ(h.Value(kLfo1Target), 2.0);

    // The last entry can be chosen too.
    h.view->pressAt(100, 222, kLeft);
    h.view->pressAt(100, 335, kLeft);
    h.Tick();
    EXPECT_EQ(h.Value(kLfo1Target), 5.0);
    EXPECT_EQ(static_cast<IDropDown&>(h.At(kPanelLfo2Target)).pane(), nullptr);
    h.view->closeWindow();
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorControls, HiddenAndGreyedControlsAreTransparentToClicks)
{
    PanelHarness h;
    // The millisecond rate knob covers the synced one only while it shows.
    EXPECT_EQ(h.view->controlAt(201, 279), kPanelLfo1RateSynced);
    h.plug->SetParameterValue(kLfo1Sync, 0.0f);
    EXPECT_EQ(h.view->controlAt(201, 279), kPanelLfo1RateMs);
    EXPECT_TRUE(h.At(kPanelLfo1RateSynced).isHidden());
    h.At(kPanelLfo1RateMs).setGreyed(true);
    EXPECT_EQ(h.view->controlAt(201, 279), kPanelBackground);
    EXPECT_EQ(h.At(kPanelLfo1RateMs).getBlend().weight, 0.25f);
}

// Pixels of row y from x0 to x1 (excluded) of the canvas.
std::vector<std::uint32_t> Row(const HeadlessEditorView& view, int y, int x0, int x1)
{
    std::vector<std::uint32_t> row;
    for (int x = x0; x < x1; ++x)
        row.push_back(*view.canvas()->At(x, y) & 0xFFFFFFu);
    return row;
}

TEST(EditorControls, IndicatorMarksTheLevelWithinTheRangeAndTheConflict)
{
    PanelHarness h;
    auto& lfo1 = static_cast<GRAPH&>(h.At(kPanelLfo1Indicator));
    auto& lfo2 = static_cast<GRAPH&>(h.At(kPanelLfo2Indicator));
    const IArea full{0, 0, 550, 365};
    h.view->paint(full);
    const auto bare = Row(*h.view, 324, 0, 550);

    lfo1.ShowRange(20.0f, 20000.0f);
    lfo1.ShowActive(true);
    lfo1.ShowLevel(20.0f);
    EXPECT_EQ(lfo1.markerOffset(), 0);
    lfo1.ShowLevel(20000.0f);
    EXPECT_EQ(lfo1.markerOffset(), 195);
    lfo2.ShowConflict(true);
    h.Tick(); // indicators repaint on every tick
    const auto marked = Row(*h.view, 324, 0, 550);
    for (int x = 0; x < 550; ++x) {
        const bool inMarker = (x >= 217 && x < 223) || (x >= 326 && x < 332);
        EXPECT_EQ(marked[static_cast<std::size_t>(x)] != bare[static_cast<std::size_t>(x)], inMarker) << x;
    }
    const std::uint32_t red = marked[330];
    EXPECT_GT((red >> 16) & 0xFF, (red >> 8) & 0xFF);

    // No marker for an empty range or a level that is not a number.
    lfo1.ShowRange(5.0f, 5.0f);
    EXPECT_EQ(lfo1.markerOffset(), -1);
    lfo1.ShowRange(0.0f, 1.0f);
    lfo1.ShowLevel(std::nanf(""));
    EXPECT_EQ(lfo1.markerOffset(), -1);
    lfo2.ShowConflict(false);
    h.Tick();
    EXPECT_EQ(Row(*h.view, 324, 0, 550), bare);
}

TEST(EditorControls, BandLabelNamesTheBandOfThePulseRate)
{
    const std::pair<float, const char*> bands[] = {{0.3f, "EPSILON"},  {0.5f, "DELTA"},   {3.9f, "DELTA"},
                                                   {4.0f, "THETA"},    {13.99f, "ALPHA"}, {14.0f, "BETA"},
                                                   {29.99f, "BETA"},   {30.0f, "GAMMA"},  {99.9f, "GAMMA"},
                                                   {100.0f, "LAMBDA"}, {0.0f, "DELTA"},   {-1.0f, "DELTA"}};
    for (const auto& [rate, word] : bands)
        EXPECT_STREQ(GRAPHPRM::BandFor(rate), word) << rate;

    // The engine feeds it: the pulse rate of the host's setting.
    PanelHarness h;
    h.plug->SetParameterValue(kIsoRate, static_cast<float>(h.plug->GetParam(kIsoRate)->NormalizeValue(40.0)));
    IArea area = h.At(kPanelBandLabel).drawArea();
    h.view->paint(area);
    const auto gamma = Row(*h.view, 306, area.L, area.R);
    h.plug->SetParameterValue(kIsoRate, static_cast<float>(h.plug->GetParam(kIsoRate)->NormalizeValue(2.0)));
    h.view->paint(area);
    EXPECT_NE(Row(*h.view, 306, area.L, area.R), gamma);
}

} // namespace
