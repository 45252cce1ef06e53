// Mouse gestures on the panel as the host sees them: begin-edit, automation
// and end-edit in order, capture, wheel gestures, and the hostile sequences a
// window can deliver.

#include "panel_harness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

using vst2::kHostAutomate;
using vst2::kHostBeginEdit;
using vst2::kHostEndEdit;

TEST(EditorGesture, PressDragReleaseOnAKnobBeginsAutomatesAndEnds)
{
    PanelHarness h;
    const double before = h.At(kPanelBaseFreq).getValue();
    h.view->pressAt(49, 140, kLeft);
    h.view->dragTo(49, 130, kLeft);      // 10 pixels up over a 78-pixel area, gearing 4
    h.view->dragTo(49, 130, kLeft);      // same position: no step
    h.view->dragTo(49, 120, kShiftLeft); // finer: a tenth of the step
    h.view->releaseAt(49, 120, kLeft);

    const double first = before + 10.0 / (78.0 * 4.0);
    const double second = first + 10.0 / (78.0 * 40.0);
    EXPECT_DOUBLE_EQ(h.At(kPanelBaseFreq).getValue(), second);
    const std::vector<HostRequest> expected{{kHostBeginEdit, kBaseFreq, 0.0f},
                                            {kHostAutomate, kBaseFreq, static_cast<float>(first)},
                                            {kHostAutomate, kBaseFreq, static_cast<float>(second)},
                                            {kHostEndEdit, kBaseFreq, 0.0f}};
    EXPECT_EQ(EditRequests(), expected);
    EXPECT_NEAR(h.plug->GetParam(kBaseFreq)->ReadNormalized(), second, 1e-4);
}

