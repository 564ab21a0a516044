#include "platform/gdi/polygon_fill.h"
#include "platform/threads/thread_object.h"

#include <algorithm>
#include <vector>

namespace klv::gdi {

namespace {

// a * b = q * h + r with 0 <= r < h (h > 0, a >= 0), in 64 bits when the
// product fits.
void floor_divide(std::int64_t a, std::int64_t b, std::int64_t h, std::int64_t& q, std::int64_t& r) {
    constexpr std::int64_t kSmall = std::int64_t(1) << 31;
    if (a < kSmall && b < kSmall && b > -kSmall) {
        const std::int64_t f = a * b;
        q = f / h, r = f % h;
    } else {
        const __int128 f = __int128(a) * b;
        q = std::int64_t(f / h), r = std::int64_t(f % h);
    }
    if (r < 0) q -= 1, r += h;
}

struct Edge {
    std::int64_t x0, y0, x1, y1;  // upper end first
    int direction;                // +1 running downward in vertex order
    // From row to row: (y - y0)(x1 - x0) = q (y1 - y0) + r, 0 <= r < y1 - y0,
    // so that X(y) = x0 + q + (r != 0) without a division per row.
    std::int64_t q = 0, r = 0, q_step = 0, r_step = 0;

    void start(std::int64_t y) {
        const std::int64_t h = y1 - y0, dx = x1 - x0;
        floor_divide(y - y0, dx, h, q, r);
        floor_divide(1, dx, h, q_step, r_step);
    }
    std::int64_t x() const { return x0 + q + (r != 0 ? 1 : 0); }
    void step() {
        q += q_step, r += r_step;
        if (r >= y1 - y0) r -= y1 - y0, ++q;
    }
};

struct Crossing {
    std::int64_t x;
    int direction;
};

// Scratch space reused between calls, so a fill allocates only when a
// polygon is larger than every earlier one on this thread.
struct Scratch {
    std::vector<Edge> edges;
    std::vector<Edge*> active;
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
    // The order of crossings at the same x does not matter: no run lies between them.
    if (crossings.size() <= 8) {
        for (std::size_t i = 1; i < crossings.size(); ++i)
            for (std::size_t j = i; j > 0 && crossings[j].x < crossings[j - 1].x; --j) std::swap(crossings[j], crossings[j - 1]);
    } else {
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    }
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
        while (next < s.edges.size() && s.edges[next].y0 <= y) {
            s.edges[next].start(y);
            s.active.push_back(&s.edges[next++]);
        }
        std::erase_if(s.active, [y](const Edge* e) { return e->y1 <= y; });
        if (s.active.empty()) {
            if (next == s.edges.size()) break;
            y = std::max(y, s.edges[next].y0 - 1);  // jump over empty rows
            continue;
        }
        s.crossings.clear();
        for (Edge* e : s.active) {
            s.crossings.push_back({e->x(), e->direction});
            e->step();
        }
        emit_row(s.crossings, rule, y, [&](std::int64_t row, std::int64_t x0, std::int64_t x1) {
            x0 = std::max(x0, canvas.left);
            x1 = std::min(x1, canvas.right);
            if (x0 < x1) span(row, x0, x1);
        });
    }
}

bool segment_near(const Canvas& c, DevicePoint a, DevicePoint b, double margin) {
    const double left = double(c.left) - margin, right = double(c.right) + margin;
    const double top = double(c.top) - margin, bottom = double(c.bottom) + margin;
    if (double(std::max(a.x, b.x)) < left || double(std::min(a.x, b.x)) > right ||
        double(std::max(a.y, b.y)) < top || double(std::min(a.y, b.y)) > bottom)
        return false;
    // The segment's line leaves every corner on one side: it misses. Otherwise
    // it is taken as near (a segment that stops short of a corner's box is
    // then only scanned in vain).
    const double dx = double(b.x - a.x), dy = double(b.y - a.y);
    auto side = [&](double x, double y) { return dx * (y - double(a.y)) - dy * (x - double(a.x)); };
    const double s1 = side(left, top), s2 = side(right, top), s3 = side(left, bottom), s4 = side(right, bottom);
    return !((s1 > 0 && s2 > 0 && s3 > 0 && s4 > 0) || (s1 < 0 && s2 < 0 && s3 < 0 && s4 < 0));
}

bool pixel_inside(const DevicePoint* points, std::size_t count, FillRule rule, std::int64_t px, std::int64_t py) {
    int sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const DevicePoint a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        Edge e = a.y < b.y ? Edge{a.x, a.y, b.x, b.y, +1} : Edge{b.x, b.y, a.x, a.y, -1};
        if (py < e.y0 || py >= e.y1) continue;
        e.start(py);
        if (e.x() <= px) sum += rule == FillRule::winding ? e.direction : 1;
    }
    return rule == FillRule::winding ? sum != 0 : (sum & 1) != 0;
}

Reach polygon_reach(const Canvas& canvas, const DevicePoint* points, std::size_t count, FillRule rule) {
    if (count < 3 || canvas.empty()) return Reach::none;
    for (std::size_t i = 0; i < count; ++i)
        if (segment_near(canvas, points[i], points[(i + 1) % count], 2)) return Reach::some;
    // No edge crosses the canvas or passes through one of its pixels: they
    // are all inside or all outside, as its first pixel is.
    const bool inside = pixel_inside(points, count, rule, canvas.left, canvas.top);
    return inside ? Reach::all : Reach::none;
}

}  // namespace klv::gdi
