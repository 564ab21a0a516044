// Many windows on an X server of the test's own: eight drawn at once under
// a flood of input, one of them saved meanwhile, save whole frames; windows
// opened and closed one after another, and a window closed while its save
// dialog is open or its mouse handler runs, leave no descriptor, thread or
// memory behind.
#include <gtest/gtest.h>

#include <dirent.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "graphics/klv.h"
#include "graphics/window/window_procedure.h"
#include "platform/ui/testing.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/stress/processes.h"
#include "tests/support/bmp_image.h"
#include "tests/support/eventually.h"
#include "tests/support/library_window.h"
#include "tests/support/stand_in_program.h"
#include "tests/support/test_needs.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();  // the sanitizers' allocator
#endif

namespace klv::test {
namespace {

using namespace std::chrono_literals;

struct Resources {
    int descriptors = 0;
    int threads = 0;
    long resident_kib = 0;
    long heap_kib = 0;  // allocated and not freed
};

// True while thread tid of this process has not begun to exit. A thread
// that a join has waited for can stay listed for a moment after the join
// returns (the kernel lets the joiner go before it takes the thread off the
// list), but by then its flags say it is exiting.
bool thread_is_live(const char* tid) {
    constexpr unsigned long exiting = 0x4;  // the kernel's "exiting" task flag
    std::ifstream stat(std::string("/proc/self/task/") + tid + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    // After the name in parentheses: state, ppid, pgrp, session, tty, tpgid, flags.
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string skipped;
    for (int i = 0; i < 6; ++i) fields >> skipped;
    unsigned long flags = 0;
    fields >> flags;
    return !fields.fail() && (flags & exiting) == 0;
}

Resources resources_in_use() {
    Resources r;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (readdir(fds)) ++r.descriptors;
        closedir(fds);
    }
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* task = readdir(tasks))
            if (task->d_name[0] != '.' && thread_is_live(task->d_name)) ++r.threads;
        closedir(tasks);
    }
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;)
        if (key == "VmRSS:") status >> r.resident_kib;
    // The sanitizers keep freed memory from reuse for a while: the resident
    // size grows with what was freed, the allocator's count does not.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    r.heap_kib = long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    r.heap_kib = long(mallinfo2().uordblks / 1024);
#endif
    return r;
}

// One private X server for the whole program: the library's windows open on it.
class ManyWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!program_installed("Xvfb") || !program_installed("xdotool")) return;
        server_ = new PrivateXServer;
        if (server_->ok()) setenv("DISPLAY", server_->name().c_str(), 1);
    }
    static void TearDownTestSuite() {
        close_window(-2);
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        KLV_NEED(server_ != nullptr, "Xvfb and xdotool");
        ASSERT_TRUE(server_->ok()) << "Xvfb did not start";
    }
    void TearDown() override { close_window(-2); }

    // xdotool on the private server; 0 when it did what it was told.
    static int xdotool(const std::string& arguments) {
        return std::system(("DISPLAY=" + server_->name() + " xdotool " + arguments + " >/dev/null 2>&1").c_str());
    }

    // Runs the steps on a thread of their own; steps that hang fail the test
    // and end the program (and its X server) instead of hanging it.
    static void finishes_within(std::chrono::seconds limit, const char* what, const std::function<void()>& steps) {
        auto running = std::async(std::launch::async, steps);
        if (running.wait_for(limit) == std::future_status::ready) return running.get();
        ADD_FAILURE() << what << " did not return within " << limit.count() << " s";
        server_->kill_now();
        std::_Exit(1);
    }

    static PrivateXServer* server_;
};
PrivateXServer* ManyWindows::server_ = nullptr;

// Frame f of window w: the whole page in one colour, a ring and a bar in
// another. A saved frame shows exactly the two colours of one frame.
constexpr int window_width = 200, window_height = 150;

