// Pie: an elliptic arc counter-clockwise from the start point's direction to
// the end point's, closed through the centre; the brush fills it (winding
// rule) and the pen outlines it, pen last.
//
// Outline index j (mod 4n, t = j mod n, n the quadrant table's size) runs
// counter-clockwise from 3 o'clock through the four quadrants:
//   0 upper right  (cxR + qx[t],       cyT - qy[t])
//   1 upper left   (cxL - qx[n-1-t],   cyT - qy[n-1-t])
//   2 lower left   (cxL - qx[t],       cyB + qy[t])
//   3 lower right  (cxR + qx[n-1-t],   cyB + qy[n-1-t])
// A given point becomes the index of the first outline point at or past its
// direction seen from the apex (cxR, cyB); only the direction matters.
#include <algorithm>
#include <vector>

#include "platform/gdi/brush_spans.h"
#include "platform/gdi/canvas.h"
#include "platform/gdi/dash_counter.h"
#include "platform/gdi/ellipse_table.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pie_outline.h"
#include "platform/gdi/polygon_fill.h"
#include "platform/gdi/stroke.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

OutlineArea outline_area(const DeviceContext& dc, const Canvas& canvas) {
    const std::int64_t margin = pen_reach(dc);
    const Pen* pen = dc.pen;
    const bool dashed = pen && !pen->is_null() && pen->is_geometric() && pen->is_user_style() &&
                        !DashCounter::has_no_gaps(pen->description().dashes);
    return {canvas.left - margin, canvas.top - margin, canvas.right + margin, canvas.bottom + margin, dashed};
}

namespace {
struct ListWhole {
    bool whole = false;
};
}  // namespace

void list_outlines_whole(bool whole) { threads::thread_object<ListWhole>().whole = whole; }

PieOutline::PieOutline(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                       const OutlineArea* area) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    std::int64_t w = right - left, h = bottom - top;
    if (w == 0 || h == 0 || w > kMaxOutlineSide || h > kMaxOutlineSide) return;
    cx_right_ = left + w / 2;
    cx_left_ = right - 1 - w / 2;
    cy_top_ = bottom - 1 - h / 2;
    cy_bottom_ = top + h / 2;
    // Listed whole up to a few times the area it can reach: the pieces near
    // it are then most of the outline anyway.
    const bool near_only = area && !area->every_step && !threads::thread_object<ListWhole>().whole;
    const bool large = w > kMaxTableSide || h > kMaxTableSide ||
                       (near_only && (w > 4 * (area->right - area->left) + 1024 || h > 4 * (area->bottom - area->top) + 1024));
    if (large) {
        if (area) area_ = *area;
        path_.emplace(w, h);
        n_ = path_->size();
        return;
    }
    // Charts draw many pies of one size: the last table is kept per thread.
    struct LastTable {
        std::vector<TableEntry> entries;
        std::int64_t w = 0, h = 0;
    };
    LastTable& cached = threads::thread_object<LastTable>();
    if (w != cached.w || h != cached.h) {
        build_quadrant_table(w, h, cached.entries);
        cached.w = w, cached.h = h;
    }
    table_ = &cached.entries;
    n_ = std::int64_t(table_->size());
}

