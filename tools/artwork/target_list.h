#pragma once

#include "tools/artwork/cairo_handles.h"

#include <string_view>

namespace artwork {

// The LFO targets in the order of the target parameter's values.
std::string_view TargetName(int index);

// The closed face of an LFO target list: 6 frames of 80 x 14 stacked, frame
// i naming target i in a small display with a drop-down mark.
Surface DrawTargetFaces();

// The open pane, 90 x 109 and opaque: the six targets as rows.
Surface DrawTargetPane();

} // namespace artwork
