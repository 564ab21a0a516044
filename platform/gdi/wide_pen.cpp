#include "platform/gdi/wide_pen.h"

#include <cmath>
#include <vector>

#include "platform/gdi/dash_counter.h"
#include "platform/gdi/polygon_fill.h"
#include "platform/gdi/wide_dashes.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

namespace {

std::int64_t round_half_up(double v) { return std::int64_t(std::floor(v + 0.5)); }

// One polygon of the pen (alternate rule). Every piece is painted in the
// same colour, so a polygon that covers the whole canvas ends the work, and
// one that no edge brings near the canvas is passed over: the cost stays
// bounded by the page whatever the pen's width and the outline's length.
void paint_pen_polygon(const Canvas& canvas, Pixel color, const DevicePoint* points, std::size_t count) {
    if (canvas.all_painted && *canvas.all_painted) return;
    switch (polygon_reach(canvas, points, count, FillRule::alternate)) {
        case Reach::none: return;
        case Reach::all:
            for (std::int64_t y = canvas.top; y < canvas.bottom; ++y) canvas.pen_run(y, canvas.left, canvas.right, color);
            if (canvas.all_painted) *canvas.all_painted = true;
            return;
        case Reach::some:
            scan_polygon(canvas, points, count, FillRule::alternate,
                         [&](std::int64_t y, std::int64_t x0, std::int64_t x1) { canvas.pen_run(y, x0, x1, color); });
            return;
    }
}

using Quad = std::array<DevicePoint, 4>;

// The quadrilateral E0, F1, E1, F0 between a segment's end and the next
// one's start: the outer corner is cut off.
Quad bevel_quad(const SegmentPiece& from, const SegmentPiece& to) {
    return {from.end.a, to.start.b, from.end.b, to.start.a};
}

// Every polygon of an outline. One that covers the whole canvas is looked
// for first, among those that hold its middle pixel (a cheap test), so
// that the others need not be scanned at all.
void paint_pen_polygons(const Canvas& canvas, Pixel color, const std::vector<Quad>& quads) {
    if (canvas.all_painted && *canvas.all_painted) return;
    const std::int64_t mx = canvas.left + (canvas.right - canvas.left) / 2, my = canvas.top + (canvas.bottom - canvas.top) / 2;
    for (const Quad& quad : quads) {
        if (pixel_inside(quad.data(), 4, FillRule::alternate, mx, my) &&
            polygon_reach(canvas, quad.data(), 4, FillRule::alternate) == Reach::all) {
            paint_pen_polygon(canvas, color, quad.data(), 4);
            return;
        }
    }
    struct Reaches : std::vector<Reach> {};
    Reaches& reaches = threads::thread_object<Reaches>();
    reaches.clear();
    for (const Quad& quad : quads) {
        reaches.push_back(polygon_reach(canvas, quad.data(), 4, FillRule::alternate));
        if (reaches.back() == Reach::all) {
            paint_pen_polygon(canvas, color, quad.data(), 4);
            return;
        }
    }
    for (std::size_t i = 0; i < quads.size(); ++i)
        if (reaches[i] == Reach::some)
            scan_polygon(canvas, quads[i].data(), 4, FillRule::alternate,
                         [&](std::int64_t y, std::int64_t x0, std::int64_t x1) { canvas.pen_run(y, x0, x1, color); });
}

// Axis-aligned: a rectangle (l, t, r, b exclusive) and its faces.
SegmentPiece axis_piece(DevicePoint p1, DevicePoint p2, DevicePoint dir, std::int64_t w, bool cap_start,
                        bool cap_end) {
    const std::int64_t h = w / 2;
    SegmentPiece s;
    std::int64_t l, t, r, b;
    if (dir.y == 0) {
        bool forward = dir.x > 0;
        l = std::min(p1.x, p2.x) - ((forward ? cap_start : cap_end) ? h : 0);
        r = std::max(p1.x, p2.x) + ((forward ? cap_end : cap_start) ? h : 0);
        t = p1.y - h;
        b = t + w;
        if (forward)
            s.start = {{l, b}, {l, t}}, s.end = {{r - 1, t}, {r - 1, b}};
        else
            s.start = {{r, t}, {r, b}}, s.end = {{l + 1, b}, {l + 1, t}};
    } else {
        bool forward = dir.y > 0;
        t = std::min(p1.y, p2.y) - ((forward ? cap_start : cap_end) ? h : 0);
        b = std::max(p1.y, p2.y) + ((forward ? cap_end : cap_start) ? h : 0);
        l = p1.x - h;
        r = l + w;
        if (forward)
            s.start = {{l, t}, {r, t}}, s.end = {{r, b - 1}, {l, b - 1}};
        else
            s.start = {{r, b}, {l, b}}, s.end = {{l, t + 1}, {r, t + 1}};
    }
    s.corners = {DevicePoint{l, t}, {r, t}, {r, b}, {l, b}};
    return s;
}

SegmentPiece sloped_piece(DevicePoint p1, DevicePoint p2, DevicePoint dir, std::int64_t w, bool cap_start,
                          bool cap_end) {
    const double dx = double(dir.x), dy = double(dir.y);
    const double length = std::sqrt(dx * dx + dy * dy);
    const double wx = double(w) * std::fabs(dy) / length, wy = double(w) * std::fabs(dx) / length;
    DevicePoint n{round_half_up(wx / 2), round_half_up(wy / 2)};
    DevicePoint g{round_half_up((wx + 1) / 2), round_half_up((wy + 1) / 2)};
    if (dx < 0) n.y = -n.y, g.y = -g.y;
    if (dy < 0) {
        std::swap(n, g);
        n.x = -n.x, g.x = -g.x;
    }
    DevicePoint a{p1.x - n.x, p1.y + n.y}, b{p1.x + g.x, p1.y - g.y};
    DevicePoint c{p2.x + g.x, p2.y - g.y}, d{p2.x - n.x, p2.y + n.y};
    if (cap_start) a = {a.x - n.y, a.y - n.x}, b = {b.x - n.y, b.y - n.x};
    if (cap_end) c = {c.x + g.y, c.y + g.x}, d = {d.x + g.y, d.y + g.x};
    SegmentPiece s;
    s.corners = {a, b, c, d};
    s.start = {a, b};
    s.end = {c, d};
    return s;
}

}  // namespace

