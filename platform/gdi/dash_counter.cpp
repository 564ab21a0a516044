#include "platform/gdi/dash_counter.h"

#include <algorithm>

namespace klv::gdi {

DashCounter::DashCounter(const std::vector<std::uint32_t>& entries) {
    count_ = int(std::min<std::size_t>(entries.size(), 16));
    for (int i = 0; i < count_; ++i) {
        entries_[std::size_t(i)] = entries[std::size_t(i)];
        period_ += entries[std::size_t(i)];
    }
    if (count_ % 2 == 1) period_ *= 2;
    reset();
}

void DashCounter::reset() {
    index_ = 0;
    left_ = count_ > 0 ? entries_[0] : 0;
    on_ = true;
}

void DashCounter::advance(std::uint64_t k) {
    if (count_ == 0 || period_ == 0) return;
    k %= period_;
    for (;;) {
        if (left_ > k) {
            left_ -= k;
            return;
        }
        k -= left_;
        index_ = (index_ + 1) % count_;
        left_ = entries_[std::size_t(index_)];
        on_ = !on_;
        if (k == 0) return;
    }
}

void DashCounter::finish_entry() {
    if (count_ == 0) return;
    index_ = (index_ + 1) % count_;
    left_ = entries_[std::size_t(index_)];
    on_ = !on_;
}

bool DashCounter::has_no_gaps(const std::vector<std::uint32_t>& entries) { return longest_gap(entries) == 0; }

std::uint64_t DashCounter::longest_gap(const std::vector<std::uint32_t>& entries) {
    bool odd = entries.size() % 2 == 1;
    std::uint64_t longest = 0;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (odd || i % 2 == 1) longest = std::max<std::uint64_t>(longest, entries[i]);
    return longest;
}

}  // namespace klv::gdi
