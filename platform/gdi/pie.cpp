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
#include "platform/gdi/ellipse_table.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pie_outline.h"
#include "platform/gdi/polygon_fill.h"
#include "platform/gdi/stroke.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

PieOutline::PieOutline(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    std::int64_t w = right - left, h = bottom - top;
    if (w == 0 || h == 0 || w > kMaxPieSide || h > kMaxPieSide) return;
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
    cx_right_ = left + w / 2;
    cx_left_ = right - 1 - w / 2;
    cy_top_ = bottom - 1 - h / 2;
    cy_bottom_ = top + h / 2;
}

const std::vector<TableEntry>& PieOutline::table() const {
    static const std::vector<TableEntry> none;
    return table_ ? *table_ : none;
}

std::int64_t PieOutline::index_of(DevicePoint point) const {
    const __int128 vx = point.x - cx_right_, vy = cy_bottom_ - point.y;
    auto first = [&](auto&& qualifies) {
        std::int64_t t = 0;
        while (t < n_ && !qualifies((*table_)[std::size_t(t)])) ++t;
        return t;
    };
    if (vx >= 0 && vy >= 0) return first([&](const TableEntry& q) { return q.x * vy <= q.y * vx; });
    if (vx < 0 && vy >= 0) return 2 * n_ - first([&](const TableEntry& q) { return q.x * vy < q.y * -vx; });
    if (vx < 0) return 2 * n_ + first([&](const TableEntry& q) { return q.x * -vy < q.y * -vx; });
    return 4 * n_ - first([&](const TableEntry& q) { return q.x * -vy <= q.y * vx; });
}

void PieOutline::arc(DevicePoint start, DevicePoint end, std::vector<DevicePoint>& vertices) const {
    vertices.clear();
    if (n_ == 0) return;
    std::int64_t s = index_of(start), e = index_of(end);
    if (e <= s) e += 4 * n_;
    vertices.reserve(std::size_t(e - s + 1));
    int quarter = int(s % (4 * n_) / n_);
    std::int64_t t = s % n_;
    for (std::int64_t left = e - s; left > 0; --left) {
        vertices.push_back(in_quarter(quarter, t));
        if (++t == n_) t = 0, quarter = (quarter + 1) % 4;
    }
}

void PieOutline::figure(DevicePoint start, DevicePoint end, std::vector<DevicePoint>& vertices) const {
    arc(start, end, vertices);
    if (n_ != 0) vertices.push_back(apex());
}

void pie(DeviceContext* dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end) {
    if (!dc) return;
    Canvas canvas = canvas_of(dc);
    if (canvas.empty()) return;
    DevicePoint a = to_device(dc, left, top), b = to_device(dc, right, bottom);
    if (!box_in_reach(*dc, canvas, a, b)) return;
    PieOutline outline(a.x, a.y, b.x, b.y);
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
