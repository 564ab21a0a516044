// Lines, rectangle outlines, filled bars and pie slices.
#pragma once

#include "graphics/klv.h"

#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace klv {

// The point at angle degrees (counter-clockwise, y up) on the circle.
gdi::Point point_on_circle(int x, int y, int angle, int radius);

// The area a shape between two corners covers, right and bottom exclusive,
// whichever corner is the larger.
gdi::Rect covering_rect(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);

}  // namespace klv

