#pragma once
// The value text knobs and switches print: the bound parameter's display of
// its current value, optionally followed by its unit label, centred in an
// area of the control.

#include "editor/editor_types.h"

class IControl;
class IEditorView;

// Prints the text in area with the control's own style copy (set to centred).
// Nothing is printed, and the result is true, for an unbound control, an
// empty display text or a style of size 0.
bool PrintValueText(IEditorView& view, const IControl& control, ITextStyle& style, const IArea& area,
                    bool withLabel);
