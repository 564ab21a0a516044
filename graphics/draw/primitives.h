// Lines, rectangle outlines, filled bars and pie slices.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace klv {

// The point at angle degrees (counter-clockwise, y up) on the circle.
gdi::Point point_on_circle(int x, int y, int angle, int radius);

// The area a shape between two corners covers, right and bottom exclusive,
// whichever corner is the larger.
gdi::Rect covering_rect(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);

}  // namespace klv

extern "C" {
void draw_line(int x1, int y1, int x2, int y2);
void draw_rectangle(int left, int top, int right, int bottom);
void fill_bar(int left, int top, int right, int bottom);
void draw_pie_slice(int x, int y, int start_angle, int end_angle, int radius);
}