int page_colour(int frame) { return 0x400000 | (frame & 0xFFFF); }
int shape_colour(int frame) { return 0xC00000 | (frame & 0xFFFF); }
std::uint32_t as_pixel(int bgr) {  // 0x00BBGGRR to the saved image's 0x00RRGGBB
    return std::uint32_t((bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF));
}

void draw_frame(int frame) {
    set_fill_style(1, page_colour(frame));
    fill_bar(0, 0, window_width, window_height);
    set_color(shape_colour(frame));
    set_fill_style(1, shape_colour(frame));
    draw_circle(100, 75, 40);
    fill_bar(20 + frame % 7, 100, 180, 120);
}

// The frame number whose two colours fill the image, or -1 when it mixes.
int whole_frame(const Image& image) {
    const std::uint32_t corner = image.at(0, 0);
    for (int frame = 0; frame < 0x10000; frame += 0x1) {
        if (as_pixel(page_colour(frame)) != corner) continue;
        for (std::uint32_t pixel : image.pixels)
            if (pixel != corner && pixel != as_pixel(shape_colour(frame))) return -1;
        return frame;
    }
    return -1;
}

TEST_F(ManyWindows, EightDrawnAtOnceUnderAFloodOfInputSaveWholeFrames) {
    TempFolder folder;
    StandInProgram chooser(folder.path(), "zenity", folder.file("menu") + "\n", 0, false);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (folder.path().string() + ":" + path).c_str(), 1);
    std::vector<int> windows;
    for (int i = 0; i < 8; ++i) {
        // Window 0 is double-buffered: it is saved while the next frame is drawn.
        windows.push_back(open_window(window_width, window_height, i % 2 ? "flooded" : "", (i % 4) * 220,
                                      (i / 4) * 200, i == 0, false));
        ASSERT_GE(windows.back(), 0);
    }
    std::string flood;
    for (int i = 0; i < 40; ++i) {
        const int w = i % 8;
        flood += " mousemove " + std::to_string((w % 4) * 220 + 30 + i % 100) + " " + std::to_string((w / 4) * 200 + 60) +
                 " click " + std::to_string(1 + i % 3) + " key " + (i % 2 ? "a" : "Up");
    }
    auto input = std::async(std::launch::async, [&] { return xdotool(flood); });
    std::vector<std::string> saved;
    int frame = 0;
    for (; input.wait_for(0ms) != std::future_status::ready; ++frame) {
        for (int w : windows) {
            set_current_window(w);
            draw_frame(frame);
            if (w == windows[0]) swap_pages();
        }
        if (frame % 25 == 0) {
            set_current_window(windows[0]);
            saved.push_back(folder.file("frame" + std::to_string(frame) + ".bmp"));
            EXPECT_EQ(save_image(saved.back().c_str(), 0, 0, window_width - 1, window_height - 1, false), 0);
        }
        if (frame % 100 == 50) ui::testing::choose_system_command(test::current_window_handle(), save_image_menu_command);
    }
    EXPECT_EQ(input.get(), 0);
    std::cout << frame << " frames on 8 windows, " << saved.size() << " saved\n";
    ASSERT_FALSE(saved.empty());
    for (const std::string& file : saved) EXPECT_GE(whole_frame(read_bmp(file)), 0) << file;
    set_current_window(windows[0]);
    EXPECT_TRUE(wait_idle());
    if (std::filesystem::exists(folder.file("menu.BMP"))) {
        EXPECT_GE(whole_frame(read_bmp(folder.file("menu.BMP"))), 0) << "saved from the menu";
    }
    setenv("PATH", path.c_str(), 1);
}

// What a window leaves open for the rest of the program (font files, the
// fonts' caches) is open before the count starts.
Resources resources_after_a_first_window() {
    close_window(open_window(40, 30, "first", 0, 0, false, false));
    return resources_in_use();
}

