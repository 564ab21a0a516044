// What a program pays per call for the drawing operations: through the
// public interface, with the window's lock and its refresh.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "bench/bench_window.h"
#include "graphics/klv.h"

namespace klv::bench {
namespace {

constexpr int box_left = 270, box_top = 190, box = 100;

void draw_lines(benchmark::State& state, const std::vector<Line>& lines) {
    open_bench_window();
    set_line_style(0, 0, 1);
    set_color(15);
    std::size_t i = 0;
    for (auto _ : state) {
        const Line& l = lines[i++ % lines.size()];
        draw_line(l.x1, l.y1, l.x2, l.y2);
    }
}

void line_short(benchmark::State& state) { draw_lines(state, short_lines()); }
void line_long(benchmark::State& state) { draw_lines(state, long_lines()); }

// Lines between points near the ends of the 32-bit range that cross the page.
void line_huge(benchmark::State& state) {
    std::vector<Line> lines;
    for (const Line& l : long_lines()) {
        const long long dx = l.x2 - l.x1, dy = l.y2 - l.y1;
        const long long scale = (INT_MAX / 2) / std::max(std::abs(dx), std::abs(dy));
        lines.push_back({int(l.x1 - dx * scale), int(l.y1 - dy * scale), int(l.x1 + dx * scale),
                         int(l.y1 + dy * scale)});
    }
    draw_lines(state, lines);
}

void rect_outline_100(benchmark::State& state) {
    open_bench_window();
    set_color(5);
    for (auto _ : state) draw_rectangle(box_left, box_top, box_left + box - 1, box_top + box - 1);
}

void bar(benchmark::State& state, int pattern, int color, int left, int top, int right, int bottom) {
    open_bench_window();
    set_fill_style(pattern, color);
    for (auto _ : state) fill_bar(left, top, right, bottom);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * (right - left) * (bottom - top) * 4);
}

void bar_solid_100(benchmark::State& state) {
    bar(state, 1, 1, box_left, box_top, box_left + box, box_top + box);
}
void bar_solid_full(benchmark::State& state) { bar(state, 1, 0, 0, 0, width, height); }
void bar_hatch_100(benchmark::State& state) {
    bar(state, 8, 4, box_left, box_top, box_left + box, box_top + box);
}

void pie_hatch_100(benchmark::State& state) {
    open_bench_window();
    set_color(15);
    set_fill_style(8, 4);
    for (auto _ : state) draw_pie_slice(319, 239, 75, 225, 100);
}

void set_color_op(benchmark::State& state) {
    open_bench_window();
    int color = 0;
    for (auto _ : state) set_color(color++ & 15);
}

void set_fill_style_op(benchmark::State& state) {
    open_bench_window();
    for (auto _ : state) set_fill_style(8, 4);
}

void text_6(benchmark::State& state) {
    open_bench_window();
    set_color(15);
    set_text_style(3, 0, 2);
    for (auto _ : state) out_text_xy(144, 164, "41.67%");
}

BENCHMARK(line_short);
BENCHMARK(line_long);
BENCHMARK(line_huge);
BENCHMARK(rect_outline_100);
BENCHMARK(bar_solid_100);
BENCHMARK(bar_solid_full);
BENCHMARK(bar_hatch_100);
BENCHMARK(pie_hatch_100);
BENCHMARK(set_color_op)->Name("set_color");
BENCHMARK(set_fill_style_op)->Name("set_fill_style");
BENCHMARK(text_6);

}  // namespace
}  // namespace klv::bench
