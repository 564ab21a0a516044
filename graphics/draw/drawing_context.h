// Finding the current window, locking its pages and refreshing what was
// drawn: the steps every drawing operation shares. Their common path is
// inline: a drawing call that puts one pixel spends most of its time here.
//
// Refreshing is cheap: a drawing step adds the area it drew to the window's
// unshown area while it holds the lock, and only the first step after the
// window thread last painted tells the window (after releasing the lock).
// The window thread paints the unshown area together with whatever the
// window system asked for (paint_window), at most one paint interval later.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>

#include "graphics/klv.h"
#include "graphics/window/window_state.h"

namespace klv {

// How long a drawing operation, the save and print commands and the
// window's clean-up wait for the window's pages before giving up.
constexpr int page_lock_timeout_ms = 5000;
// The wait in force: page_lock_timeout_ms unless a test shortened it.
std::chrono::milliseconds page_lock_wait();
namespace testing {
// Tests of what gives up on a held lock need not wait five seconds each.
void set_page_lock_wait(std::chrono::milliseconds wait);
}  // namespace testing
// The value last_error takes when a setter refuses its arguments.
constexpr std::int32_t invalid_argument_error = KLV_ERROR_BAD_ARGUMENT;

// Set once the program has begun to end (end_program).
extern std::atomic<bool> program_ending;

// With no current window, or once the program has begun to end: shows "Drawing
// operation was attempted when there was no current window." and ends the
// program with status 1, or waits for the end.
[[noreturn]] void report_no_current_window();

// With a window: the record in its user data (null before it is attached).
// With null: the current window's record; when there is none, shows "Drawing
// operation was attempted when there was no current window." and ends the
// program with status 1.
WindowState* attached_state(ui::Window* window);
inline WindowState* current_window_state(ui::Window* window) {
    if (window != nullptr) return attached_state(window);
    if (WindowState* own = handler_window_state(); own != nullptr && !program_ending.load(std::memory_order_relaxed))
        return own;
    const WindowTable& table = window_table();
    const std::int32_t index = table.current_window;
    if (index >= 0 && index < table.windows_opened && !program_ending.load(std::memory_order_relaxed)) {
        WindowState* state = table.window_states[std::size_t(index)];
        if (state != nullptr) return state;
    }
    report_no_current_window();
}

// Ends the program with this status through the normal exit path (exit
// handlers and static destructors run), after last_line, when there is
// one, on stderr. Calls into the library that other threads make meanwhile
// wait for the end instead of reaching state that the exit is taking down;
// a second end waits for the first.
[[noreturn]] void end_program(int status = 0, const std::string& last_line = {});

// Waits up to five seconds for the window's mutex and returns the active
// page's device context. Returns null when the lock was not obtained: the
// caller then draws nothing and releases nothing.
gdi::DeviceContext* acquire_page_dc(ui::Window* window);
void release_page_dc(ui::Window* window);

// Converts rect (logical, right and bottom exclusive) to device coordinates in
// place and shows it when the active page is shown and the window refreshes
// automatically; null: the whole window whenever the active page is shown.
void refresh_window(gdi::Rect* rect);

// Waits up to five seconds for the window's mutex.
bool lock_pages(WindowState* state);

// The lock on a window's pages for one step, released at the end of scope.
// A drawing step names what it drew with refresh(); the window is told
// after the lock is released, so that its thread, which paints under the
// lock, is never waited for while it waits for us.
class PageLock {
public:
    explicit PageLock(WindowState* state) : state_(state), locked_(state->mutex.try_lock() || lock_pages(state)) {}
    ~PageLock() {
        if (!locked_) return;
        state_->mutex.unlock();
        if (tell_window_) tell_window();
    }
    PageLock(const PageLock&) = delete;
    PageLock& operator=(const PageLock&) = delete;
    bool locked() const { return locked_; }
    gdi::DeviceContext* active_dc() const { return state_->page_dc[std::size_t(state_->active_page)]; }

    // rect: logical coordinates of the active page, right and bottom
    // exclusive, either way round. Shown when the active page is shown and
    // the window refreshes automatically. Only while locked.
    void refresh(const gdi::Rect& rect) {
        if (!state_->auto_refresh) return;
        const gdi::Point origin = active_dc()->viewport_origin;
        show(std::int64_t(std::min(rect.left, rect.right)) + origin.x,
             std::int64_t(std::min(rect.top, rect.bottom)) + origin.y,
             std::int64_t(std::max(rect.left, rect.right)) + origin.x,
             std::int64_t(std::max(rect.top, rect.bottom)) + origin.y);
    }
    // The whole page, when the active page is shown and the window refreshes
    // automatically. Only while locked.
    void refresh_page() {
        if (state_->auto_refresh) refresh_whole_window();
    }
    // The whole window, when the active page is shown. Only while locked.
    void refresh_whole_window() { show(0, 0, state_->width, state_->height); }

private:
    // Device pixels, cut to the page: any 32-bit rectangle and origin are
    // exact. Each side is held within the page, so that a rectangle wholly
    // beside the page (a side past the 32-bit range) comes out empty and
    // never turns round into a rectangle that reaches the 32-bit ends.
    void show(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
        if (state_->visual_page != state_->active_page) return;
        const gdi::Rect area{on_page(left, state_->width), on_page(top, state_->height),
                             on_page(right, state_->width), on_page(bottom, state_->height)};
        if (area.left >= area.right || area.top >= area.bottom) return;
        gdi::Rect& unshown = state_->unshown_area;
        if (unshown.left >= unshown.right) {
            unshown = area;
        } else {
            unshown = {std::min(unshown.left, area.left), std::min(unshown.top, area.top),
                       std::max(unshown.right, area.right), std::max(unshown.bottom, area.bottom)};
        }
        if (state_->paint_requested) return;
        state_->paint_requested = true;
        tell_window_ = true;
        told_ = area;
    }
    static int on_page(std::int64_t v, int side) { return int(std::clamp<std::int64_t>(v, 0, side)); }
    void tell_window();

    WindowState* state_;
    bool locked_;
    bool tell_window_ = false;
    gdi::Rect told_{};
};

// For the window thread's paint, under the lock: the unshown area (device
// pixels, empty when none), which is then taken as shown.
gdi::Rect take_unshown_area(WindowState* state);

}  // namespace klv
