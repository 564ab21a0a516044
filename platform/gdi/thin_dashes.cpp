#include "platform/gdi/thin_dashes.h"

#include <algorithm>

#include "platform/gdi/thin_line.h"

namespace klv::gdi {

namespace {

// Axis-aligned: offsets t = 0 .. length-1 from a along direction dir.
// Offsets before the visible ones are skipped with one advance, so a huge
// run costs no more than its visible part.
void dashed_run(const Canvas& canvas, Pixel color, DevicePoint a, std::int64_t length, int dir, bool horizontal,
                DashCounter& counter) {
    std::int64_t fixed = horizontal ? a.y : a.x;
    std::int64_t start = horizontal ? a.x : a.y;
    std::int64_t lo = horizontal ? canvas.left : canvas.top;
    std::int64_t hi = (horizontal ? canvas.right : canvas.bottom) - 1;
    bool line_visible = horizontal ? fixed >= canvas.top && fixed < canvas.bottom
                                   : fixed >= canvas.left && fixed < canvas.right;
    std::int64_t first = dir > 0 ? lo - start : start - hi;  // visible offsets [first, past)
    std::int64_t past = dir > 0 ? hi - start + 1 : start - lo + 1;
    first = std::max<std::int64_t>(first, 0);
    past = std::min(past, length);
    if (!line_visible || first >= past) {
        counter.advance(std::uint64_t(length));
        return;
    }
    std::int64_t t = 0;
    if (first > 0) {
        counter.advance(std::uint64_t(first));
        t = first;
    }
    while (t < past) {
        std::int64_t c = std::int64_t(std::min(counter.left(), std::uint64_t(past - t)));
        if (counter.on() && c > 0) {
            if (horizontal) {
                const std::int64_t x0 = dir > 0 ? start + t : start - (t + c - 1);
                canvas.pen_run(fixed, x0, x0 + c, color);
            } else {
                with_pen_pixels(canvas, color, [&](auto&& put) {
                    for (std::int64_t s = t; s < t + c; ++s) put(canvas.row(start + dir * s) + fixed);
                });
            }
        }
        // A run that uses up the entry moves to the next one, an empty entry included.
        if (std::uint64_t(c) == counter.left())
            counter.finish_entry();
        else
            counter.advance(std::uint64_t(c));
        t += c;
    }
    if (length > past) counter.advance(std::uint64_t(length - past));
}

}  // namespace

void paint_dashed_thin_segment(const Canvas& canvas, Pixel color, DevicePoint a, DevicePoint b,
                               DashCounter& counter) {
    if (a == b) return;
    if (a.y == b.y || a.x == b.x) {
        bool horizontal = a.y == b.y;
        std::int64_t d = horizontal ? b.x - a.x : b.y - a.y;
        dashed_run(canvas, color, a, d < 0 ? -d : d, d < 0 ? -1 : 1, horizontal, counter);
        return;
    }
    std::int64_t major = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    SlopedWalk walk(canvas, a, b, major);
    if (walk.first() >= walk.past()) {
        counter.advance(std::uint64_t(major));
        return;
    }
    // Only whole pixels move the counter: an advance by 0 would step past an
    // empty entry that the first pixel is meant to take.
    if (walk.first() > 0) counter.advance(std::uint64_t(walk.first()));
    with_pen_pixels(canvas, color, [&](auto&& put) {
        walk.walk([&](Pixel* p) {
            if (counter.on()) put(p);
            counter.advance(1);
        });
    });
    if (major > walk.past()) counter.advance(std::uint64_t(major - walk.past()));
}

}  // namespace klv::gdi