std::int64_t PieOutline::index_of(DevicePoint point) const {
    const __int128 vx = point.x - cx_right_, vy = cy_bottom_ - point.y;
    // Along a quarter the direction turns one way: the first entry that
    // qualifies is found by bisection.
    auto first = [&](auto&& qualifies) {
        std::int64_t lo = 0, hi = n_;
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            if (qualifies(entry(mid)))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    if (vx >= 0 && vy >= 0) return first([&](const TableEntry& q) { return q.x * vy <= q.y * vx; });
    if (vx < 0 && vy >= 0) return 2 * n_ - first([&](const TableEntry& q) { return q.x * vy < q.y * -vx; });
    if (vx < 0) return 2 * n_ + first([&](const TableEntry& q) { return q.x * -vy < q.y * -vx; });
    return 4 * n_ - first([&](const TableEntry& q) { return q.x * -vy <= q.y * vx; });
}

// Indices first .. past-1 (past - first at most 4n), quarter by quarter.
void PieOutline::indices(std::int64_t first, std::int64_t past, std::vector<DevicePoint>& vertices) const {
    vertices.clear();
    if (!path_) vertices.reserve(std::size_t(past - first + 1));
    for (std::int64_t k = first; k < past;) {
        const int quarter = int(k / n_ % 4);
        const std::int64_t t = k % n_, until = std::min(n_, t + (past - k));
        if (path_) {
            quarter_near(quarter, t, until, vertices);
        } else {
            for (std::int64_t u = t; u < until; ++u) vertices.push_back(in_quarter(quarter, u));
        }
        k += until - t;
    }
}

// Steps [first, past) of one quarter. Its points move monotonically in x
// and in y, so the four lines of the area's edges cut it into at most five
// stretches, each within one cell of the grid they make: the one inside is
// listed whole, any other by its two ends (a straight segment between two
// points beyond an edge stays beyond it).
void PieOutline::quarter_near(int quarter, std::int64_t first, std::int64_t past,
                              std::vector<DevicePoint>& vertices) const {
    const bool reversed = quarter == 1 || quarter == 3;
    const std::int64_t sx = quarter == 0 || quarter == 3 ? 1 : -1, sy = quarter >= 2 ? 1 : -1;
    const std::int64_t cx = sx > 0 ? cx_right_ : cx_left_, cy = sy > 0 ? cy_bottom_ : cy_top_;
    // The area in table coordinates (x = sx (device x - cx), y = sy (device y - cy)).
    const std::int64_t x0 = sx * (area_.left - cx), x1 = sx * (area_.right - 1 - cx);
    const std::int64_t y0 = sy * (area_.top - cy), y1 = sy * (area_.bottom - 1 - cy);
    const std::int64_t x_lo = std::min(x0, x1), x_hi = std::max(x0, x1);
    const std::int64_t y_lo = std::min(y0, y1), y_hi = std::max(y0, y1);
    const QuadrantPath& path = *path_;
    const std::int64_t in_x = path.first_with_x_at_most(x_hi), out_x = path.first_with_x_at_most(x_lo - 1);
    const std::int64_t in_y = path.first_with_y_at_least(y_lo), out_y = path.first_with_y_at_least(y_hi + 1);
    const std::int64_t inside_first = std::max(in_x, in_y), inside_past = std::min(out_x, out_y);
    std::int64_t cuts[6] = {0, in_x, out_x, in_y, out_y, n_};
    std::sort(cuts, cuts + 6);
    // Stretches in the quarter's own order: t for quarters 0 and 2, n-1-t for 1 and 3.
    auto stretch = [&](std::int64_t from, std::int64_t to) {  // table steps [from, to)
        const bool inside = from >= inside_first && to <= inside_past;
        std::int64_t lo = reversed ? n_ - to : from, hi = reversed ? n_ - from : to;
        lo = std::max(lo, first), hi = std::min(hi, past);
        if (lo >= hi) return;
        if (inside) {
            for (std::int64_t u = lo; u < hi; ++u) vertices.push_back(in_quarter(quarter, u));
            return;
        }
        vertices.push_back(in_quarter(quarter, lo));
        if (hi - 1 > lo) vertices.push_back(in_quarter(quarter, hi - 1));
    };
    if (reversed) {
        for (int c = 5; c > 0; --c) stretch(cuts[c - 1], cuts[c]);
    } else {
        for (int c = 0; c < 5; ++c) stretch(cuts[c], cuts[c + 1]);
    }
}

void PieOutline::arc(DevicePoint start, DevicePoint end, std::vector<DevicePoint>& vertices) const {
    vertices.clear();
    if (n_ == 0) return;
    std::int64_t s = index_of(start), e = index_of(end);
    if (e <= s) e += 4 * n_;
    indices(s, e, vertices);
}

void PieOutline::figure(DevicePoint start, DevicePoint end, std::vector<DevicePoint>& vertices) const {
    arc(start, end, vertices);
    if (n_ != 0) vertices.push_back(apex());
}

void PieOutline::closed_outline(std::vector<DevicePoint>& vertices) const {
    vertices.clear();
    if (n_ == 0) return;
    indices(0, 4 * n_, vertices);
    vertices.erase(std::unique(vertices.begin(), vertices.end()), vertices.end());
}

void pie(DeviceContext* dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end) {
    if (!dc) return;
    Canvas canvas = canvas_of(dc);
    if (canvas.empty()) return;
    DevicePoint a = to_device(dc, left, top), b = to_device(dc, right, bottom);
    if (!box_in_reach(*dc, canvas, a, b)) return;
    const OutlineArea area = outline_area(*dc, canvas);
    PieOutline outline(a.x, a.y, b.x, b.y, &area);
    struct Vertices : std::vector<DevicePoint> {};
    Vertices& vertices = threads::thread_object<Vertices>();
    outline.figure(to_device(dc, x_start, y_start), to_device(dc, x_end, y_end), vertices);
    if (vertices.empty()) return;
    if (dc->brush) {
        BrushSpans spans(*dc->brush, *dc);
        if (!spans.paints_nothing())
            scan_polygon(canvas, vertices.data(), vertices.size(), FillRule::winding,
                         [&](std::int64_t y, std::int64_t x0, std::int64_t x1) { spans.paint(canvas.row(y), y, x0, x1); });
    }
    stroke_path(*dc, canvas, vertices.data(), vertices.size(), true);
}

}  // namespace klv::gdi
