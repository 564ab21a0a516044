// Pages, refresh and images: what a program pays for a swap or a redraw
// until the window shows it, and for grabbing and pasting a 100 by 100 image
// at the peers' box.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/bench_window.h"
#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "graphics/window/window_state.h"

namespace klv::bench {
namespace {

constexpr int box_left = 270, box_top = 190, box = 100;

// A double-buffered 640 by 480 window where the picture is presented: on the
// X server when there is a display, else headless. Drawing returns to the
// bench window afterwards.
struct ShownWindow {
    int index = -1;
    const char* backend = "headless";
};

const ShownWindow& shown_window() {
    static const ShownWindow shown = [] {
        open_bench_window();
        const int bench_window = get_current_window();
        ShownWindow w;
        const char* display = std::getenv("DISPLAY");
        if (display != nullptr && *display != '\0') {
            setenv("KLV_BACKEND", "x11", 1);
            w.backend = "x11";
        }
        w.index = open_window(width, height, "bench pages", 0, 0, true, false);
        setenv("KLV_BACKEND", "headless", 1);
        if (w.index < 0) std::abort();
        set_fill_style(1, KLV_DARK_BLUE);
        fill_bar(0, 0, width, height);
        set_current_window(bench_window);
        return w;
    }();
    return shown;
}

// Times the call and the window thread's paint of the whole window that it
// asks for. Paints follow each other at most every 8 ms, so each round first
// waits, untimed, until the next paint may come at once.
template <class Call>
void until_shown(benchmark::State& state, Call call) {
    const ShownWindow& shown = shown_window();
    const int bench_window = get_current_window();
    set_current_window(shown.index);
    ui::Window* window = window_table().window_handles[std::size_t(shown.index)];
    for (auto _ : state) {
        state.PauseTiming();
        ui::testing::wait_until_idle(window);
        std::this_thread::sleep_for(std::chrono::milliseconds(9));
        state.ResumeTiming();
        call();
        ui::testing::wait_until_idle(window);
    }
    state.SetLabel(shown.backend);
    set_current_window(bench_window);
}

void swap_pages_shown(benchmark::State& state) { until_shown(state, [] { swap_pages(); }); }
void redraw_window_full(benchmark::State& state) { until_shown(state, [] { redraw_window(); }); }

// The call alone: the paints it asks for coalesce on the window's thread.
void swap_pages_call(benchmark::State& state) {
    const int bench_window = get_current_window();
    set_current_window(shown_window().index);
    for (auto _ : state) swap_pages();
    set_current_window(bench_window);
}

void grab_image_100(benchmark::State& state) {
    open_bench_window();
    std::vector<unsigned char> image(std::size_t(image_bytes(0, 0, box - 1, box - 1)));
    for (auto _ : state) grab_image(box_left, box_top, box_left + box - 1, box_top + box - 1, image.data());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * box * box * 4);
}

void paste_image_100(benchmark::State& state, int mode) {
    open_bench_window();
    std::vector<unsigned char> image(std::size_t(image_bytes(0, 0, box - 1, box - 1)));
    grab_image(0, 0, box - 1, box - 1, image.data());
    for (auto _ : state) paste_image(box_left, box_top, image.data(), mode);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * box * box * 4);
}

void text_justified_6(benchmark::State& state) {
    open_bench_window();
    set_color(15);
    set_text_style(3, 0, 2);
    set_text_justify(KLV_JUSTIFY_CENTRE, KLV_JUSTIFY_BASELINE);
    for (auto _ : state) out_text_xy(144, 164, "41.67%");
    set_text_justify(KLV_JUSTIFY_LEFT, KLV_JUSTIFY_TOP);
}

BENCHMARK(swap_pages_shown)->Name("swap_pages")->Iterations(300)->UseRealTime();
BENCHMARK(swap_pages_call);
BENCHMARK(redraw_window_full)->Iterations(300)->UseRealTime();
BENCHMARK(grab_image_100);
BENCHMARK_CAPTURE(paste_image_100, mode_copy, KLV_PASTE_COPY)->Name("paste_image_100");
BENCHMARK_CAPTURE(paste_image_100, mode_xor, KLV_PASTE_XOR)->Name("paste_image_100_xor");
BENCHMARK_CAPTURE(paste_image_100, mode_or, KLV_PASTE_OR)->Name("paste_image_100_or");
BENCHMARK_CAPTURE(paste_image_100, mode_and, KLV_PASTE_AND)->Name("paste_image_100_and");
BENCHMARK_CAPTURE(paste_image_100, mode_not, KLV_PASTE_NOT)->Name("paste_image_100_not");
BENCHMARK(text_justified_6);

}  // namespace
}  // namespace klv::bench
