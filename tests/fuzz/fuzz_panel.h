#pragma once
// The editor target's plug-in with its headless panel open, started once and
// brought back to its started state between inputs: building a new one would
// decode the panel's artwork again for every input.

#include "editor/headless_view.h"
#include "plugin/vstclass.h"
#include "tests/fuzz/fuzz_host.h"

#include <memory>
#include <vector>

namespace fuzz {

class PanelInstance {
public:
    // Open, 48 kHz, blocks of 256, processing on, the panel's window open.
    explicit PanelInstance(vst2::HostCallback host);
    PanelInstance(const PanelInstance&) = delete;
    PanelInstance& operator=(const PanelInstance&) = delete;

    VSTCLASS& Plug() const { return *plug; }
    HeadlessEditorView& View() const { return *view; }

    // Back to the started state: any gesture and pending edit ended, drop-down
    // lists closed, no prompt waiting, the bank, program, live values and the
    // engine as started, and every control's value and hidden and greyed
    // flags as started. The controls this changes are due for repainting; the
    // others are not repainted again, which would draw the very pixels the
    // canvas holds.
    void Restore();

private:
    struct ControlState {
        double value;
        bool hidden;
        bool greyed;
    };

    void RestoreControls();

    std::unique_ptr<VSTCLASS> plug;
    HeadlessEditorView* view = nullptr;
    BankSnapshot bank;
    EngineState engine;
    std::vector<ControlState> controls;
};

} // namespace fuzz
