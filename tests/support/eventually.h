// Waiting for something another thread or process does, with a deadline.
#pragma once

#include <chrono>
#include <thread>

namespace klv::test {

// True once condition() holds; false when it still does not at the deadline.
// The condition is the event waited for; the pause between looks only paces
// the polling.
template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds deadline = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // pacing, not ordering
    }
    return true;
}

}  // namespace klv::test