TEST(EditorGesture, CaptureKeepsTheGestureOnThePressedControl)
{
    PanelHarness h;
    h.view->pressAt(49, 140, kLeft);
    h.view->dragTo(300, 340, kLeft); // far off the knob, over other controls
    EXPECT_EQ(h.view->controlAt(300, 340), kPanelBaseFreq);
    h.view->releaseAt(500, 10, kLeft);
    EXPECT_EQ(h.view->capturedControl(), -1);
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), 0.0); // clamped at the bottom
    EXPECT_EQ(h.Value(kBaseFreq), 20.0);
    EXPECT_EQ(EditRequests().back(), (HostRequest{kHostEndEdit, kBaseFreq, 0.0f}));
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorGesture, StrayEventsSendNothingAndGesturesStayBalanced)
{
    PanelHarness h;
    h.view->releaseAt(49, 140, kLeft);   // release without a press
    h.view->dragTo(49, 100, kLeft);      // drag without capture
    h.view->pressAt(-40, 100000, kLeft); // outside the view
    h.view->pressAt(5, 5, kLeft);        // bare background: unbound
    h.view->dragTo(60, 60, kLeft);
    h.view->releaseAt(60, 60, kLeft);
    h.view->pressAt(h.Cx(kPanelBandLabel), h.Cy(kPanelBandLabel),
                    kLeft); // read-outs take clicks, change nothing
    h.view->releaseAt(h.Cx(kPanelBandLabel), h.Cy(kPanelBandLabel), kLeft);
    h.view->keyAt(49, 140, kKeySpace);
    EXPECT_TRUE(HostRecord().empty());

    // A press whose release got lost: the next press ends the first edit.
    h.view->pressAt(49, 140, kLeft);
    h.view->pressAt(125, 140, kLeft);
    h.view->releaseAt(125, 140, kLeft);
    h.view->releaseAt(125, 140, kLeft);
    const std::vector<HostRequest> expected{{kHostBeginEdit, kBaseFreq, 0.0f},
                                            {kHostEndEdit, kBaseFreq, 0.0f},
                                            {kHostBeginEdit, kIsoRate, 0.0f},
                                            {kHostEndEdit, kIsoRate, 0.0f}};
    EXPECT_EQ(EditRequests(), expected);

    // A window closing in the middle of a press ends its edit.
    h.view->pressAt(49, 140, kLeft);
    h.view->closeWindow();
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorGesture, WheelNotchesMakeOneGestureEndedLate)
{
    PanelHarness h;
    const int x = h.Cx(kPanelFade), y = h.Cy(kPanelFade);
    const double before = h.At(kPanelFade).getValue();
    for (int i = 0; i < 3; ++i)
        h.view->wheelAt(x, y, kNoButton, 1);
    EXPECT_NEAR(h.At(kPanelFade).getValue(), before + 0.03, 1e-12);
    EXPECT_EQ(h.view->endEditCountdown(), 12); // half a second of 24 ticks
    for (int i = 0; i < 11; ++i)
        h.Tick();
    EXPECT_EQ(EditRequests().back().opcode, kHostAutomate);
    h.Tick();
    auto edits = EditRequests();
    EXPECT_EQ(edits.front(), (HostRequest{kHostBeginEdit, kFade, 0.0f}));
    EXPECT_EQ(edits.back(), (HostRequest{kHostEndEdit, kFade, 0.0f}));
    EXPECT_EQ(edits.size(), 5u);

    // Turning a second knob first ends the open gesture of the first.
    HostRecord().clear();
    h.view->wheelAt(x, y, kShiftLeft, -1); // a finer step
    h.view->wheelAt(400, 140, kNoButton, 1);
    edits = EditRequests();
    ASSERT_EQ(edits.size(), 5u);
    EXPECT_EQ(edits[2], (HostRequest{kHostEndEdit, kFade, 0.0f}));
    EXPECT_EQ(edits[3], (HostRequest{kHostBeginEdit, kRound, 0.0f}));
    EXPECT_NEAR(h.At(kPanelFade).getValue(), before + 0.029, 1e-12);
    h.view->closeWindow(); // the pending end is not lost
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorGesture, WheelDeltasOfAnySizeKeepTheValueInRange)
{
    PanelHarness h;
    for (int delta : {INT_MAX, INT_MIN, 0, 7, -100000}) {
        h.view->wheelAt(49, 140, kNoButton, delta);
        const double v = h.At(kPanelBaseFreq).getValue();
        EXPECT_TRUE(v >= 0.0 && v <= 1.0) << delta;
    }
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), 0.0);
    h.view->closeWindow();
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorGesture, DoubleClickRestoresTheFirstValueTheHostSent)
{
    PanelHarness h;
    const double original = h.At(kPanelBaseFreq).getValue();
    h.view->pressAt(49, 140, kLeft);
    h.view->dragTo(49, 100, kLeft);
    h.view->releaseAt(49, 100, kLeft);
    ASSERT_NE(h.Value(kBaseFreq), 200.0);
    EXPECT_FALSE(h.view->doubleClickAt(49, 140, kLeft)); // knobs do not take it as a press
    h.view->releaseAt(49, 140, kLeft);
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), original);
    EXPECT_EQ(h.Value(kBaseFreq), 200.0);
    EXPECT_TRUE(EditsBalanced());
}

TEST(EditorGesture, ValuesReachingControlsStayWithinZeroToOne)
{
    PanelHarness h;
    h.plug->SetParameterValue(kBaseFreq, 7.0f);
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), 1.0);
    h.plug->SetParameterValue(kBaseFreq, -0.5f);
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), 0.0);
    h.view->UpdateControlsForParameter(kBaseFreq, std::nan(""), true);
    h.view->paramChangedFromUser(kBaseFreq, std::nan(""));
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), 0.0);

    HostRecord().clear();
    h.view->commitTypedValue(&h.At(kPanelBaseFreq), h.plug->GetParam(kBaseFreq), "50000");
    EXPECT_EQ(h.At(kPanelBaseFreq).getValue(), 1.0);
    EXPECT_EQ(h.Value(kBaseFreq), 20000.0);
    h.view->commitTypedValue(&h.At(kPanelWave), h.plug->GetParam(kWave), "Golden Sine");
    EXPECT_EQ(h.Value(kWave), 4.0);
    EXPECT_TRUE(EditsBalanced());
    EXPECT_EQ(EditRequests().size(), 6u);
}

} // namespace
