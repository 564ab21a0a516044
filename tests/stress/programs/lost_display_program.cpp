// A program for the lost-display test: opens a window on DISPLAY, gets into
// the state its first argument names, writes "ready" on stdout and stays
// there until the display goes away.
//   wait_ms                 sleeping in wait_ms
//   drawing                 drawing in a loop
//   dialog_open FILE        the save dialog open; FILE appears once the
//                           dialog program (a stand-in on PATH) runs
//   dialog_closed FILE      the save dialog just closed and FILE saved;
//                           waiting for a key
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "graphics/klv.h"
#include "graphics/window/window_procedure.h"
#include "platform/ui/testing.h"
#include "tests/support/library_window.h"

namespace {

void say_ready() {
    std::puts("ready");
    std::fflush(stdout);
}

bool appears(const std::string& path) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void draw_frame(int i) {
    set_fill_style(1, i % 16);
    fill_bar(0, 0, 320, 240);
    set_color((i + 8) % 16);
    draw_circle(160, 120, 10 + i % 100);
    out_text_xy(10, 10, "lost display");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string mode = argv[1];
    if (open_window(320, 240, "lost display", 0, 0, false, true) < 0) return 3;
    draw_frame(0);
    if (mode == "wait_ms") {
        say_ready();
        wait_ms(60000);
        return 4;
    }
    if (mode == "drawing") {
        for (int i = 1;; ++i) {
            draw_frame(i);
            if (i == 20) say_ready();
        }
    }
    if ((mode == "dialog_open" || mode == "dialog_closed") && argc == 3) {
        klv::ui::testing::choose_system_command(klv::test::current_window_handle(), klv::save_image_menu_command);
        if (!appears(argv[2])) return 5;
        say_ready();
        wait_key();
        return 4;
    }
    return 2;
}
