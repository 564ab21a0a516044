// Presenting a whole 640 by 480 screen image to an X11 window, at scale 1
// and 2: the copy into what the user sees and into the shared image, and
// the server's copy to the screen (waited for). Skipped without DISPLAY.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/bench_window.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/ui.h"
#include "platform/ui/window_internal.h"

namespace klv::bench {
namespace {

std::intptr_t ignore_messages(ui::Window* window, std::uint32_t message, std::uintptr_t wparam,
                              std::intptr_t lparam) {
    return message == ui::WM_PAINT ? 0 : ui::default_procedure(window, message, wparam, lparam);
}

void present_640x480(benchmark::State& state, int scale) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("no DISPLAY");
        return;
    }
    static const bool registered = ui::register_class({"KlvPresentBench", 0, ignore_messages, -1});
    (void)registered;
    setenv("KLV_BACKEND", "x11", 1);
    ui::Window* handle = ui::create_window("KlvPresentBench", "present", ui::WS_CAPTION, 0, 0, width + 6, height + 25);
    auto window = handle ? ui::find_window(handle) : nullptr;
    const bool scaled = window && ui::set_window_scale(handle, scale) && ui::window_scale(handle) == scale;
    setenv("KLV_BACKEND", "headless", 1);
    if (!scaled) {
        state.SkipWithError("no window at that scale");
        return;
    }
    ui::show_window(handle, ui::SW_SHOWNORMAL);
    for (auto _ : state) ui::present_rect(*window, window->client_rect());
    ui::destroy_window(handle);
}

void present_640x480_scale_1(benchmark::State& state) { present_640x480(state, 1); }
void present_640x480_scale_2(benchmark::State& state) { present_640x480(state, 2); }
BENCHMARK(present_640x480_scale_1)->Unit(benchmark::kMillisecond);
BENCHMARK(present_640x480_scale_2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace klv::bench
