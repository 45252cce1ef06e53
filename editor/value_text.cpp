#include "editor/value_text.h"

#include "core/iparameter.h"
#include "editor/editor_view.h"
#include "editor/icontrol.h"

#include <cstdio>

bool PrintValueText(IEditorView& view, const IControl& control, ITextStyle& style, const IArea& area,
                    bool withLabel)
{
    const IParameter* param = control.parameter();
    if (!param || style.size == 0)
        return true;
    char display[kParamTextSize] = {};
    param->GetDisplay(param->Value(), false, display, sizeof display);
    if (!display[0])
        return true;
    char text[2 * kParamTextSize] = {};
    std::snprintf(text, sizeof text, "%s%s", display, withLabel ? param->GetLabel() : "");
    style.align = 1;
    return view.printText(style, text, area);
}
