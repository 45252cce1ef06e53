#pragma once
// An invisible area that opens a web page when clicked: the address, or the
// fallback address when the first cannot be opened.

#include "editor/icontrol.h"

class IWebLink : public IControl {
public:
    IWebLink(IPlugBase* plug, const IArea& area, const char* url, const char* fallbackUrl,
             const char* caption);

    void onPress(int x, int y, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

private:
    char url[256] = {};
    char fallbackUrl[256] = {};
    char caption[1024] = {};
};
