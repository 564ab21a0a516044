// A program for the tests on X servers of their own: opens a window on
// DISPLAY, gets into the state its first argument names, writes "ready" on
// stdout and stays there until the display goes away.
//   wait_ms                 sleeping in wait_ms
//   drawing                 drawing in a loop
//   dialog_open FILE        the save dialog open; FILE appears once the
//                           dialog program (a stand-in on PATH) runs
//   dialog_closed FILE      the save dialog just closed and FILE saved;
//                           waiting for a key
// Or, for programs run one after another:
//   ends [PID]              with PID, writes "ready" and waits for that
//                           process to end; then opens its window, draws,
//                           closes it, writes "drawn" and ends with status 0
//                           when sent SIGUSR1 (within 20 s)
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "graphics/klv.h"
#include "graphics/window/window_procedure.h"
#include "platform/ui/testing.h"
#include "tests/support/library_window.h"

namespace {

void say(const char* line) {
    std::puts(line);
    std::fflush(stdout);
}

void say_ready() { say("ready"); }

bool appears(const std::string& path) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Until process pid has ended (its descriptors, its X connection among
// them, closed), for up to 20 s; at once when it is gone already.
bool wait_for_end_of(const char* pid) {
    const int fd = int(syscall(SYS_pidfd_open, std::atoi(pid), 0));
    say("ready");
    if (fd < 0) return errno == ESRCH;
    pollfd ended{fd, POLLIN, 0};
    const bool done = poll(&ended, 1, 20000) == 1;
    close(fd);
    return done;
}

void draw_frame(int i) {
    set_fill_style(1, i % 16);
    fill_bar(0, 0, 320, 240);
    set_color((i + 8) % 16);
    draw_circle(160, 120, 10 + i % 100);
    out_text_xy(10, 10, "lost display");
}

// Draws and closes its window after the process pid (if any) has ended,
// then ends on SIGUSR1: 0 when all went well.
int draw_and_end(const char* pid) {
    sigset_t go;
    sigemptyset(&go);
    sigaddset(&go, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &go, nullptr);  // the window's threads too
    if (pid != nullptr && !wait_for_end_of(pid)) return 6;
    if (open_window(320, 240, "ends", 0, 0, false, true) < 0) return 3;
    draw_frame(0);
    close_window(-2);
    say("drawn");
    const timespec deadline{20, 0};
    return sigtimedwait(&go, nullptr, &deadline) == SIGUSR1 ? 0 : 7;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string mode = argv[1];
    if (mode == "ends") return draw_and_end(argc == 3 ? argv[2] : nullptr);
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
