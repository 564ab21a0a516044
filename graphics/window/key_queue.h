// The bytes typed into a window, oldest first. The window thread appends,
// the caller's thread takes; each append or take is one locked step.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace klv {

class KeyQueue {
public:
    void append(std::uint8_t byte) {
        std::lock_guard lock(mutex_);
        bytes_.push_back(byte);
    }
    void append(std::uint8_t first, std::uint8_t second) {
        std::lock_guard lock(mutex_);
        bytes_.push_back(first);
        bytes_.push_back(second);
    }
    std::optional<std::uint8_t> take() {
        std::lock_guard lock(mutex_);
        if (bytes_.empty()) return std::nullopt;
        std::uint8_t byte = bytes_.front();
        bytes_.pop_front();
        return byte;
    }
    bool empty() const {
        std::lock_guard lock(mutex_);
        return bytes_.empty();
    }
    std::size_t size() const {
        std::lock_guard lock(mutex_);
        return bytes_.size();
    }

private:
    mutable std::mutex mutex_;
    std::deque<std::uint8_t> bytes_;
};

}  // namespace klv
