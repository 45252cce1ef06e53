// This platform's editor view: the X11 window inside the host's window.

#include "editor/platform_view.h"

#include "editor/window_x11.h"

std::unique_ptr<IEditorView> MakePlatformView(IPlugBase* plug, int width, int height, int frameRate,
                                              void* module)
{
    return MakeX11View(plug, width, height, frameRate, module);
}
