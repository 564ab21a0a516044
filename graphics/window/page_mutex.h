// The lock on a window's pages: a mutex whose waits can be bounded.
//
// Built on a plain mutex and a condition variable rather than
// std::timed_mutex, whose timed wait (pthread_mutex_clocklock) thread
// checkers of this compiler generation do not see take the lock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace klv {

class PageMutex {
public:
    void lock() {
        std::unique_lock guard(mutex_);
        released_.wait(guard, [this] { return !locked_; });
        locked_ = true;
    }
    bool try_lock() {
        std::lock_guard guard(mutex_);
        if (locked_) return false;
        locked_ = true;
        return true;
    }
    template <class Rep, class Period>
    bool try_lock_for(std::chrono::duration<Rep, Period> timeout) {
        std::unique_lock guard(mutex_);
        if (!released_.wait_for(guard, timeout, [this] { return !locked_; })) return false;
        locked_ = true;
        return true;
    }
    void unlock() {
        {
            std::lock_guard guard(mutex_);
            locked_ = false;
        }
        released_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool locked_ = false;
};

}  // namespace klv
