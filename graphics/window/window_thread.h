// The window thread: it creates the window and its pages, then runs the
// window's message loop until the window is closed.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "graphics/window/window_state.h"

namespace klv {

// What open_window waits for: the window exists, or its thread has ended.
struct WindowCreation {
    std::mutex mutex;
    std::condition_variable changed;
    bool created = false;
    bool thread_ended = false;

    void mark_created();
    void mark_thread_ended();
    // True when the window was created, false when the thread ended first.
    bool wait();
};

// Outer size of a window whose client area is width by height.
gdi::Size outer_window_size(int width, int height, bool has_title);

void window_thread_main(WindowState* state, std::shared_ptr<WindowCreation> creation);

}  // namespace klv
