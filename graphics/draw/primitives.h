// Lines, rectangle outlines, filled bars, pie slices and 3-D bars, and the
// geometry the shapes share.
#pragma once

#include "graphics/klv.h"

#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace klv {

// A 64-bit value kept within the 32-bit range.
inline int saturate(std::int64_t value) {
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : int(value);
}

// The point at angle degrees (counter-clockwise, y up) on the circle:
// (x + trunc(r cos a), y - trunc(r sin a)), kept within the 32-bit range.
gdi::Point point_on_circle(int x, int y, int angle, int radius);
gdi::Point point_on_ellipse(int x, int y, int angle, int x_radius, int y_radius);
// The box of the ellipse: (x - rx, y - ry) to (x + rx, y + ry), kept within
// the 32-bit range.
gdi::Rect ellipse_box(int x, int y, int x_radius, int y_radius);

// The area a shape between two corners covers, right and bottom exclusive,
// whichever corner is the larger.
gdi::Rect covering_rect(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);

}  // namespace klv

