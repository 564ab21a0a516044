// What a thread's message loop sleeps on: a wake-up that other threads
// trigger, together with the desktop's own input for the thread (the X
// connection's descriptor on Linux, the thread's USER32 queue on Windows).
// Internal to platform/ui.
#pragma once

#include <cstdint>

namespace klv::ui {

class ThreadWake {
public:
    ThreadWake();
    ~ThreadWake();
    ThreadWake(const ThreadWake&) = delete;
    ThreadWake& operator=(const ThreadWake&) = delete;

    // From any thread.
    void wake();
    // Returns once woken, once `display_fd` is readable (-1: none), once the
    // desktop has input for the calling thread, once `ready_fd` (-1: none; a
    // dialog program's answer) is readable, or after `timeout_ms`. True when
    // `ready_fd` is readable.
    bool wait(int display_fd, int timeout_ms, int ready_fd = -1);

private:
    std::intptr_t handle_ = -1;
};

}  // namespace klv::ui
