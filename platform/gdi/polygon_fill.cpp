#include "platform/gdi/polygon_fill.h"
#include "platform/threads/thread_object.h"

#include <algorithm>
#include <vector>

namespace klv::gdi {

namespace {

struct Edge {
    std::int64_t x0, y0, x1, y1;  // upper end first
    int direction;                // +1 running downward in vertex order
};

struct Crossing {
    std::int64_t x;
    int direction;
};

std::int64_t ceil_div(__int128 num, __int128 den) {  // den > 0
    __int128 q = num / den;
    if (num % den != 0 && num > 0) ++q;
    return std::int64_t(q);
}

std::int64_t crossing_x(const Edge& e, std::int64_t y) {
    const std::int64_t dy = y - e.y0, dx = e.x1 - e.x0, h = e.y1 - e.y0;
    constexpr std::int64_t kSmall = std::int64_t(1) << 31;
    if (dy < kSmall && dx < kSmall && dx > -kSmall) {  // the product fits in 64 bits
        std::int64_t num = dy * dx, q = num / h;
        return e.x0 + q + (num % h != 0 && num > 0 ? 1 : 0);
    }
    return e.x0 + ceil_div(__int128(dy) * dx, h);
}

// Scratch space reused between calls, so a fill allocates only when a
// polygon is larger than every earlier one on this thread.
struct Scratch {
    std::vector<Edge> edges;
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
};

Scratch& scratch() {
    return threads::thread_object<Scratch>();
}

void collect_edges(const Canvas& canvas, const DevicePoint* points, std::size_t count, std::vector<Edge>& edges) {
    edges.clear();
    for (std::size_t i = 0; i < count; ++i) {
        DevicePoint a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        Edge e = a.y < b.y ? Edge{a.x, a.y, b.x, b.y, +1} : Edge{b.x, b.y, a.x, a.y, -1};
        if (e.y1 <= canvas.top || e.y0 >= canvas.bottom) continue;
        edges.push_back(e);
    }
    if (edges.empty()) return;
    // A counting sort on the first visible row of each edge: linear in the
    // edges plus the visible rows the polygon spans.
    std::int64_t first_row = canvas.bottom, last_row = canvas.top;
    for (const Edge& e : edges) {
        first_row = std::min(first_row, std::max(e.y0, canvas.top));
        last_row = std::max(last_row, std::max(e.y0, canvas.top));
    }
    const std::size_t rows = std::size_t(last_row - first_row + 1);
    struct Starts : std::vector<std::uint32_t> {};
    struct Sorted : std::vector<Edge> {};
    Starts& starts = threads::thread_object<Starts>();
    Sorted& sorted = threads::thread_object<Sorted>();
    starts.assign(rows + 1, 0);
    auto bucket = [&](const Edge& e) { return std::size_t(std::max(e.y0, canvas.top) - first_row); };
    for (const Edge& e : edges) ++starts[bucket(e) + 1];
    for (std::size_t r = 1; r <= rows; ++r) starts[r] += starts[r - 1];
    sorted.resize(edges.size());
    for (const Edge& e : edges) sorted[starts[bucket(e)]++] = e;
    edges.swap(sorted);
}

template <typename Span>
void emit_row(std::vector<Crossing>& crossings, FillRule rule, std::int64_t y, Span&& span) {
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    int sum = 0;
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        sum += rule == FillRule::winding ? crossings[i].direction : 1;
        bool inside = rule == FillRule::winding ? sum != 0 : (sum & 1) != 0;
        if (inside && i + 1 < crossings.size() && crossings[i + 1].x > crossings[i].x)
            span(y, crossings[i].x, crossings[i + 1].x);
    }
}

}  // namespace

void scan_polygon(const Canvas& canvas, const DevicePoint* points, std::size_t count, FillRule rule,
                  const std::function<void(std::int64_t, std::int64_t, std::int64_t)>& span) {
    if (count < 3 || canvas.empty()) return;
    Scratch& s = scratch();
    collect_edges(canvas, points, count, s.edges);
    if (s.edges.empty()) return;
    s.active.clear();
    std::size_t next = 0;
    std::int64_t y = std::max(canvas.top, s.edges.front().y0);
    for (; y < canvas.bottom; ++y) {
        while (next < s.edges.size() && s.edges[next].y0 <= y) s.active.push_back(&s.edges[next++]);
        std::erase_if(s.active, [y](const Edge* e) { return e->y1 <= y; });
        if (s.active.empty()) {
            if (next == s.edges.size()) break;
            y = std::max(y, s.edges[next].y0 - 1);  // jump over empty rows
            continue;
        }
        s.crossings.clear();
        for (const Edge* e : s.active) s.crossings.push_back({crossing_x(*e, y), e->direction});
        emit_row(s.crossings, rule, y, [&](std::int64_t row, std::int64_t x0, std::int64_t x1) {
            x0 = std::max(x0, canvas.left);
            x1 = std::min(x1, canvas.right);
            if (x0 < x1) span(row, x0, x1);
        });
    }
}

bool segment_near(const Canvas& c, DevicePoint a, DevicePoint b, double margin) {
    double lo = 0, hi = 1;
    auto cut = [&](double start, double delta, double min, double max) {
        if (delta == 0) {
            if (start < min || start > max) lo = 1, hi = 0;
            return;
        }
        double t0 = (min - start) / delta, t1 = (max - start) / delta;
        if (t0 > t1) std::swap(t0, t1);
        lo = std::max(lo, t0), hi = std::min(hi, t1);
    };
    cut(double(a.x), double(b.x - a.x), double(c.left) - margin, double(c.right) + margin);
    cut(double(a.y), double(b.y - a.y), double(c.top) - margin, double(c.bottom) + margin);
    return lo <= hi;
}

Reach polygon_reach(const Canvas& canvas, const DevicePoint* points, std::size_t count, FillRule rule) {
    if (count < 3 || canvas.empty()) return Reach::none;
    for (std::size_t i = 0; i < count; ++i)
        if (segment_near(canvas, points[i], points[(i + 1) % count], 2)) return Reach::some;
    // No edge crosses the canvas or passes through one of its pixels: they
    // are all inside or all outside, as its first pixel is.
    Canvas corner = canvas;
    corner.right = canvas.left + 1, corner.bottom = canvas.top + 1;
    bool inside = false;
    scan_polygon(corner, points, count, rule, [&](std::int64_t, std::int64_t, std::int64_t) { inside = true; });
    return inside ? Reach::all : Reach::none;
}

}  // namespace klv::gdi
