// This platform's editor view. There is no editor window here yet, so the
// plug-in is built without an editor and the host offers no panel it cannot
// open. The window, once it exists, is made here.

#include "editor/platform_view.h"

#include "editor/editor_view.h"

std::unique_ptr<IEditorView> MakePlatformView(IPlugBase*, int, int, int, void*)
{
    return nullptr;
}
