// The lock on a window's pages: a mutex whose waits can be bounded.
//
// Drawing calls take it once per call, millions of times a second, so the
// way in is one atomic compare-and-swap and the way out a plain release
// store. A thread that finds it taken waits on a condition variable (a plain
// mutex and condition variable rather than std::timed_mutex, whose timed
// wait, pthread_mutex_clocklock, thread checkers of this compiler
// generation do not see take the lock). The release wakes waiters it sees;
// one it cannot see yet (it counted itself just as the lock was released)
// looks again after at most one poll interval, so no wait outlasts the lock
// by more than that.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace klv {

class PageMutex {
public:
    static constexpr std::chrono::milliseconds poll_interval{1};

    bool try_lock() {
        bool expected = false;
        return locked_.compare_exchange_strong(expected, true, std::memory_order_acquire,
                                               std::memory_order_relaxed);
    }
    void lock() {
        while (!try_lock_for(std::chrono::hours(1))) {
        }
    }
    template <class Rep, class Period>
    bool try_lock_for(std::chrono::duration<Rep, Period> timeout) {
        if (try_lock()) return true;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::unique_lock guard(mutex_);
        waiters_.fetch_add(1);
        bool taken = false;
        for (;;) {
            if ((taken = try_lock())) break;
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) break;
            released_.wait_for(guard, std::min<std::chrono::steady_clock::duration>(deadline - now, poll_interval));
        }
        waiters_.fetch_sub(1);
        return taken;
    }
    // With no one waiting the release is the last touch of this object. With
    // waiters it happens under the inner mutex together with the wake-up, and
    // the destructor takes that mutex: the thread that takes the lock next may
    // free the window while this one is still inside unlock().
    void unlock() {
        if (waiters_.load(std::memory_order_acquire) == 0) {
            locked_.store(false, std::memory_order_release);
            return;
        }
        std::lock_guard guard(mutex_);
        locked_.store(false, std::memory_order_release);
        released_.notify_all();
    }
    PageMutex() = default;
    PageMutex(const PageMutex&) = delete;
    PageMutex& operator=(const PageMutex&) = delete;
    ~PageMutex() { std::lock_guard guard(mutex_); }

private:
    std::atomic<bool> locked_{false};
    std::atomic<int> waiters_{0};
    std::mutex mutex_;
    std::condition_variable released_;
};

}  // namespace klv
