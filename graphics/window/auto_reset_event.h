// An event that releases one waiter and then clears itself, as the window
// runtime's wake-up signals need.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace klv {

class AutoResetEvent {
public:
    void signal() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        condition_.notify_one();
    }
    void reset() {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }
    void wait() {
        std::unique_lock lock(mutex_);
        ++waiting_;
        condition_.wait(lock, [this] { return signalled_; });
        --waiting_;
        signalled_ = false;
    }
    // True when signalled within the time; the signal is then consumed.
    bool wait_for(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!condition_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
        signalled_ = false;
        return true;
    }
    bool is_signalled() {
        std::lock_guard lock(mutex_);
        return signalled_;
    }
    // The threads blocked in wait(): a signal from now on releases one.
    int waiting() {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

private:
    std::mutex mutex_;
    std::condition_variable condition_;
    bool signalled_ = false;
    int waiting_ = 0;
};

}  // namespace klv