std::ostream& operator<<(std::ostream& out, const Resources& r) {
    return out << r.descriptors << " descriptors, " << r.threads << " threads, " << r.heap_kib << " KiB allocated, "
               << r.resident_kib << " KiB resident";
}

// Window i of a run: titled or not, double-buffered or not, in turn.
void open_and_close(int i) {
    const int index = open_window(64 + i % 5, 48, i % 2 ? "one of many" : nullptr, 40 + i % 300, 40, i % 4 < 2, false);
    ASSERT_GE(index, 0) << "window " << i;
    draw_circle(30, 20, 10 + i % 10);
    close_window(index);
}

// Window after window: each one's thread, connection and pages go with it,
// and each opens (the X server does not reset between them).
// KLV_STRESS_WINDOWS=1000 for the long run.
TEST_F(ManyWindows, OpenedAndClosedInTurnLeaveNothingBehind) {
    const char* asked = std::getenv("KLV_STRESS_WINDOWS");
    const int count = asked != nullptr ? std::max(20, std::atoi(asked)) : 200;
    finishes_within(std::chrono::seconds(count / 20 + 20), "opening and closing windows", [count] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 10; ++i) open_and_close(i);
        const Resources after_ten = resources_in_use();
        for (int i = 10; i < count && !::testing::Test::HasFatalFailure(); ++i) open_and_close(i);
        const Resources after_all = resources_in_use();
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        std::cout << "after 10 windows: " << after_ten << "\nafter " << count << " windows: " << after_all << " ("
                  << ms.count() << " ms)\n";
        EXPECT_EQ(after_all.descriptors, after_ten.descriptors);
        EXPECT_EQ(after_all.threads, after_ten.threads);
        // A window's four pages alone are 48 KiB.
        EXPECT_LT(after_all.heap_kib - after_ten.heap_kib, 1024);
    });
}

TEST_F(ManyWindows, ClosedWhileItsSaveDialogIsOpen) {
    TempFolder folder;
    StandInProgram chooser(folder.path(), "zenity", folder.file("never") + "\n", 0, true);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (folder.path().string() + ":" + path).c_str(), 1);
    const Resources before = resources_after_a_first_window();
    const int index = open_window(120, 90, "closed under its dialog", 0, 0, false, false);
    ASSERT_GE(index, 0);
    ui::testing::choose_system_command(test::current_window_handle(), save_image_menu_command);
    ASSERT_TRUE(chooser.wait_until_running());
    // close_window returns, and the window's thread, connection and dialog
    // program are gone.
    finishes_within(20s, "close_window", [index] { close_window(index); });
    setenv("PATH", path.c_str(), 1);
    const Resources after = resources_in_use();
    EXPECT_EQ(after.descriptors, before.descriptors);
    EXPECT_EQ(after.threads, before.threads);
    EXPECT_FALSE(std::filesystem::exists(folder.file("never.BMP")));
}

std::atomic<bool> handler_running{false};
std::atomic<bool> closing{false};

// Stays until the window is being closed.
void slow_handler(int, int) {
    handler_running = true;
    eventually([] { return closing.load(); }, 20s);
}

TEST_F(ManyWindows, ClosedWhileItsMouseHandlerRuns) {
    const Resources before = resources_after_a_first_window();
    const int index = open_window(120, 90, "closed under its handler", 300, 300, false, false);
    ASSERT_GE(index, 0);
    set_mouse_handler(KLV_LEFT_DOWN, slow_handler);
    ASSERT_EQ(xdotool("mousemove 360 350 click 1"), 0);
    ASSERT_TRUE(eventually([] { return handler_running.load(); }, 10s));
    closing = true;
    // close_window returns, and the window's thread, connection and dialog
    // program are gone.
    finishes_within(20s, "close_window", [index] { close_window(index); });
    const Resources after = resources_in_use();
    EXPECT_EQ(after.descriptors, before.descriptors);
    EXPECT_EQ(after.threads, before.threads);
}

}  // namespace
}  // namespace klv::test
