#pragma once

#include "tools/artwork/cairo_handles.h"

namespace artwork {

// The two-position switch: frames off and on side by side, each 27 x 16: a
// slide toggle, dark with the thumb left, amber with the thumb right.
Surface DrawSwitchStrip();

} // namespace artwork
