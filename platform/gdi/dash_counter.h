// The dash counter of a user-style geometric pen. Entries alternate on and
// off, starting with on; on/off flips at every entry change, so an odd list
// is walked twice per period with the roles swapped ({3} acts as {3,3}).
// The counter is reset at the start of every drawing call.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace klv::gdi {

class DashCounter {
public:
    explicit DashCounter(const std::vector<std::uint32_t>& entries);

    void reset();
    bool on() const { return on_; }
    std::uint64_t left() const { return left_; }  // pixels left in the current entry
    // Moves k pixels on: k is first taken modulo the period; the test "does
    // the current entry outlast k" runs at least once, so advancing by 0
    // while on an entry of length 0 steps past exactly that entry.
    void advance(std::uint64_t k);

    // Moves to the next entry, as a run that uses up the current one does
    // (without the modulo, which would leave a run of a whole period where it is).
    void finish_entry();

    // True when no entry that is ever "off" has a length: such a pen has no
    // gaps and is drawn as a solid pen.
    static bool has_no_gaps(const std::vector<std::uint32_t>& entries);
    // The longest entry that is ever "off".
    static std::uint64_t longest_gap(const std::vector<std::uint32_t>& entries);

private:
    std::array<std::uint64_t, 16> entries_{};
    int count_ = 0;
    std::uint64_t period_ = 0;
    int index_ = 0;
    std::uint64_t left_ = 0;
    bool on_ = true;
};

}  // namespace klv::gdi