SegmentPiece segment_piece(DevicePoint p1, DevicePoint p2, DevicePoint dir, std::int64_t width, bool cap_start,
                           bool cap_end) {
    if (dir.x == 0 || dir.y == 0) return axis_piece(p1, p2, dir, width, cap_start, cap_end);
    return sloped_piece(p1, p2, dir, width, cap_start, cap_end);
}

void paint_piece(const Canvas& canvas, Pixel color, const SegmentPiece& piece) {
    paint_pen_polygon(canvas, color, piece.corners.data(), 4);
}

void paint_bevel(const Canvas& canvas, Pixel color, const SegmentPiece& from, const SegmentPiece& to) {
    const Quad quad = bevel_quad(from, to);
    paint_pen_polygon(canvas, color, quad.data(), 4);
}

void paint_wide_segments(const Canvas& canvas, Pixel color, std::int64_t width, bool square_caps,
                         const std::vector<WideSegment>& segments, bool closed) {
    if (segments.empty()) return;
    // A piece, and the bevels at its ends, lie within two widths of its
    // segment: those of segments far from the canvas paint nothing and are
    // not even made, so a long outline costs little where it is off the page.
    struct Near : std::vector<bool> {};
    Near& near = threads::thread_object<Near>();
    near.assign(segments.size(), false);
    const double reach = 2 * double(width) + 4;
    for (std::size_t i = 0; i < segments.size(); ++i) near[i] = segment_near(canvas, segments[i].from, segments[i].to, reach);
    struct Pieces : std::vector<SegmentPiece> {};
    Pieces& pieces = threads::thread_object<Pieces>();
    pieces.resize(segments.size());
    const std::size_t n = segments.size();
    auto wanted = [&](std::size_t i) {
        const bool wraps = closed && n > 1;
        return near[i] || (i > 0 && near[i - 1]) || (i + 1 < n && near[i + 1]) ||
               (wraps && i == 0 && near[n - 1]) || (wraps && i + 1 == n && near[0]);
    };
    for (std::size_t i = 0; i < n; ++i) {
        if (!wanted(i)) continue;
        const WideSegment& g = segments[i];
        bool cap_start = square_caps && !closed && i == 0;
        bool cap_end = square_caps && !closed && i + 1 == n;
        pieces[i] = segment_piece(g.from, g.to, g.direction, width, cap_start, cap_end);
    }
    struct Quads : std::vector<Quad> {};
    Quads& quads = threads::thread_object<Quads>();
    quads.clear();
    for (std::size_t i = 0; i < n; ++i)
        if (near[i]) quads.push_back(pieces[i].corners);
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (near[i] || near[i + 1]) quads.push_back(bevel_quad(pieces[i], pieces[i + 1]));
    if (closed && n > 1 && (near[n - 1] || near[0])) quads.push_back(bevel_quad(pieces.back(), pieces.front()));
    paint_pen_polygons(canvas, color, quads);
}

