// Ellipse: the box in order, nothing when it is empty.
//
// Outline (three pixels across or more): a closed polygon from Pie's
// quadrant table: the upper right quarter from 3 o'clock up to 12, then its
// mirror across the vertical axis in reverse order, then the mirror of all
// that across the horizontal axis in reverse order (a point that an odd size
// would repeat on an axis is left out): Pie's whole turn without repeats.
// Drawn as a polygon's outline: joins at every vertex, no caps, one dash
// restart.
//
// Inside: one span per row, from the same recurrence run from the middle
// row outward (x counting the steps in from the sides); the rows above the
// middle copy their mirrors below. For tall narrow boxes (height at least
// 2 (width - 1)^2) the recurrence ends before the bottom rows; they are left
// unpainted, where the engine this follows reads memory it never wrote.
//
// Two pixels across or less: Rectangle, the brush inside (left .. right-2,
// top .. bottom-2) and the pen round (right-1, top) (left, top)
// (left, bottom-1) (right-1, bottom-1).
#include <algorithm>
#include <vector>

#include "platform/gdi/brush_spans.h"
#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pie_outline.h"
#include "platform/gdi/stroke.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

namespace {

// Boxes two pixels across or less: any length along the other side.
void small_box(const DeviceContext& dc, const Canvas& canvas, std::int64_t l, std::int64_t t, std::int64_t r,
               std::int64_t b) {
    if (dc.brush) {
        BrushSpans spans(*dc.brush, dc);
        const std::int64_t first = std::max(t, canvas.top), past = std::min(b - 1, canvas.bottom);
        for (std::int64_t y = first; y < past && !spans.paints_nothing(); ++y) spans.paint_clipped(canvas, y, l, r - 1);
    }
    const DevicePoint outline[4] = {{r - 1, t}, {l, t}, {l, b - 1}, {r - 1, b - 1}};
    stroke_path(dc, canvas, outline, 4, true);
}

// Spans [first, past) of each row of the box, top row first; rows the
// recurrence does not reach stay empty.
void inside_rows(std::int64_t l, std::int64_t w, std::int64_t h,
                 std::vector<std::pair<std::int64_t, std::int64_t>>& rows) {
    rows.assign(std::size_t(h), {0, 0});
    using Wide = __int128;
    const Wide a = w - 1, b = h - 1, p = b % 2;
    Wide gx = 4 * b * b * (1 - a), gy = 4 * a * a * (1 + p), e = gx + gy + a * a * p;
    std::int64_t x = 0, y = h / 2;
    rows[std::size_t(y)] = {l, l + w};
    for (std::int64_t steps = 0; x <= w / 2 && steps <= w + h; ++steps) {
        const Wide s = 2 * e;
        const bool step_x = s >= gx, step_y = s <= gy;
        if (step_x) {
            ++x;
            gx += 8 * b * b;
            e += gx;
        }
        if (step_y) {
            ++y;
            gy += 8 * a * a;
            e += gy;
            if (y < h) rows[std::size_t(y)] = {l + x, l + w - x};
        }
        if (!step_x && !step_y) break;
    }
    for (std::int64_t i = 0; i < h / 2; ++i) rows[std::size_t(i)] = rows[std::size_t(h - 1 - i)];
}

// The brush inside the box, one span per row; nothing is worked out when the
// brush paints nothing (a hollow brush: an outline only).
// A box too large to walk: each visible row's span from the first entry of
// the quadrant table on its row (the recurrence the rows above follow).
void paint_inside_large(const QuadrantPath& path, BrushSpans& spans, const Canvas& canvas, std::int64_t l,
                        std::int64_t t, std::int64_t w, std::int64_t h) {
    const std::int64_t first = std::max(t, canvas.top), past = std::min(t + h, canvas.bottom);
    const std::int64_t last_column = (w - 1) - w / 2;
    for (std::int64_t y = first; y < past; ++y) {
        const std::int64_t row = std::max(y - t, h - 1 - (y - t)) - h / 2;
        const std::int64_t at = path.first_with_y_at_least(row);
        if (at == path.size()) continue;
        const TableEntry e = path.entry(at);
        if (e.y != row) continue;
        const std::int64_t x = row == 0 ? 0 : last_column - e.x;
        spans.paint_clipped(canvas, y, l + x, l + w - x);
    }
}

void paint_inside(const DeviceContext& dc, const Canvas& canvas, const PieOutline& outline, std::int64_t l,
                  std::int64_t t, std::int64_t w, std::int64_t h) {
    if (!dc.brush) return;
    BrushSpans spans(*dc.brush, dc);
    if (spans.paints_nothing()) return;
    if (outline.sparse()) {
        paint_inside_large(*outline.path(), spans, canvas, l, t, w, h);
        return;
    }
    struct Rows : std::vector<std::pair<std::int64_t, std::int64_t>> {};
    Rows& rows = threads::thread_object<Rows>();
    inside_rows(l, w, h, rows);
    const std::int64_t first = std::max(t, canvas.top), past = std::min(t + h, canvas.bottom);
    for (std::int64_t y = first; y < past; ++y) {
        const auto& span = rows[std::size_t(y - t)];
        spans.paint_clipped(canvas, y, span.first, span.second);
    }
}

}  // namespace

void ellipse(DeviceContext* dc, int left, int top, int right, int bottom) {
    if (!dc) return;
    Canvas canvas = canvas_of(dc);
    if (canvas.empty()) return;
    DevicePoint a = to_device(dc, left, top), b = to_device(dc, right, bottom);
    const std::int64_t l = std::min(a.x, b.x), r = std::max(a.x, b.x);
    const std::int64_t t = std::min(a.y, b.y), bo = std::max(a.y, b.y);
    const std::int64_t w = r - l, h = bo - t;
    if (w == 0 || h == 0 || !box_in_reach(*dc, canvas, a, b)) return;
    if (w <= 2 || h <= 2) {
        small_box(*dc, canvas, l, t, r, bo);
        return;
    }
    const OutlineArea area = outline_area(*dc, canvas);
    PieOutline outline(l, t, r, bo, &area);
    if (outline.quadrant_size() == 0) return;  // larger than any outline we draw
    paint_inside(*dc, canvas, outline, l, t, w, h);
    struct Points : std::vector<DevicePoint> {};
    Points& points = threads::thread_object<Points>();
    outline.closed_outline(points);
    stroke_path(*dc, canvas, points.data(), points.size(), true);
}

}  // namespace klv::gdi
