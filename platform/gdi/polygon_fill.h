// Polygon scan conversion. For each non-horizontal edge, with (x0, y0) its
// upper end and (x1, y1) its lower end, the edge is active on rows
// y0 <= y < y1 and crosses row y at X(y) = ceil(x0 + (y - y0)(x1 - x0)/(y1 - y0)),
// the exact rational ceiling. Pixel x of row y is inside when the edges with
// X <= x have a non-zero winding sum (winding rule) or are odd in number
// (alternate rule). So centres on a left edge are in and on a right edge
// out; the top row is in and the bottom row out.
//
// Only rows of the drawable area are scanned: the cost is bounded by the
// edges plus the rows that land on the canvas, whatever the coordinates.
#pragma once

#include <cstddef>
#include <functional>

#include "platform/gdi/canvas.h"

namespace klv::gdi {

enum class FillRule { alternate, winding };

// Calls span(y, x0, x1) for each inside run [x0, x1) of each visible row,
// cut to the canvas. The polygon is closed from the last point to the first.
void scan_polygon(const Canvas& canvas, const DevicePoint* points, std::size_t count, FillRule rule,
                  const std::function<void(std::int64_t y, std::int64_t x0, std::int64_t x1)>& span);

// Whether the segment a-b may come within margin pixels of the canvas:
// false only when it surely does not (in doubles: keep the margin well
// above their rounding, a pixel or more).
bool segment_near(const Canvas& canvas, DevicePoint a, DevicePoint b, double margin);

// Whether scan_polygon would paint pixel (px, py) on a canvas holding it.
bool pixel_inside(const DevicePoint* points, std::size_t count, FillRule rule, std::int64_t px, std::int64_t py);

// What a polygon paints of the canvas: when no edge comes near it, either
// every drawable pixel or none (the same pixels scan_polygon would paint,
// found with one pixel's test); otherwise some, unknown without scanning.
enum class Reach { none, some, all };
Reach polygon_reach(const Canvas& canvas, const DevicePoint* points, std::size_t count, FillRule rule);

}  // namespace klv::gdi
