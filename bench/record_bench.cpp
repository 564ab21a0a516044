// What recording costs a program: the frames of a bouncing ball (a room of
// nine colour bands and a patterned floor, a ball with a shadow and a light,
// drawn on the hidden page and shown with swap_pages, 480 by 320) at 50
// frames a second, timed from the first drawing call to the end of the swap,
// with and without record_frames on. The recording's copy of each shown page
// is made by the window's thread under the page lock, so a frame pays for it
// only where its drawing meets that copy; the encoder runs on a thread of
// its own.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "graphics/klv.h"

namespace klv::bench {
namespace {

constexpr int room_width = 480, room_height = 320, floor_y = 270, ball = 22;
constexpr auto frame_time = std::chrono::milliseconds(20);

void draw_frame(int frame) {
    for (int band = 0; band < 9; ++band) {
        set_fill_style(1, rgb_color(24, 40 + band * 20, 120 + band * 15));
        fill_bar(0, band * floor_y / 9, room_width, (band + 1) * floor_y / 9);
    }
    set_fill_style(9, KLV_OLIVE);
    fill_bar(0, floor_y, room_width, room_height);
    const int x = ball + frame * 5 % (room_width - 2 * ball), y = floor_y - ball - (frame * 7 % 150);
    set_fill_style(1, KLV_BLACK);
    fill_ellipse(x, floor_y + 20, ball, ball / 3);
    set_fill_style(1, KLV_LIGHT_RED);
    fill_ellipse(x, y, ball, ball);
    set_fill_style(1, KLV_WHITE);
    fill_ellipse(x - 8, y - 8, 4, 4);
    swap_pages();
}

void bouncing_ball_frame(benchmark::State& state) {
    const int window = open_window(room_width, room_height, "ball", 0, 0, true, false);
    if (window < 0) return state.SkipWithError("no window");
    const std::string file = (std::filesystem::temp_directory_path() / "klv-bench-ball.gif").string();
    if (state.range(0) != 0 && record_frames(file.c_str()) != 0) return state.SkipWithError("cannot record");
    int frame = 0;
    auto next = std::chrono::steady_clock::now();
    for (auto _ : state) {
        draw_frame(++frame);
        state.PauseTiming();
        next += frame_time;
        std::this_thread::sleep_until(next);  // the program's own pace, untimed
        state.ResumeTiming();
    }
    if (state.range(0) != 0) record_frames(nullptr);
    close_window(window);
    std::filesystem::remove(file);
    state.SetLabel(state.range(0) != 0 ? "recorded" : "not recorded");
}

BENCHMARK(bouncing_ball_frame)->Arg(0)->Arg(1)->Iterations(250)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace klv::bench
