// Where a line of text lands on the device.
//
// Text is laid out in its own coordinates: u along the line from the start
// of the first cell, v across it from the top of the cell downward. A line
// turned by whole quarter turns counter-clockwise maps those to device
// pixels exactly; alignment flags name a point of the line in the same
// coordinates (left/centre/right along it, top/baseline/bottom across it),
// so they follow the line when it turns, as GDI's do.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace klv::gdi {

// A rectangle in 64-bit device pixels, right and bottom exclusive.
struct WideRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    bool is_empty() const { return left >= right || top >= bottom; }
};

// Device (x, y) of the text point (u, v) is origin + (xu*u + xv*v, yu*u + yv*v).
struct LinePlacement {
    std::int64_t origin_x = 0;
    std::int64_t origin_y = 0;
    int xu = 1, xv = 0, yu = 0, yv = 1;

    // The device pixels covered by the text rectangle [u0, u1) x [v0, v1).
    WideRect device_box(std::int64_t u0, std::int64_t v0, std::int64_t u1, std::int64_t v1) const;
    // The text pixel (u, v) whose square holds the centre of device pixel (x, y).
    void text_pixel(std::int64_t x, std::int64_t y, std::int64_t& u, std::int64_t& v) const;
};

// The text point the alignment flags name, for a line `length` long with a
// cell `ascent` above the baseline and `height` high.
void alignment_point(std::uint32_t flags, std::int64_t length, int ascent, int height, std::int64_t& u,
                     std::int64_t& v);

// The placement of a line turned by `quarter_turns` whose alignment point
// (u, v) is at device point (x, y).
LinePlacement place_line(int quarter_turns, std::int64_t x, std::int64_t y, std::int64_t u, std::int64_t v);

WideRect intersect(const WideRect& a, const Rect& b);

}  // namespace klv::gdi