void paint_wide_polyline(const Canvas& canvas, Pixel color, std::int64_t width, bool square_caps,
                         const DevicePoint* points, std::size_t count, bool closed) {
    std::size_t first = 0, last = count;  // drop repeated points at both ends
    while (last - first > 2 && points[first] == points[first + 1]) ++first;
    while (last - first > 2 && points[last - 1] == points[last - 2]) --last;
    struct Segments : std::vector<WideSegment> {};
    Segments& segments = threads::thread_object<Segments>();
    segments.clear();
    // Steps in the same direction one after another (the runs of an
    // ellipse's outline) make one segment: their pieces together are its
    // piece, and the bevel between two of them is empty.
    auto add = [&](DevicePoint a, DevicePoint b) {
        if (a == b) return;
        const DevicePoint d{b.x - a.x, b.y - a.y};
        if (!segments.empty() && segments.back().direction == d && segments.back().to == a)
            segments.back().to = b;
        else
            segments.push_back({a, b, d});
    };
    for (std::size_t i = first; i + 1 < last; ++i) add(points[i], points[i + 1]);
    if (closed && last - first > 1) add(points[last - 1], points[first]);
    paint_wide_segments(canvas, color, width, square_caps, segments, closed);
}

void stroke_wide_path(const Canvas& canvas, Pixel color, const PenDescription& pen, bool dashed,
                      const DevicePoint* points, std::size_t count, bool closed) {
    // Flat caps leave the ends as they are; round caps are drawn square.
    bool square_caps = (pen.style & PS_ENDCAP_MASK) != PS_ENDCAP_FLAT;
    // A very wide pen whose gaps are all shorter than its caps reach covers
    // every gap: it is drawn solid. This keeps the work bounded by the page
    // (otherwise every dash within a pen width of the page would be drawn)
    // at the cost of exactness at the figure's ends, for pens wider than
    // any the library makes.
    constexpr int kExactDashWidth = 64;
    if (dashed && pen.width > kExactDashWidth && DashCounter::longest_gap(pen.dashes) <= std::uint64_t(pen.width / 2) * 2)
        dashed = false;
    Canvas pen_canvas = canvas;
    bool all_painted = false;
    pen_canvas.all_painted = &all_painted;
    if (dashed)
        paint_wide_dashes(pen_canvas, color, pen, square_caps, points, count, closed);
    else
        paint_wide_polyline(pen_canvas, color, pen.width, square_caps, points, count, closed);
}

}  // namespace klv::gdi
