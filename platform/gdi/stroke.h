// Drawing an outline (a Polyline, a LineTo, a Pie's closed outline) with the
// pen selected into a device context: picks the rule the pen follows.
//
//   cosmetic pen                    one pixel; sloped segments exclude the end point
//   geometric solid pen, width 1    one pixel; sloped segments include the end point
//   geometric user-style, width 1   one pixel, dashed
//   any pen, width >= 2             polygons: segments, square caps, bevel joins
//                                   (CreatePen's round caps and joins are drawn so too)
#pragma once

#include <cstddef>

#include "platform/gdi/canvas.h"

namespace klv::gdi {

// points are device coordinates; closed adds the segment from the last
// point back to the first (and, for wide pens, joins instead of caps).
void stroke_path(const DeviceContext& dc, const Canvas& canvas, const DevicePoint* points, std::size_t count,
                 bool closed);

// Whether a figure within the box from a to b (device pixels, corners in
// any order), its inside and its outline with dc's pen, can reach the
// canvas at all: a figure far off the page is not even built.
bool box_in_reach(const DeviceContext& dc, const Canvas& canvas, DevicePoint a, DevicePoint b);
// How far beyond the canvas dc's pen can still paint on it from its path.
std::int64_t pen_reach(const DeviceContext& dc);

}  // namespace klv::gdi
