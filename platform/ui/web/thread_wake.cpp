// In a web page the wake-up is a counter in shared memory that the waiting
// thread sleeps on (a futex): the page's own thread, handing over the DOM's
// events, and other threads bump it and wake the sleeper. There is no
// display descriptor and no dialog program to watch.
#include "platform/ui/thread_wake.h"

#include <emscripten/threading.h>

#include <atomic>
#include <cmath>

namespace klv::ui {

namespace {

std::atomic<std::uint32_t>* counter(std::intptr_t handle) {
    return reinterpret_cast<std::atomic<std::uint32_t>*>(handle);
}

}  // namespace

ThreadWake::ThreadWake() : handle_(reinterpret_cast<std::intptr_t>(new std::atomic<std::uint32_t>(0))) {}

ThreadWake::~ThreadWake() { delete counter(handle_); }

void ThreadWake::wake() {
    counter(handle_)->fetch_add(1);
    emscripten_futex_wake(counter(handle_), 1);
}

bool ThreadWake::wait(int, int timeout_ms, int) {
    auto* c = counter(handle_);
    const std::uint32_t seen = c->exchange(0);
    if (seen != 0) return false;  // woken since the last wait
    emscripten_futex_wait(c, 0, timeout_ms < 0 ? INFINITY : double(timeout_ms));
    c->store(0);
    return false;
}

}  // namespace klv::ui
