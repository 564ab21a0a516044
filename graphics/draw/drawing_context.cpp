#include "graphics/draw/drawing_context.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

#include "graphics/window/library_class.h"

namespace klv {

std::atomic<bool> program_ending{false};

namespace {

std::atomic<int> page_lock_wait_ms{page_lock_timeout_ms};

[[noreturn]] void wait_for_the_end() {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace

void report_no_current_window() {
    if (program_ending) wait_for_the_end();
    report_system_error("Drawing operation was attempted when there was no current window.");
    end_program(1);
}

void end_program(int status, const std::string& last_line) {
    if (program_ending.exchange(true)) wait_for_the_end();
    if (!last_line.empty()) std::fprintf(stderr, "%s\n", last_line.c_str());
    std::exit(status);
}

WindowState* attached_state(ui::Window* window) { return static_cast<WindowState*>(ui::user_data(window)); }

std::chrono::milliseconds page_lock_wait() {
    return std::chrono::milliseconds(page_lock_wait_ms.load(std::memory_order_relaxed));
}

void testing::set_page_lock_wait(std::chrono::milliseconds wait) {
    page_lock_wait_ms.store(int(wait.count()), std::memory_order_relaxed);
}

bool lock_pages(WindowState* state) { return state->mutex.try_lock_for(page_lock_wait()); }

gdi::DeviceContext* acquire_page_dc(ui::Window* window) {
    WindowState* state = current_window_state(window);
    if (!lock_pages(state)) return nullptr;
    return state->page_dc[std::size_t(state->active_page)];
}

void release_page_dc(ui::Window* window) { current_window_state(window)->mutex.unlock(); }

void PageLock::tell_window() { ui::invalidate_rect(state_->hwnd, &told_, false); }

gdi::Rect take_unshown_area(WindowState* state) {
    state->paint_requested = false;
    return std::exchange(state->unshown_area, gdi::Rect{});
}

void refresh_window(gdi::Rect* rect) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    if (rect == nullptr) {
        lock.refresh_whole_window();
        return;
    }
    lock.refresh(*rect);
    gdi::Point corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    gdi::logical_to_device(lock.active_dc(), corners, 2);
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace klv
