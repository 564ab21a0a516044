// Geometric pens two pixels wide or more: every segment is a polygon (a
// rectangle for axis-aligned segments), square caps extend open ends, bevel
// joins fill the corner between consecutive segments, and the union is
// painted in the pen colour (alternate rule for every piece).
#pragma once

#include <cstddef>

#include "platform/gdi/canvas.h"
#include "platform/gdi/objects.h"

namespace klv::gdi {

void stroke_wide_path(const Canvas& canvas, Pixel color, const PenDescription& pen, bool dashed,
                      const DevicePoint* points, std::size_t count, bool closed);

}  // namespace klv::gdi
