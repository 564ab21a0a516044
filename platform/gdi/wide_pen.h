// Geometric pens two pixels wide or more: every segment is a polygon (a
// rectangle for axis-aligned segments), square caps extend open ends, bevel
// joins fill the corner between consecutive segments, and the union is
// painted in the pen colour (alternate rule for every piece).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "platform/gdi/canvas.h"
#include "platform/gdi/objects.h"

namespace klv::gdi {

// One end of a segment's polygon: the pair of points a join connects.
struct Face {
    DevicePoint a, b;
};

struct SegmentPiece {
    std::array<DevicePoint, 4> corners;
    Face start, end;
};

// A segment and the direction its polygon is built for (a piece of a dash
// keeps the direction of the segment it was cut from).
struct WideSegment {
    DevicePoint from, to, direction;
};

// The polygon of one segment of the given width, with square caps at the
// ends asked for.
SegmentPiece segment_piece(DevicePoint p1, DevicePoint p2, DevicePoint direction, std::int64_t width,
                           bool cap_start, bool cap_end);
void paint_piece(const Canvas& canvas, Pixel color, const SegmentPiece& piece);
// The bevel between a segment and the next.
void paint_bevel(const Canvas& canvas, Pixel color, const SegmentPiece& from, const SegmentPiece& to);
// A solid wide polyline: caps on the open ends (none when closed), bevels
// between consecutive segments, zero-length segments skipped.
// Consecutive segments as one figure; a piece may have zero length (a dash
// that starts or ends at a vertex), its direction still set.
void paint_wide_segments(const Canvas& canvas, Pixel color, std::int64_t width, bool square_caps,
                         const std::vector<WideSegment>& segments, bool closed);
void paint_wide_polyline(const Canvas& canvas, Pixel color, std::int64_t width, bool square_caps,
                         const DevicePoint* points, std::size_t count, bool closed);

void stroke_wide_path(const Canvas& canvas, Pixel color, const PenDescription& pen, bool dashed,
                      const DevicePoint* points, std::size_t count, bool closed);

}  // namespace klv::gdi
