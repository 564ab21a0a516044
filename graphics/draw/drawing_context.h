// Finding the current window, locking its pages and refreshing what was
// drawn: the steps every drawing operation shares.
#pragma once

#include "graphics/klv.h"
#include "graphics/window/window_state.h"

namespace klv {

// How long a drawing operation waits for the window's pages.
constexpr int page_lock_timeout_ms = 5000;
// The value last_error takes when a setter refuses its arguments.
constexpr std::int32_t invalid_argument_error = KLV_ERROR_BAD_ARGUMENT;

// With a window: the record in its user data (null before it is attached).
// With null: the current window's record; when there is none, shows "Drawing
// operation was attempted when there was no current window." and ends the
// program with status 0.
WindowState* current_window_state(ui::Window* window);

// Ends the program with status 0 through the normal exit path (exit
// handlers and static destructors run). Calls into the library that other
// threads make meanwhile wait for the end instead of reaching state that the
// exit is taking down.
[[noreturn]] void end_program();

// Waits up to five seconds for the window's mutex and returns the active
// page's device context. Returns null when the lock was not obtained: the
// caller then draws nothing and releases nothing.
gdi::DeviceContext* acquire_page_dc(ui::Window* window);
void release_page_dc(ui::Window* window);

// Converts rect (logical, right and bottom exclusive) to device coordinates in
// place and invalidates it when the active page is shown; null: the whole
// window.
void refresh_window(gdi::Rect* rect);

// The lock on a window's pages for one step, released at the end of scope.
class PageLock {
public:
    explicit PageLock(WindowState* state);
    ~PageLock();
    PageLock(const PageLock&) = delete;
    PageLock& operator=(const PageLock&) = delete;
    bool locked() const { return locked_; }
    gdi::DeviceContext* active_dc() const;

private:
    WindowState* state_;
    bool locked_;
};

}  // namespace klv
