// The editor panel's event handling, driven as its window drives it: presses,
// drags, releases, double clicks, wheel notches and keys at any position with
// any buttons and modifiers, typed values for the control that asked for one,
// and repaint ticks. Every parameter must stay a finite position in 0 .. 1,
// every edit the host was told had begun must end once the gesture is over,
// and the engine must keep rendering finite samples.
//
// The panel is built once (its artwork is decoded then) and kept; each input
// begins with it restored to its started state (fuzz_panel.h). With
// TESSAPHON_FUZZ_FRESH set every input gets a new panel.
//
// Input: per event a kind byte, two 16-bit coordinates, a modifier byte and an
// operand (wheel notches, key code or a typed text).

#include "editor/editor_view.h"
#include "editor/headless_view.h"
#include "editor/icontrol.h"
#include "plugin/vstclass.h"
#include "tests/fuzz/fuzz_panel.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

// Begin-edit requests the host heard minus the end-edit requests, per parameter.
int openEdits[kNumParams];
bool editOutOfRange = false;

std::intptr_t EditCountingHost(vst2::EffectDescriptor*, std::int32_t opcode, std::int32_t index,
                               std::intptr_t, void*, float)
{
    const bool edit = opcode == vst2::kHostBeginEdit || opcode == vst2::kHostEndEdit;
    if (edit && (index < 0 || index >= kNumParams)) {
        editOutOfRange = true;
        return 0;
    }
    if (opcode == vst2::kHostBeginEdit)
        ++openEdits[index];
    else if (opcode == vst2::kHostEndEdit)
        --openEdits[index];
    return 0;
}

fuzz::PanelInstance& PanelForThisInput()
{
    static std::unique_ptr<fuzz::PanelInstance> panel;
    if (!panel || fuzz::EveryInputFresh()) {
        panel.reset();
        panel = std::make_unique<fuzz::PanelInstance>(EditCountingHost);
    } else {
        panel->Restore();
    }
    std::fill(std::begin(openEdits), std::end(openEdits), 0);
    editOutOfRange = false;
    return *panel;
}

void Event(fuzz::PanelInstance& panel, fuzz::Bytes& in)
{
    HeadlessEditorView& view = panel.View();
    const std::uint8_t kind = in.U8();
    // Mostly on the panel, sometimes anywhere.
    const int x =
        static_cast<int>(static_cast<std::int16_t>(in.U16())) % (kind & 0x80 ? 32768 : view.Width() + 8);
    const int y =
        static_cast<int>(static_cast<std::int16_t>(in.U16())) % (kind & 0x80 ? 32768 : view.Height() + 8);
    const std::uint8_t keys = in.U8();
    const MouseState mouse{(keys & 1) != 0, (keys & 2) != 0, (keys & 4) != 0, (keys & 8) != 0,
                           (keys & 16) != 0};
    switch (kind % 8) {
    case 0:
        view.pressAt(x, y, mouse);
        break;
    case 1:
        view.dragTo(x, y, mouse);
        break;
    case 2:
        view.releaseAt(x, y, mouse);
        break;
    case 3:
        view.doubleClickAt(x, y, mouse);
        break;
    case 4:
        view.wheelAt(x, y, mouse, static_cast<std::int8_t>(in.U8()));
        break;
    case 5:
        view.keyAt(x, y, in.U8() % 48 - 2);
        break;
    case 6: { // the pop-up editor confirms a typed value for the control that asked
        const std::string text = in.Text(64);
        if (view.promptedControl && view.promptedParam)
            view.commitTypedValue(view.promptedControl, view.promptedParam, text.c_str());
        view.promptedControl = nullptr;
        view.promptedParam = nullptr;
        break;
    }
    default: { // a repaint tick
        IArea area;
        if (view.collectDirty(area))
            view.paint(area);
        view.tickEndEditCountdown();
        break;
    }
    }
}

void CheckAfterGesture(fuzz::PanelInstance& panel)
{
    panel.View().endGesture();
    panel.Plug().FlushPendingParamEdit();
    if (editOutOfRange)
        fuzz::Fail("an edit was reported for a parameter that does not exist");
    for (int n : openEdits)
        if (n != 0)
            fuzz::Fail("begin and end edit requests do not pair up");
    for (int i = 0; i < kNumParams; ++i) {
        const double v = panel.Plug().GetParam(i)->ReadNormalized();
        if (!(v >= 0.0 && v <= 1.0))
            fuzz::Fail("a parameter left 0 .. 1 through the panel");
    }
    double left[64] = {};
    double right[64] = {};
    double* in[2] = {left, right};
    double silentLeft[64] = {};
    double silentRight[64] = {};
    double* out[2] = {silentLeft, silentRight};
    panel.Plug().ProcessDouble(in, out, 64);
    for (int i = 0; i < 64; ++i)
        if (!std::isfinite(silentLeft[i]) || !std::isfinite(silentRight[i]))
            fuzz::Fail("an output sample is not finite");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Bytes in(data, size);
    fuzz::PanelInstance& panel = PanelForThisInput();
    for (int event = 0; event < 48 && !in.Empty(); ++event)
        Event(panel, in);
    CheckAfterGesture(panel);
    return 0;
}
