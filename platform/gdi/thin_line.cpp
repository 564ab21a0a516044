#include "platform/gdi/thin_line.h"

#include <algorithm>

namespace klv::gdi {

namespace {

std::int64_t abs64(std::int64_t v) { return v < 0 ? -v : v; }

// Steps k with lo <= start + step * k <= hi, as [first, past).
void cut_linear(std::int64_t start, int step, std::int64_t lo, std::int64_t hi, std::int64_t& first,
                std::int64_t& past) {
    if (step > 0) {
        first = std::max(first, lo - start);
        past = std::min(past, hi - start + 1);
    } else {
        first = std::max(first, start - hi);
        past = std::min(past, start - lo + 1);
    }
}

}  // namespace

SlopedWalk::SlopedWalk(const Canvas& canvas, DevicePoint a, DevicePoint b, std::int64_t count)
    : canvas_(canvas), a_(a) {
    std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    step_x_ = dx < 0 ? -1 : 1;
    step_y_ = dy < 0 ? -1 : 1;
    x_major_ = abs64(dx) > abs64(dy);
    major_ = x_major_ ? abs64(dx) : abs64(dy);
    minor_ = x_major_ ? abs64(dy) : abs64(dx);
    bias_ = (x_major_ ? dy < 0 : dx < 0) ? 1 : 0;
    first_ = 0;
    past_ = count;
    if (canvas.empty()) {
        past_ = 0;
        return;
    }
    if (canvas.contains(a.x, a.y) && canvas.contains(b.x, b.y)) return;  // nothing to cut
    if ((a.x < canvas.left && b.x < canvas.left) || (a.x >= canvas.right && b.x >= canvas.right) ||
        (a.y < canvas.top && b.y < canvas.top) || (a.y >= canvas.bottom && b.y >= canvas.bottom)) {
        past_ = 0;  // wholly beyond one edge
        return;
    }
    // The major axis is linear in k.
    if (x_major_)
        cut_linear(a.x, step_x_, canvas.left, canvas.right - 1, first_, past_);
    else
        cut_linear(a.y, step_y_, canvas.top, canvas.bottom - 1, first_, past_);
    // The minor offset j(k) is monotonic: find the steps whose j lies in range.
    std::int64_t start = x_major_ ? a.y : a.x;
    int step = x_major_ ? step_y_ : step_x_;
    std::int64_t lo = x_major_ ? canvas.top : canvas.left;
    std::int64_t hi = (x_major_ ? canvas.bottom : canvas.right) - 1;
    __int128 j_lo = step > 0 ? __int128(lo) - start : __int128(start) - hi;
    __int128 j_hi = step > 0 ? __int128(hi) - start : __int128(start) - lo;
    if (j_hi < 0 || j_lo > minor_) {
        past_ = first_;
        return;
    }
    first_ = std::max(first_, min_step_reaching(j_lo));
    if (j_hi < minor_) past_ = std::min(past_, min_step_reaching(j_hi + 1));
}

// The smallest k >= 0 with j(k) >= offset (offset <= m + 1).
std::int64_t SlopedWalk::min_step_reaching(__int128 offset) const {
    if (offset <= 0) return 0;
    __int128 top = 2 * __int128(major_) * offset - major_ + 1 - bias_;
    __int128 den = 2 * __int128(minor_);
    if (top <= 0) return 0;
    return std::int64_t((top + den - 1) / den);
}

void paint_thin_line(const Canvas& canvas, Pixel color, DevicePoint a, DevicePoint b, bool include_end) {
    if (a == b || canvas.empty()) return;
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1) {
        // One step, as an outline's pixels are joined: the start point, and
        // the end point too when it is diagonal and the end is included.
        with_pen_pixels(canvas, color, [&](auto&& put) {
            if (canvas.contains(a.x, a.y)) put(canvas.row(a.y) + a.x);
            if (include_end && dx != 0 && dy != 0 && canvas.contains(b.x, b.y)) put(canvas.row(b.y) + b.x);
        });
        return;
    }
    if (a.y == b.y) {
        if (a.x < b.x)
            canvas.pen_span(a.y, a.x, b.x, color);
        else
            canvas.pen_span(a.y, b.x + 1, a.x + 1, color);
        return;
    }
    if (a.x == b.x) {
        if (a.x < canvas.left || a.x >= canvas.right) return;
        std::int64_t y0 = a.y < b.y ? a.y : b.y + 1;
        std::int64_t y1 = a.y < b.y ? b.y : a.y + 1;
        y0 = std::max(y0, canvas.top);
        y1 = std::min(y1, canvas.bottom);
        with_pen_pixels(canvas, color, [&](auto&& put) {
            for (std::int64_t y = y0; y < y1; ++y) put(canvas.row(y) + a.x);
        });
        return;
    }
    std::int64_t major = std::max(abs64(b.x - a.x), abs64(b.y - a.y));
    SlopedWalk walk(canvas, a, b, include_end ? major + 1 : major);
    with_pen_pixels(canvas, color, [&](auto&& put) { walk.walk(put); });
}

}  // namespace klv::gdi
