// The panel as a whole: what attaching it gives the host, its layout, missing
// images, the repaint cycle and the instance's teardown with a pending edit.

#include "editor/knobs.h"
#include "panel_harness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(EditorPanel, AttachedPanelGivesTheEditorFlagAndRectangle)
{
    PanelHarness h;
    EXPECT_EQ(h.plug->Descriptor()->flags, 0x1019);
    vst2::EditorRect* rect = nullptr;
    EXPECT_EQ(h.plug->Dispatch(vst2::kOpEditorGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 365);
    EXPECT_EQ(rect->right, 550);
    EXPECT_EQ(h.view->FrameRate(), 24);
    EXPECT_EQ(h.plug->Dispatch(vst2::kOpEditorOpen, 0, 0, nullptr, 0.0f), 1); // headless "window"
    EXPECT_EQ(h.plug->Dispatch(vst2::kOpEditorClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(EditorPanel, LayoutHasTheControlsInOrderWithTheirAreas)
{
    PanelHarness h;
    ASSERT_EQ(h.view->controlCount(), 30);
    const std::pair<int, IArea> areas[] = {
        {kPanelBackground, {0, 0, 550, 365}},     {kPanelLfo2Indicator, {326, 324, 527, 326}},
        {kPanelWebLink, {178, 15, 370, 62}},      {kPanelBaseFreq, {20, 101, 78, 179}},
        {kPanelWave, {161, 101, 241, 179}},       {kPanelGoldenIso, {261, 95, 288, 111}},
        {kPanelPlayAnyway, {243, 154, 311, 177}}, {kPanelFade, {317, 109, 377, 169}},
        {kPanelLfo1Sync, {183, 196, 231, 217}},   {kPanelLfo2Target, {388, 215, 468, 231}},
        {kPanelLfo1RateMs, {171, 259, 231, 319}}, {kPanelRestart, {235, 323, 315, 346}},
    };
    for (const auto& [index, area] : areas)
        EXPECT_EQ(h.At(index).drawArea(), area) << index;
    const int bound[] = {-1, -1, -1, -1, -1, 0,  1,  3,  5,  6,  7,  8,  2,  4,  9,
                         12, 10, 16, 11, 15, 13, 14, 19, 17, 23, 18, 22, 20, 21, 24};
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(h.At(i).paramIndex(), bound[i]) << i;
    // The free-rate knobs start hidden; everything else shows.
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(h.At(i).isHidden(), i == kPanelLfo1RateMs || i == 28) << i;
}

TEST(EditorPanel, MissingImageLeavesItsControlUndrawn)
{
    PanelHarness h;
    const IImageStrip missing = h.view->loadStrip(4242, "img/none.png", 3);
    EXPECT_EQ(missing.bitmap, nullptr);
    EXPECT_EQ(missing.frames, 3);
    ITextStyle style;
    const int index = h.view->addControl(std::make_unique<IKnobRotVal>(
        h.plug.get(), kMix, 40, 40, missing, style, 5, 300.0, 4.0, 0, true, 1.0f, true));
    EXPECT_EQ(h.At(index).drawArea().W(), 0); // a knob without its image has no width
    h.At(index).onDrag(40, 30, 0, -10, kLeft);
    EXPECT_FALSE(std::isnan(h.At(index).getValue()));
    EXPECT_TRUE(h.view->paint(IArea{0, 0, 550, 365}));
    // Strips of one image with different frame counts share the image.
    EXPECT_EQ(h.view->loadStrip(103, "a", 8).bitmap, h.view->loadStrip(103, "b", 1).bitmap);
}

TEST(EditorPanel, RepaintCyclePaintsChangedControlsTwiceThenOnlyTheIndicators)
{
    PanelHarness h;
    IArea first = h.Tick(); // the window just opened: everything
    EXPECT_EQ(first, (IArea{0, 0, 550, 365}));
    h.Tick();
    const IArea idle = h.Tick();
    EXPECT_EQ(idle, (IArea{22, 324, 527, 326})); // only the two indicators
    h.plug->SetParameterValue(kMix, 0.9f);
    const IArea mix = h.At(14).drawArea();
    EXPECT_EQ(h.Tick(), idle.Union(mix));
    EXPECT_EQ(h.Tick(), idle.Union(mix));
    EXPECT_EQ(h.Tick(), idle);
    EXPECT_EQ(h.view->lastPresented, idle);
    // An area that touches no control is still presented.
    EXPECT_TRUE(h.view->paint(IArea{600, 600, 610, 610}));
    EXPECT_EQ(h.view->lastPresented, (IArea{600, 600, 610, 610}));
}

TEST(EditorPanel, ClosingTheInstanceEndsAPendingWheelEditFirst)
{
    auto* plug = new VSTCLASS(RecordingHost, MakeHeadlessView);
    vst2::EffectDescriptor* effect = plug->Descriptor();
    effect->dispatcher(effect, vst2::kOpEditorOpen, 0, 0, nullptr, 0.0f);
    HostRecord().clear();
    static_cast<IEditorView*>(plug->Editor())->wheelAt(453, 140, kNoButton, 2);
    effect->dispatcher(effect, vst2::kOpClose, 0, 0, nullptr, 0.0f);
    ASSERT_FALSE(HostRecord().empty());
    EXPECT_EQ(HostRecord().back(), (HostRequest{vst2::kHostEndEdit, kPan, 0.0f}));
    EXPECT_TRUE(EditsBalanced());
}

} // namespace

TEST(EditorPanel, ChunksLoadedByTheHostReachTheControls)
{
    PanelHarness h;
    VSTCLASS& plug = *h.plug;
    // A bank whose current slot holds other values, then a program chunk.
    plug.Dispatch(vst2::kOpSetProgram, 0, 30, nullptr, 0.0f);
    std::vector<std::uint8_t> bank, program;
    for (bool isBank : {true, false}) {
        void* data = nullptr;
        const auto size = plug.Dispatch(vst2::kOpGetChunk, isBank ? 0 : 1, 0, &data, 0.0f);
        (isBank ? bank : program)
            .assign(static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
    }
    for (auto* chunk : {&bank, &program}) {
        plug.Dispatch(vst2::kOpSetProgram, 0, 58, nullptr, 0.0f);
        plug.SetParameterValue(kBaseFreq, 0.9f);
        ASSERT_EQ(plug.Dispatch(vst2::kOpSetChunk, chunk == &bank ? 0 : 1,
                                static_cast<std::intptr_t>(chunk->size()), chunk->data(), 0.0f),
                  1);
        for (int i = 0; i < h.view->controlCount(); ++i) {
            const IControl& c = h.At(i);
            if (c.paramIndex() >= 0) {
                EXPECT_EQ(c.getValue(), plug.GetParam(c.paramIndex())->ReadNormalized()) << "control " << i;
            }
        }
    }
}
