// The editor target keeps one plug-in with its panel and restores it between
// inputs. A restored panel must be indistinguishable from a new one in all
// its controls show and keep, in the host's state and in what it paints and
// renders next.

#include "editor/drop_down.h"
#include "editor/icontrol.h"
#include "raster/raster_bitmap.h"
#include "tests/fuzz/fuzz_panel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::intptr_t SilentHost(vst2::EffectDescriptor*, std::int32_t, std::int32_t, std::intptr_t, void*, float)
{
    return 0;
}

struct ObservedPanel {
    std::vector<std::string> controls; // value bits, hidden, greyed, open
    int captured = 0;
    int countdown = 0;
    bool prompting = false;
    std::vector<std::uint8_t> bank;
    std::vector<std::uint32_t> pixels;
    std::vector<double> rendered;

    bool operator==(const ObservedPanel&) const = default;
};

std::string ControlState(const IControl& c)
{
    const double value = c.getValue();
    std::string s(reinterpret_cast<const char*>(&value), sizeof value);
    const auto* list = dynamic_cast<const IDropDown*>(&c);
    return s + (c.isHidden() ? 'h' : '-') + (c.isGreyed() ? 'g' : '-') + (list && list->isOpen() ? 'o' : '-');
}

// A repaint tick, every pixel of the canvas, then a block rendered and a
// second tick (the indicators follow the engine).
void PaintAndRender(fuzz::PanelInstance& panel, ObservedPanel& seen)
{
    HeadlessEditorView& view = panel.View();
    for (int tick = 0; tick < 2; ++tick) {
        IArea area;
        if (view.collectDirty(area))
            view.paint(area);
        const RasterBitmap& canvas = *view.canvas();
        for (int y = 0; y < canvas.Height(); ++y)
            seen.pixels.insert(seen.pixels.end(), canvas.At(0, y), canvas.At(0, y) + canvas.Width());
        if (tick == 1)
            break;
        std::vector<double> left(300, 0.1), right(300, -0.1), outL(300), outR(300);
        double* in[2] = {left.data(), right.data()};
        double* out[2] = {outL.data(), outR.data()};
        panel.Plug().ProcessDouble(in, out, 300);
        seen.rendered.insert(seen.rendered.end(), outL.begin(), outL.end());
        seen.rendered.insert(seen.rendered.end(), outR.begin(), outR.end());
    }
}

ObservedPanel Observe(fuzz::PanelInstance& panel, int controlCount)
{
    ObservedPanel seen;
    HeadlessEditorView& view = panel.View();
    for (int i = 0; i < view.controlCount(); ++i) {
        const IControl& c = *view.control(i);
        if (i < controlCount)
            seen.controls.push_back(ControlState(c));
        else if (!c.isHidden())
            seen.controls.push_back("a list made since is shown");
    }
    seen.captured = view.capturedControl();
    seen.countdown = view.endEditCountdown();
    seen.prompting = view.promptedControl != nullptr;
    void* data = nullptr;
    const auto size = panel.Plug().Dispatch(vst2::kOpGetChunk, 0, 0, &data, 0.0f);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    seen.bank.assign(bytes, bytes + size);
    PaintAndRender(panel, seen);
    return seen;
}

// What an input may leave behind: every control pressed, dragged and released
// (buttons toggled, knobs turned, drop-down lists opened), a value typed, a
// wheel edit still pending, a prompt waiting, a gesture left open, blocks
// rendered and ticks painted.
void Disturb(fuzz::PanelInstance& panel)
{
    HeadlessEditorView& view = panel.View();
    const MouseState left{true, false, false, false, false};
    const MouseState right{false, true, false, false, false};
    const int count = view.controlCount();
    for (int i = 1; i < count; ++i) {
        const IArea& a = view.control(i)->targetArea();
        const int x = (a.L + a.R) / 2, y = (a.T + a.B) / 2;
        view.pressAt(x, y, left);
        view.dragTo(x + 7, y - 23, left);
        view.releaseAt(x + 7, y - 23, left);
        if (view.promptedControl && view.promptedParam)
            view.commitTypedValue(view.promptedControl, view.promptedParam, "3");
        IArea area;
        if (view.collectDirty(area))
            view.paint(area);
    }
    const IArea& knob = view.control(count / 2)->targetArea();
    view.wheelAt((knob.L + knob.R) / 2, (knob.T + knob.B) / 2, left, 3);
    view.pressAt((knob.L + knob.R) / 2, (knob.T + knob.B) / 2, right);
    view.pressAt((knob.L + knob.R) / 2, (knob.T + knob.B) / 2, left);
    double buffer[2][500] = {};
    double* io[2] = {buffer[0], buffer[1]};
    panel.Plug().ProcessDouble(io, io, 500);
}

TEST(FuzzPanelRestore, ARestoredPanelIsIndistinguishableFromANewOne)
{
    fuzz::PanelInstance fresh(SilentHost);
    const int controlCount = fresh.View().controlCount();
    const ObservedPanel expected = Observe(fresh, controlCount);

    fuzz::PanelInstance used(SilentHost);
    for (int round = 0; round < 2; ++round) {
        Disturb(used);
        // Guards the comparison against a disturbance that changes nothing.
        if (round == 0) {
            const ObservedPanel disturbed = Observe(used, controlCount);
            EXPECT_NE(disturbed.controls, expected.controls);
            EXPECT_NE(disturbed.bank, expected.bank);
            EXPECT_NE(disturbed.pixels, expected.pixels);
        }
        used.Restore();
        const ObservedPanel restored = Observe(used, controlCount);
        EXPECT_EQ(restored.controls, expected.controls);
        EXPECT_EQ(restored.captured, expected.captured);
        EXPECT_EQ(restored.countdown, expected.countdown);
        EXPECT_EQ(restored.prompting, expected.prompting);
        EXPECT_TRUE(restored.bank == expected.bank) << "bank chunks differ";
        EXPECT_TRUE(restored.pixels == expected.pixels) << "panel pixels differ";
        EXPECT_TRUE(restored.rendered == expected.rendered) << "rendered samples differ";
        used.Restore();
    }
}

} // namespace
