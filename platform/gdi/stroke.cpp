#include "platform/gdi/stroke.h"

#include <algorithm>

#include "platform/gdi/dash_counter.h"
#include "platform/gdi/thin_dashes.h"
#include "platform/gdi/thin_line.h"
#include "platform/gdi/wide_pen.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

namespace {

template <typename Segment>
void each_segment(const DevicePoint* points, std::size_t count, bool closed, Segment&& segment) {
    for (std::size_t i = 0; i + 1 < count; ++i) segment(points[i], points[i + 1]);
    if (closed && count > 1) segment(points[count - 1], points[0]);
}

void stroke_with(const Pen& pen, const Canvas& canvas, const DevicePoint* points, std::size_t count, bool closed) {
    const PenDescription& d = pen.description();
    Pixel color = pixel_from_color(d.color);
    // A user style whose "off" entries are all empty ({16, 0}, the solid line
    // style) is drawn as a solid pen: walked literally, GDI's counter leaves a
    // one-pixel hole every period on sloped lines, which no caller of a solid
    // line wants. This is a deliberate choice.
    bool dashed = pen.is_geometric() && pen.is_user_style() && !DashCounter::has_no_gaps(d.dashes);
    // CreatePen pens wider than one pixel are GDI's round-capped wide pens;
    // they are drawn with the wide-pen rule (square caps, bevel joins).
    if (d.width >= 2) {
        stroke_wide_path(canvas, color, d, dashed, points, count, closed);
        return;
    }
    if (dashed) {
        DashCounter counter(d.dashes);
        each_segment(points, count, closed,
                     [&](DevicePoint a, DevicePoint b) { paint_dashed_thin_segment(canvas, color, a, b, counter); });
        return;
    }
    bool include_end = pen.is_geometric();  // width 0 or 1
    each_segment(points, count, closed,
                 [&](DevicePoint a, DevicePoint b) { paint_thin_line(canvas, color, a, b, include_end); });
}

}  // namespace

// Under R2_XORPEN the outline is one pixel set, each pixel flipped once: a
// single thin segment never covers a pixel twice and flips as it goes; any
// other outline is collected first.
void stroke_path(const DeviceContext& dc, const Canvas& canvas, const DevicePoint* points, std::size_t count,
                 bool closed) {
    const Pen* pen = dc.pen;
    if (!pen || pen->is_null() || count < 2 || canvas.empty()) return;
    if (dc.rop2 != R2_XORPEN) {
        stroke_with(*pen, canvas, points, count, closed);
        return;
    }
    Canvas flipping = canvas;
    if (pen->description().width < 2 && count == 2 && !closed) {
        flipping.pen_mode = PenMode::flip;
        stroke_with(*pen, flipping, points, count, closed);
        return;
    }
    struct Outline : PixelSet {};
    Outline& outline = threads::thread_object<Outline>();
    outline.start(canvas);
    flipping.pen_mode = PenMode::collect;
    flipping.pixel_set = &outline;
    stroke_with(*pen, flipping, points, count, closed);
    outline.flip(canvas, pixel_from_color(pen->description().color));
}

std::int64_t pen_reach(const DeviceContext& dc) {
    // A wide pen's pieces, caps and bevels lie within two widths of its path.
    const std::int64_t width = dc.pen ? std::max(dc.pen->description().width, 1) : 1;
    return 2 * width + 4;
}

bool box_in_reach(const DeviceContext& dc, const Canvas& canvas, DevicePoint a, DevicePoint b) {
    const std::int64_t reach = pen_reach(dc);
    return std::min(a.x, b.x) - reach < canvas.right && std::max(a.x, b.x) + reach >= canvas.left &&
           std::min(a.y, b.y) - reach < canvas.bottom && std::max(a.y, b.y) + reach >= canvas.top;
}

}  // namespace klv::gdi
