// One-pixel lines. Axis-aligned runs go from the start point up to but not
// including the end point. Sloped lines are Bresenham walks with GDI's tie
// rule: after k major steps the minor offset is
//   j(k) = floor((2 k m + M - 1 + b) / (2 M)),
// M and m the major and minor extents, b = 1 exactly when the minor
// coordinate decreases. So an exact half rounds toward the end point when
// the minor coordinate decreases and toward the start otherwise, and a line
// drawn backwards sets the same interior pixels.
//
// Clipping only discards pixels of the unclipped walk: the walk starts at the
// first visible step, computed directly, so the cost is bounded by the
// pixels that land on the canvas whatever the coordinates.
#pragma once

#include <cstdint>

#include "platform/gdi/canvas.h"

namespace klv::gdi {

class SlopedWalk {
public:
    // Steps k = 0 .. count-1 of the walk from a toward b (a != b, not
    // axis-aligned).
    SlopedWalk(const Canvas& canvas, DevicePoint a, DevicePoint b, std::int64_t count);

    // The visible steps [first, past); first >= past when none are.
    std::int64_t first() const { return first_; }
    std::int64_t past() const { return past_; }
    std::int64_t major_length() const { return major_; }

    // Calls visit(pixel pointer) for each visible step, in walk order.
    template <typename Visit>
    void walk(Visit&& visit) const;

private:
    std::int64_t min_step_reaching(__int128 minor_offset) const;

    const Canvas& canvas_;
    DevicePoint a_;
    std::int64_t major_ = 0, minor_ = 0;  // M and m
    int bias_ = 0;                        // b
    bool x_major_ = false;
    int step_x_ = 1, step_y_ = 1;
    std::int64_t first_ = 0, past_ = 0;
};

template <typename Visit>
void SlopedWalk::walk(Visit&& visit) const {
    if (first_ >= past_) return;
    std::int64_t j = 0, remainder = major_ - 1 + bias_;  // j(0) = 0
    if (first_ > 0) {
        const __int128 two_m = 2 * __int128(major_);
        __int128 numerator = 2 * __int128(first_) * minor_ + major_ - 1 + bias_;
        j = std::int64_t(numerator / two_m);
        remainder = std::int64_t(numerator % two_m);
    }
    const std::int64_t major_step = x_major_ ? step_x_ : step_y_ * canvas_.stride;
    const std::int64_t minor_step = x_major_ ? step_y_ * canvas_.stride : step_x_;
    std::int64_t x = a_.x + (x_major_ ? step_x_ * first_ : step_x_ * j);
    std::int64_t y = a_.y + (x_major_ ? step_y_ * j : step_y_ * first_);
    Pixel* p = canvas_.row(y) + x;
    const std::int64_t two_major = 2 * major_, two_minor = 2 * minor_;
    for (std::int64_t k = first_; k < past_; ++k) {
        visit(p);
        remainder += two_minor;
        if (remainder >= two_major) {
            remainder -= two_major;
            p += minor_step;
        }
        p += major_step;
    }
}

// A solid one-pixel line from a to b. include_end paints the end point of a
// sloped line (solid geometric pens do; cosmetic pens do not). Axis-aligned
// lines never include it; a zero-length line paints nothing.
void paint_thin_line(const Canvas& canvas, Pixel color, DevicePoint a, DevicePoint b, bool include_end);

}  // namespace klv::gdi
