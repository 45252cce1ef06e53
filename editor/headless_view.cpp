#include "editor/headless_view.h"

#include "core/iplug_base.h"
#include "raster/png_image.h"
#include "raster/raster_bitmap.h"

HeadlessEditorView::HeadlessEditorView(IPlugBase* owner, int viewWidth, int viewHeight, int ticksPerSecond,
                                       void* resourceModule)
    : IEditorView(owner, viewWidth, viewHeight, ticksPerSecond), module(resourceModule)
{
}

HeadlessEditorView::~HeadlessEditorView()
{
    closeWindow();
}

bool HeadlessEditorView::presentArea(const IArea& area)
{
    ++presentCount;
    lastPresented = area;
    return true;
}

void HeadlessEditorView::promptParameterValue(IControl* control, IParameter* param)
{
    if (!control || !param || promptedControl)
        return;
    promptedControl = control;
    promptedParam = param;
}

bool HeadlessEditorView::openWebPage(const char* address, const char*, const char*, const char*)
{
    if (address)
        openedPage = address;
    return webPagesOpen;
}

bool HeadlessEditorView::wheelFromHost(float)
{
    return false; // no pointer, so never over the window
}

void* HeadlessEditorView::openWindow(void*)
{
    windowOpen = true;
    markAllDirty();
    return windowHandle();
}

void HeadlessEditorView::closeWindow()
{
    if (!windowOpen)
        return;
    endGesture();
    if (endEditCountdown() > 0)
        plugin()->FlushPendingParamEdit();
    windowOpen = false;
    promptedControl = nullptr;
    promptedParam = nullptr;
}

void* HeadlessEditorView::windowHandle() const
{
    return windowOpen ? const_cast<HeadlessEditorView*>(this) : nullptr;
}

std::unique_ptr<RasterBitmap> HeadlessEditorView::loadResourceImage(int resourceId)
{
    return DecodePngResource(module, resourceId);
}

std::unique_ptr<IEditorView> MakeHeadlessView(IPlugBase* plug, int width, int height, int frameRate,
                                              void* module)
{
    return std::make_unique<HeadlessEditorView>(plug, width, height, frameRate, module);
}
