// A movable memory block referred to by handle, not by pointer: whoever
// reads or writes it locks it for that time and unlocks it afterwards. While
// it is not locked the block may move (grow); a pointer from lock() is valid
// only until the matching unlock().
#pragma once

#include <cstddef>
#include <cstdint>

namespace klv {

class DibHandle {
public:
    DibHandle() = default;  // no block: "none"
    ~DibHandle();
    DibHandle(DibHandle&& other) noexcept;
    DibHandle& operator=(DibHandle&& other) noexcept;
    DibHandle(const DibHandle&) = delete;
    DibHandle& operator=(const DibHandle&) = delete;

    // A zero-filled block of the given size; none when it cannot be had.
    static DibHandle allocate(std::size_t bytes);

    // Grows or shrinks the block to the given size; bytes beyond the old size
    // are zero. Fails (false, block unchanged) while the block is locked or
    // when the memory cannot be had.
    bool reallocate(std::size_t bytes);

    // The block's address, valid until unlock(); null when there is no block.
    // Locks nest: every successful lock() needs its own unlock().
    std::uint8_t* lock();
    void unlock();
    int lock_count() const { return locks_; }

    // Releases the block; the handle then holds none. Nothing happens while
    // it is locked (false).
    bool release();

    std::size_t size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    int locks_ = 0;
};

// Locks a block for one scope.
class DibLock {
public:
    explicit DibLock(DibHandle& handle) : handle_(handle), data_(handle.lock()) {}
    ~DibLock() {
        if (data_ != nullptr) handle_.unlock();
    }
    DibLock(const DibLock&) = delete;
    DibLock& operator=(const DibLock&) = delete;
    std::uint8_t* data() const { return data_; }

private:
    DibHandle& handle_;
    std::uint8_t* data_;
};

}  // namespace klv
