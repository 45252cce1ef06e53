#include "tests/fuzz/fuzz_panel.h"

#include "editor/drop_down.h"
#include "editor/icontrol.h"

#include <algorithm>

namespace fuzz {

PanelInstance::PanelInstance(vst2::HostCallback host)
    : plug(std::make_unique<VSTCLASS>(host, MakeHeadlessView))
{
    plug->Dispatch(vst2::kOpOpen, 0, 0, nullptr, 0.0f);
    plug->Dispatch(vst2::kOpSetSampleRate, 0, 0, nullptr, 48000.0f);
    plug->Dispatch(vst2::kOpSetBlockSize, 0, 256, nullptr, 0.0f);
    plug->Dispatch(vst2::kOpProcessingOnOff, 0, 1, nullptr, 0.0f);
    view = static_cast<HeadlessEditorView*>(plug->Editor());
    if (!view || !view->openWindow(nullptr))
        Fail("the panel does not open");
    bank.Take(*plug);
    engine = *plug;
    for (int i = 0; i < view->controlCount(); ++i) {
        const IControl& c = *view->control(i);
        controls.push_back({c.getValue(), c.isHidden(), c.isGreyed()});
    }
}

void PanelInstance::Restore()
{
    view->endGesture();
    plug->FlushPendingParamEdit();
    for (int i = 0; i < view->controlCount(); ++i)
        if (auto* list = dynamic_cast<IDropDown*>(view->control(i)))
            list->closePane();
    view->promptedControl = nullptr;
    view->promptedParam = nullptr;
    view->openedPage.clear();
    // Straight into the bank: a program change would first store the live
    // values the input left in the current slot.
    if (!bank.Restore(*plug))
        Fail("the panel's bank cannot be restored");
    EngineState started = engine;
    std::copy(std::begin(plug->lfoDisplay), std::end(plug->lfoDisplay), std::begin(started.lfoDisplay));
    started.isoDisplay = plug->isoDisplay;
    static_cast<EngineState&>(*plug) = started;
    RestoreControls();
}

void PanelInstance::RestoreControls()
{
    for (int i = 0; i < view->controlCount(); ++i) {
        IControl& c = *view->control(i);
        if (static_cast<std::size_t>(i) >= controls.size()) {
            c.setHidden(true); // a drop-down's list, made since
            continue;
        }
        const ControlState& s = controls[static_cast<std::size_t>(i)];
        c.valueFromPlugin(s.value);
        if (c.isHidden() != s.hidden)
            c.setHidden(s.hidden);
        if (c.isGreyed() != s.greyed)
            c.setGreyed(s.greyed);
    }
}

} // namespace fuzz
