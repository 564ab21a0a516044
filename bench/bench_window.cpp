#include "bench/bench_window.h"

#include <cstdlib>

#include "graphics/klv.h"

namespace klv::bench {

namespace {

// xorshift32, seeded as the peers seed it, so that every engine draws the
// same lines.
struct Random {
    std::uint32_t s;
    std::uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
};

constexpr int line_count = 1000;

}  // namespace

void open_bench_window() {
    static const bool opened = [] {
        setenv("KLV_BACKEND", "headless", 0);
        return open_window(width, height, "bench", 0, 0, false, false) >= 0;
    }();
    if (!opened) std::abort();
}

std::vector<Line> short_lines() {
    Random r{0x1234567u};
    std::vector<Line> lines;
    while (int(lines.size()) < line_count) {
        const int x1 = r.below(width), y1 = r.below(height);
        const int dx = r.below(33) - 16, dy = r.below(33) - 16;
        if ((dx == 0 && dy == 0) || dx * dx + dy * dy > 16 * 16) continue;
        const int x2 = x1 + dx, y2 = y1 + dy;
        if (x2 < 0 || x2 >= width || y2 < 0 || y2 >= height) continue;
        lines.push_back({x1, y1, x2, y2});
    }
    return lines;
}

std::vector<Line> long_lines() {
    Random r{0x89abcdefu};
    std::vector<Line> lines;
    while (int(lines.size()) < line_count) {
        const Line l{r.below(width), r.below(height), r.below(width), r.below(height)};
        if (l.x1 == l.x2 && l.y1 == l.y2) continue;
        lines.push_back(l);
    }
    return lines;
}

}  // namespace klv::bench
