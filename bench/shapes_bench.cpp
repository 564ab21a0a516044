// Pixels, circles, ellipses, polygons, flood fills and XOR lines through the
// public interface, drawing what the peer benchmarks draw for the same names.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/bench_window.h"
#include "graphics/klv.h"

namespace klv::bench {
namespace {

constexpr int centre_x = 319, centre_y = 239;

// The peers' 4096 pixel positions (xorshift32 seeded with 77).
std::vector<int> pixel_positions() {
    std::uint32_t s = 77;
    auto next = [&s] {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    };
    std::vector<int> xy(2 * 4096);
    for (std::size_t i = 0; i < 4096; ++i) {
        xy[2 * i] = int(next() % width);
        xy[2 * i + 1] = int(next() % height);
    }
    return xy;
}

void put_pixel_op(benchmark::State& state) {
    open_bench_window();
    const std::vector<int> xy = pixel_positions();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % 4096;
        put_pixel(xy[2 * k], xy[2 * k + 1], int(i & 0xFFFFFF));
    }
}

// One iteration: every pixel of the window once, row by row.
void pixel_frame_640x480(benchmark::State& state) {
    open_bench_window();
    int frame = 0;
    for (auto _ : state) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) put_pixel(x, y, (x ^ y ^ frame) & 0xFFFFFF);
        ++frame;
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * width * height * 4);
}

void get_pixel_op(benchmark::State& state) {
    open_bench_window();
    const std::vector<int> xy = pixel_positions();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % 4096;
        benchmark::DoNotOptimize(get_pixel(xy[2 * k], xy[2 * k + 1]));
    }
}

void circle_100(benchmark::State& state) {
    open_bench_window();
    set_color(15);
    for (auto _ : state) draw_circle(centre_x, centre_y, 100);
}

void fill_ellipse_100(benchmark::State& state) {
    open_bench_window();
    set_color(15);
    set_fill_style(8, 4);
    for (auto _ : state) fill_ellipse(centre_x, centre_y, 100, 60);
}

// The peers' ten-point star, about 200 pixels across.
void fill_polygon_10(benchmark::State& state) {
    open_bench_window();
    set_color(15);
    set_fill_style(1, 1);
    int xy[20];
    for (int i = 0; i < 10; ++i) {
        const double a = i * M_PI / 5.0, r = (i % 2) ? 40.0 : 100.0;
        xy[2 * i] = centre_x + int(std::lround(r * std::cos(a)));
        xy[2 * i + 1] = centre_y - int(std::lround(r * std::sin(a)));
    }
    for (auto _ : state) fill_polygon(10, xy);
}

void flood_fill_full(benchmark::State& state) {
    open_bench_window();
    set_bk_color(0);
    clear_page();
    int color = 1;
    for (auto _ : state) {
        set_fill_style(1, color);
        flood_fill(centre_x, centre_y, 15);
        color = color == 1 ? 2 : 1;
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * width * height * 4);
}

// A serpentine: walls every fourth row, each open at alternate ends, so the
// inside is one corridor three pixels high running the length of every row.
void flood_fill_maze(benchmark::State& state) {
    open_bench_window();
    set_bk_color(0);
    clear_page();
    set_color(15);
    draw_rectangle(0, 0, width - 1, height - 1);
    for (int y = 4; y < height - 1; y += 4) {
        if ((y / 4) % 2 == 1)
            draw_line(0, y, width - 9, y);
        else
            draw_line(8, y, width, y);
    }
    int color = 1;
    for (auto _ : state) {
        set_fill_style(1, color);
        flood_fill(5, 2, 15);
        color = color == 1 ? 2 : 1;
    }
}

void line_xor_long(benchmark::State& state) {
    open_bench_window();
    set_line_style(0, 0, 1);
    set_color(15);
    set_write_mode(KLV_DRAW_XOR);
    const std::vector<Line> lines = long_lines();
    std::size_t i = 0;
    for (auto _ : state) {
        const Line& l = lines[i++ % lines.size()];
        draw_line(l.x1, l.y1, l.x2, l.y2);
    }
    set_write_mode(KLV_DRAW_COPY);
}

BENCHMARK(put_pixel_op)->Name("put_pixel");
BENCHMARK(pixel_frame_640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(get_pixel_op)->Name("get_pixel");
BENCHMARK(circle_100);
BENCHMARK(fill_ellipse_100);
BENCHMARK(fill_polygon_10);
BENCHMARK(flood_fill_full)->Unit(benchmark::kMicrosecond);
BENCHMARK(flood_fill_maze)->Unit(benchmark::kMicrosecond);
BENCHMARK(line_xor_long);

}  // namespace
}  // namespace klv::bench
