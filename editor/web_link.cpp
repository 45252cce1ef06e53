#include "editor/web_link.h"

#include "editor/editor_view.h"

#include <cstring>

namespace {

void CopyBounded(char* dst, std::size_t size, const char* src)
{
    if (src)
        std::strncpy(dst, src, size - 1);
    dst[size - 1] = '\0';
}

} // namespace

IWebLink::IWebLink(IPlugBase* owner, const IArea& area, const char* address, const char* fallback,
                   const char* title)
    : IControl(owner, area, -1)
{
    CopyBounded(url, sizeof url, address);
    CopyBounded(fallbackUrl, sizeof fallbackUrl, fallback);
    CopyBounded(caption, sizeof caption, title);
}

void IWebLink::onPress(int, int, const MouseState&)
{
    if (!ownerView)
        return;
    bool opened = false;
    if (url[0])
        opened = ownerView->openWebPage(url, caption);
    if (!opened && fallbackUrl[0])
        ownerView->openWebPage(fallbackUrl, caption);
}

bool IWebLink::paint(IEditorView&)
{
    return true;
}
