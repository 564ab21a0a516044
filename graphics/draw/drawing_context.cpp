#include "graphics/draw/drawing_context.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "graphics/window/library_class.h"

namespace klv {

namespace {

std::atomic<bool> program_ending{false};

void wait_for_the_end() {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

WindowState* state_of_current_window() {
    if (program_ending) wait_for_the_end();
    const WindowTable& table = window_table();
    if (table.current_window >= 0 && table.current_window < table.windows_opened) {
        ui::Window* window = table.window_handles[std::size_t(table.current_window)];
        if (window != nullptr) return static_cast<WindowState*>(ui::user_data(window));
    }
    report_system_error("Drawing operation was attempted when there was no current window.");
    end_program();
}

bool lock_pages(WindowState* state) {
    return state->mutex.try_lock_for(std::chrono::milliseconds(page_lock_timeout_ms));
}

}  // namespace

void end_program() {
    if (program_ending.exchange(true)) wait_for_the_end();
    std::exit(0);
}

WindowState* current_window_state(ui::Window* window) {
    if (window != nullptr) return static_cast<WindowState*>(ui::user_data(window));
    return state_of_current_window();
}

gdi::DeviceContext* acquire_page_dc(ui::Window* window) {
    WindowState* state = current_window_state(window);
    if (!lock_pages(state)) return nullptr;
    return state->page_dc[std::size_t(state->active_page)];
}

void release_page_dc(ui::Window* window) { current_window_state(window)->mutex.unlock(); }

PageLock::PageLock(WindowState* state) : state_(state), locked_(lock_pages(state)) {}

PageLock::~PageLock() {
    if (locked_) state_->mutex.unlock();
}

gdi::DeviceContext* PageLock::active_dc() const { return state_->page_dc[std::size_t(state_->active_page)]; }

void refresh_window(gdi::Rect* rect) {
    WindowState* state = current_window_state(nullptr);
    if (rect != nullptr) {
        PageLock lock(state);
        if (!lock.locked()) return;
        gdi::Point corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
        gdi::logical_to_device(lock.active_dc(), corners, 2);
        *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
    if ((state->auto_refresh || rect == nullptr) && state->visual_page == state->active_page)
        ui::invalidate_rect(state->hwnd, rect, false);
}

}  // namespace klv
