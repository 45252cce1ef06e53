// This platform's editor view: the Win32 window half.

#include "editor/platform_view.h"

#include "editor/window_win32.h"

std::unique_ptr<IEditorView> MakePlatformView(IPlugBase* plug, int width, int height, int frameRate,
                                              void* module)
{
    return std::make_unique<IEditorViewWin>(plug, width, height, frameRate, module);
}
