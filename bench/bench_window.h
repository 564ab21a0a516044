// The window every benchmark draws in: 640 by 480 on the headless backend,
// with automatic refresh on, as a program draws.
#pragma once

#include <cstdint>
#include <vector>

namespace klv::bench {

constexpr int width = 640;
constexpr int height = 480;

// Opens the window once for the whole run.
void open_bench_window();

struct Line {
    int x1, y1, x2, y2;
};

// The same workloads as the peer benchmarks: 1000 lines of length 1 to 16,
// and 1000 lines between arbitrary points of the page.
std::vector<Line> short_lines();
std::vector<Line> long_lines();

}  // namespace klv::bench
