// Dashes of wide geometric pens. Lengths run along the figure (|dx| or |dy|
// on axis-aligned segments, the real length on sloped ones); the counter's
// entries are not scaled by the width. Each "on" entry becomes an open wide
// polyline with square caps and bevel joins, from the dash's start through
// the vertices it passes to where the entry ends, truncated toward the
// segment's start. In a closed figure the first dash waits and is joined
// to the last one when the outline ends while "on".
#pragma once

#include <cstddef>

#include "platform/gdi/canvas.h"
#include "platform/gdi/objects.h"

namespace klv::gdi {

void paint_wide_dashes(const Canvas& canvas, Pixel color, const PenDescription& pen, bool square_caps,
                       const DevicePoint* points, std::size_t count, bool closed);

}  // namespace klv::gdi
