#include "platform/gdi/text_geometry.h"

#include <algorithm>

namespace klv::gdi {

namespace {

// Floor division by 2 for an odd or even 64-bit number.
std::int64_t floor_half(std::int64_t value) { return value >= 0 ? value / 2 : -((1 - value) / 2); }

}  // namespace

WideRect LinePlacement::device_box(std::int64_t u0, std::int64_t v0, std::int64_t u1, std::int64_t v1) const {
    std::int64_t xa = origin_x + xu * u0 + xv * v0, ya = origin_y + yu * u0 + yv * v0;
    std::int64_t xb = origin_x + xu * u1 + xv * v1, yb = origin_y + yu * u1 + yv * v1;
    return {std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)};
}

void LinePlacement::text_pixel(std::int64_t x, std::int64_t y, std::int64_t& u, std::int64_t& v) const {
    // The inverse of a quarter turn is its transpose; work in half pixels
    // so that the device pixel's centre is a whole number.
    std::int64_t dx = 2 * (x - origin_x) + 1, dy = 2 * (y - origin_y) + 1;
    u = floor_half(xu * dx + yu * dy);
    v = floor_half(xv * dx + yv * dy);
}

void alignment_point(std::uint32_t flags, std::int64_t length, int ascent, int height, std::int64_t& u,
                     std::int64_t& v) {
    switch (flags & TA_HORIZONTAL_MASK) {
        case TA_RIGHT: u = length; break;
        case TA_CENTER: u = length / 2; break;
        default: u = 0; break;
    }
    switch (flags & TA_VERTICAL_MASK) {
        case TA_BASELINE: v = ascent; break;
        case TA_BOTTOM: v = height; break;
        default: v = 0; break;
    }
}

LinePlacement place_line(int quarter_turns, std::int64_t x, std::int64_t y, std::int64_t u, std::int64_t v) {
    LinePlacement p;
    switch (quarter_turns & 3) {
        case 1: p.xu = 0, p.xv = 1, p.yu = -1, p.yv = 0; break;   // upward, cell bottom to the right
        case 2: p.xu = -1, p.xv = 0, p.yu = 0, p.yv = -1; break;  // upside down
        case 3: p.xu = 0, p.xv = -1, p.yu = 1, p.yv = 0; break;   // downward
        default: break;
    }
    p.origin_x = x - (p.xu * u + p.xv * v);
    p.origin_y = y - (p.yu * u + p.yv * v);
    return p;
}

WideRect intersect(const WideRect& a, const Rect& b) {
    return {std::max<std::int64_t>(a.left, b.left), std::max<std::int64_t>(a.top, b.top),
            std::min<std::int64_t>(a.right, b.right), std::min<std::int64_t>(a.bottom, b.bottom)};
}

}  // namespace klv::gdi
