// When the frames of a recording begin: times are counted in hundredths of a
// second from the start of the recording (a GIF's unit of delay), rounded to
// the nearest, and a frame begins at least two hundredths after the one
// before (at most 50 frames a second). Delays are differences of these
// rounded times, so they add up to the recording's length without drift.
#pragma once

#include <chrono>
#include <cstdint>

namespace klv {

class FrameTimeline {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::int64_t shortest_frame = 2;  // hundredths of a second

    explicit FrameTimeline(Clock::time_point start) : start_(start) {}

    // The hundredth of a second that time t falls in.
    std::int64_t tick(Clock::time_point t) const {
        using namespace std::chrono;
        return (duration_cast<microseconds>(t - start_).count() + 5000) / 10000;
    }
    // Whether a picture shown at t may begin a new frame.
    bool may_begin_frame(Clock::time_point t) const { return tick(t) >= frame_tick_ + shortest_frame; }
    // The earliest time a new frame may begin.
    Clock::time_point next_frame_time() const {
        return start_ + std::chrono::microseconds((frame_tick_ + shortest_frame) * 10000 - 5000);
    }
    // Begins a frame at t; returns the delay of the frame it ends.
    std::int64_t begin_frame(Clock::time_point t) {
        const std::int64_t now = tick(t), delay = now - frame_tick_;
        frame_tick_ = now;
        return delay;
    }
    // How long the current frame has lasted at t, at least one hundredth.
    std::int64_t frame_length(Clock::time_point t) const {
        const std::int64_t length = tick(t) - frame_tick_;
        return length > 0 ? length : 1;
    }

private:
    Clock::time_point start_;
    std::int64_t frame_tick_ = 0;
};

}  // namespace klv
