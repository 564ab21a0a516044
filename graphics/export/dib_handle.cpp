#include "graphics/export/dib_handle.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace klv {

DibHandle::~DibHandle() { std::free(data_); }

DibHandle::DibHandle(DibHandle&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      locks_(std::exchange(other.locks_, 0)) {}

DibHandle& DibHandle::operator=(DibHandle&& other) noexcept {
    if (this != &other) {
        std::free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        locks_ = std::exchange(other.locks_, 0);
    }
    return *this;
}

DibHandle DibHandle::allocate(std::size_t bytes) {
    DibHandle handle;
    if (bytes == 0) return handle;
    handle.data_ = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    if (handle.data_ != nullptr) handle.size_ = bytes;
    return handle;
}

bool DibHandle::reallocate(std::size_t bytes) {
    if (data_ == nullptr || locks_ > 0 || bytes == 0) return false;
    auto* grown = static_cast<std::uint8_t*>(std::realloc(data_, bytes));
    if (grown == nullptr) return false;
    if (bytes > size_) std::memset(grown + size_, 0, bytes - size_);
    data_ = grown;
    size_ = bytes;
    return true;
}

std::uint8_t* DibHandle::lock() {
    if (data_ == nullptr) return nullptr;
    ++locks_;
    return data_;
}

void DibHandle::unlock() {
    if (locks_ > 0) --locks_;
}

bool DibHandle::release() {
    if (locks_ > 0) return false;
    std::free(std::exchange(data_, nullptr));
    size_ = 0;
    return true;
}

}  // namespace klv
